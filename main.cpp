#include "app/Startup.h"

int main(int argc, char** argv) {
    return RunSwoop2(argc, argv);
}
