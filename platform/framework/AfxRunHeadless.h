#pragma once

#include <functional>

// Runs work that shows no window, such as writing a drawing to a file from the command line,
// where there may be no display at all. Qt runs on its offscreen platform whatever the
// environment names, so nothing waits for or aborts on a missing display. Message boxes become
// one line each on standard error, after the program's name. Returns what work returns; a
// framework exception that escapes work is reported the same way and gives 1.
int AfxRunHeadless(int argc, char** argv, const std::function<int()>& work);
