#include "TestApp.h"

#include "platform/framework/ShownTextLog.h"

#include <cstdlib>

namespace {

CTestApp theApp;

} // namespace

int main(int argc, char** argv) {
    // The end-to-end test cannot read texts off the screen: with FRAMEWORK_APP_LOG set, the
    // program writes the status texts, panes and tooltips it shows to that file.
    AfxStartShownTextLog(std::getenv("FRAMEWORK_APP_LOG"));
    return AfxWinMain(argc, argv);
}
