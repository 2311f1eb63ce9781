#include "app/Startup.h"

#include <cstdio>

int RunSwoop2(int, char**) {
    // The main window arrives with the application framework; until then the program names
    // itself so that a build can be checked from the command line.
    std::puts("Swoop2 1.0.0.1");
    return 0;
}
