#pragma once

#include <optional>

// Carries out what the command line asks beyond starting the window: help, the version, writing
// a drawing to a file, and telling of a command line that is wrong. None of these needs a
// display, and none creates the windowing application. Returns the exit status when the
// command line was such a request, or nothing when the window is to start.
std::optional<int> RunCommandLineTool(int argc, char** argv);
