#pragma once

// Hands the command line to the framework and runs the program; returns the exit status.
int RunSwoop2(int argc, char** argv);
