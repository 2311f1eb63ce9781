#pragma once

// Registers the program's resources (strings, menu, accelerators, toolbars, icons and the About
// box) with the framework. Safe to call more than once; the first call does the work.
void RegisterSwoop2Resources();
