#include "platform/framework/CWinApp.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CCommandLineInfo.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CRecoveryKeeper.h"
#include "platform/framework/GuardedCall.h"
#include "platform/framework/Resources.h"
#include "platform/framework/internal/DeferredIconStyle.h"
#include "platform/framework/internal/DisplayOpening.h"
#include "platform/framework/internal/ReplacingFile.h"
#include "platform/framework/internal/StartUpWarmUp.h"

#include <QApplication>
#include <QPrinter>
#include <QScopeGuard>

#include <exception>
#include <optional>

namespace {
CWinApp* g_pApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CWinApp::OnOpenRecentFile)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* lpszAppName) {
    if (lpszAppName != nullptr)
        m_strAppName = lpszAppName;
    g_pApp = this;
}

CWinApp::~CWinApp() {
    CloseAllDocuments();
    for (CDocTemplate* pTemplate : m_templates)
        delete pTemplate;
    m_templates.clear();
    ReleasePrinter();
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

bool CWinApp::InitInstance() {
    if (m_strAppName.empty())
        m_strAppName = AfxLoadString(AFX_IDS_APP_TITLE);
    return true;
}

int CWinApp::ExitInstance() {
    SaveRecentFileList();
    return 0;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate != nullptr)
        m_templates.push_back(pTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    bool options = true;
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        const std::string& arg = m_arguments[i];
        const bool last = i + 1 == m_arguments.size();
        if (options && arg == "--") {
            options = false;
            continue;
        }
        if (options && arg.size() > 1 && arg[0] == '-') {
            rCmdInfo.ParseParam(arg.c_str() + 1, true, last);
            continue;
        }
        rCmdInfo.ParseParam(arg.c_str(), false, last);
    }
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    // Work that an earlier run left unsaved is offered before anything opens; a file named on
    // the command line then opens as File > Open would, asking first about the recovered
    // drawing, whose window stays whatever becomes of the file.
    if (rCmdInfo.m_nShellCommand != CCommandLineInfo::FileNothing && OfferRecoveryCopies()) {
        if (rCmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen)
            OpenDocumentFile(rCmdInfo.m_strFileName.c_str());
        return m_pMainWnd != nullptr;
    }
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName.c_str()) != nullptr;
    case CCommandLineInfo::FileNothing:
        return true;
    }
    return false;
}

CDocument* CWinApp::OpenDocumentFile(const char* lpszFileName) {
    if (m_templates.empty())
        return nullptr;
    return m_templates.front()->OpenDocumentFile(lpszFileName);
}

void CWinApp::OnFileNew() {
    if (m_templates.empty())
        return;
    m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    std::string path;
    if (!AfxDoPromptFileName(path, true))
        return;
    OpenDocumentFile(path.c_str());
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd == nullptr)
        return;
    AFX_MSGARGS args;
    m_pMainWnd->SendMessage(WM_CLOSE, args);
}

bool CWinApp::SaveAllModified() {
    for (CDocTemplate* pTemplate : m_templates) {
        if (!pTemplate->SaveAllModified())
            return false;
    }
    return true;
}

void CWinApp::CloseAllDocuments() {
    for (CDocTemplate* pTemplate : m_templates)
        pTemplate->CloseAllDocuments();
    m_pMainWnd = nullptr;
}

QPrinter* CWinApp::GetPrinter() {
    if (m_pPrinter == nullptr)
        m_pPrinter = new QPrinter(QPrinter::HighResolution);
    return m_pPrinter;
}

void CWinApp::ReleasePrinter() {
    delete m_pPrinter;
    m_pPrinter = nullptr;
}

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    AfxIgnoreFileSizeSignal();
    std::optional<StartUpWarmUp> warmUp(std::in_place);
    std::optional<DisplayOpening> opening(std::in_place, argc > 0 ? argv[0] : nullptr);
    QApplication qtApp(argc, argv);
    opening.reset();
    warmUp->ApplicationMade();
    QApplication::setStyle(new DeferredIconStyle);
    // The warm-up's threads have long finished when the program ends, but they are over before
    // the application object goes, however this ends.
    const auto endWarmUp = qScopeGuard([&warmUp] { warmUp.reset(); });
    if (app->m_strAppName.empty())
        app->m_strAppName = AfxLoadString(AFX_IDS_APP_TITLE);
    QApplication::setApplicationName(QString::fromStdString(app->m_strAppName));
    // No display name: Qt would add it to the desktop's caption of every window whose title
    // does not end with it, and a floating toolbar would read "Main — Swoop2".
    app->m_arguments.clear();
    for (int i = 1; i < argc; ++i)
        app->m_arguments.emplace_back(argv[i]);

    bool started = false;
    AfxCallGuarded([&] { started = app->InitInstance(); });
    if (!started) {
        app->CloseAllDocuments();
        app->EndRecoveryCopies();
        app->ReleasePrinter();
        return 1;
    }
    const int loop = QApplication::exec();
    int status = loop;
    AfxCallGuarded([&] { status = app->ExitInstance(); });
    // Windows and the printer go before the Qt application does.
    app->CloseAllDocuments();
    app->EndRecoveryCopies();
    app->ReleasePrinter();
    return status != 0 ? status : loop;
}
