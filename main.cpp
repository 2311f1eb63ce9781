#include "app/CSwoop2App.h"
#include "app/CommandLineTool.h"
#include "platform/framework/AfxDesktopEntry.h"
#include "platform/framework/AfxNoDisplay.h"
#include "platform/framework/ShownTextLog.h"

#include <cstdlib>

// The one application object.
CSwoop2App theApp;

int main(int argc, char** argv) {
    // Help, the version and writing a drawing to a file need no display: they end here, before
    // any windowing starts.
    if (const std::optional<int> status = RunCommandLineTool(argc, argv))
        return *status;
    AfxSetNoDisplayHint("-o exports a drawing without a display (see --help)");
    // Desktops find the program's name and icon through its desktop entry, swoop2.desktop.
    AfxSetDesktopFileName("swoop2");
    // The end-to-end tests read what the program shows from this file.
    AfxStartShownTextLog(std::getenv("SWOOP2_SHOWN_TEXT_LOG"));
    return AfxWinMain(argc, argv);
}
