#include "platform/framework/AfxRunHeadless.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/GuardedCall.h"
#include "platform/framework/internal/ReplacingFile.h"

#include <QGuiApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string ProgramName(const char* argv0) {
    const std::string path = argv0 != nullptr ? argv0 : "";
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.empty() ? "swoop2" : name;
}

// Nobody is there to answer: a question takes the answer that does nothing.
int AnswerUnasked(UINT nType) {
    switch (nType & 0xF) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

QtMessageHandler g_previousHandler = nullptr;

// Qt's remarks while it starts on the offscreen platform (a runtime folder it would like, a
// setting it did not find) are about the desktop, which work without a window does not use;
// errors still pass.
void StartUpMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        g_previousHandler(type, context, message);
}

} // namespace

int AfxRunHeadless(int argc, char** argv, const std::function<int()>& work) {
    AfxIgnoreFileSizeSignal();
    const std::string program = ProgramName(argc > 0 ? argv[0] : nullptr);
    SetMessageBoxHook([&program](const std::string& text, UINT nType) {
        std::string line = text;
        for (char& c : line) {
            if (c == '\n' || c == '\r')
                c = ' ';
        }
        std::fprintf(stderr, "%s: %s\n", program.c_str(), line.c_str());
        std::fflush(stderr);
        return AnswerUnasked(nType);
    });

    // Only the program's name goes to Qt: the platform is ours to choose here, and the
    // command line has already been read.
    char platformOption[] = "-platform";
    char platformName[] = "offscreen";
    std::string argv0 = argc > 0 && argv[0] != nullptr ? argv[0] : program;
    std::vector<char*> args{argv0.data(), platformOption, platformName, nullptr};
    int qtArgc = 3;
    int status = 1;
    {
        g_previousHandler = qInstallMessageHandler(StartUpMessageHandler);
        QGuiApplication qtApp(qtArgc, args.data());
        qInstallMessageHandler(g_previousHandler);
        if (CWinApp* app = AfxGetApp(); app != nullptr && !app->m_strAppName.empty())
            QGuiApplication::setApplicationName(QString::fromStdString(app->m_strAppName));
        AfxCallGuarded([&] { status = work(); });
    }
    SetMessageBoxHook({});
    return status;
}
