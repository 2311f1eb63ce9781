#pragma once

// Names what the program can still do when no window can be opened, for the one line that
// start-up prints then, after the program's name and the cause: for example "-o exports a
// drawing without a display".
void AfxSetNoDisplayHint(const char* hint);
