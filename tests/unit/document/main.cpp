#include <QGuiApplication>

#include <gtest/gtest.h>

// The clipboard and the drawing surfaces need a running application; the offscreen platform
// keeps the clipboard within this process.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
