#include "app/CommandLineTool.h"

#include "app/CommandLine.h"
#include "app/DrawingExporter.h"
#include "app/Version.h"
#include "platform/framework/AfxRunHeadless.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage: swoop2 [FILE]\n"
    "       swoop2 -o OUTPUT [--export-type TYPE] [--export-area X0:Y0:X1:Y1] FILE\n";

constexpr const char* kHelp =
    "\n"
    "Draws smooth curves through the points you place. With no FILE, starts with a new\n"
    "drawing; with FILE, opens that drawing.\n"
    "\n"
    "Options:\n"
    "  -h, --help                     show this help and exit\n"
    "      --version                  show the program's name and version and exit\n"
    "  -o, --export-filename OUTPUT   write the drawing FILE to OUTPUT, without a window\n"
    "      --export-type TYPE         png, svg or pdf; by default OUTPUT's extension says\n"
    "      --export-area X0:Y0:X1:Y1  the part of the drawing to write, in pixels, X1 and Y1\n"
    "                                 excluded; by default the drawing's extent and a margin\n"
    "  --                             ends the options: what follows is a file name\n"
    "\n"
    "Qt's own options, such as -platform and -style, apply to the window.\n"
    "The exit status is 0 on success and 1 when the command line is wrong, a file cannot\n"
    "be read or written, or the window finds no display. See swoop2(1).\n";

} // namespace

std::optional<int> RunCommandLineTool(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i] != nullptr ? argv[i] : "");
    const CommandLine commandLine = CommandLine::Parse(args);

    switch (commandLine.m_action) {
    case CommandLine::Action::OpenWindow:
        return std::nullopt;
    case CommandLine::Action::ShowHelp:
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case CommandLine::Action::ShowVersion:
        std::printf("Swoop2 %s\n", kSwoop2Version);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case CommandLine::Action::Misuse:
        std::fprintf(stderr, "swoop2: %s\n", commandLine.m_strError.c_str());
        std::fputs(kUsage, stderr);
        std::fputs("Try 'swoop2 --help' for more information.\n", stderr);
        return 1;
    case CommandLine::Action::Export:
        return AfxRunHeadless(argc, argv, [&] { return DrawingExporter::Run(commandLine); });
    }
    return 1;
}
