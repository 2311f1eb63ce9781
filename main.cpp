#include "app/CSwoop2App.h"

// The one application object.
CSwoop2App theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
