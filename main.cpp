#include "app/CSwoop2App.h"
#include "platform/framework/ShownTextLog.h"

#include <cstdlib>

// The one application object.
CSwoop2App theApp;

int main(int argc, char** argv) {
    // The end-to-end tests read what the program shows from this file.
    AfxStartShownTextLog(std::getenv("SWOOP2_SHOWN_TEXT_LOG"));
    return AfxWinMain(argc, argv);
}
