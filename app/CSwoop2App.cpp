#include "app/CSwoop2App.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/Resource.h"
#include "app/Swoop2Resources.h"
#include "document/CSwoop2Doc.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CCommandLineInfo.h"
#include "platform/framework/CSingleDocTemplate.h"
#include "platform/ole/AfxOleInit.h"
#include "view/CSwoop2View.h"

#include <new>

BEGIN_MESSAGE_MAP(CSwoop2App, CWinApp)
ON_COMMAND(ID_APP_ABOUT, &CSwoop2App::OnAppAbout)
ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

// No name of its own: the framework names the application after string AFX_IDS_APP_TITLE, so the
// strings must be there before the framework starts.
CSwoop2App::CSwoop2App() {
    RegisterSwoop2Resources();
}

CSwoop2App::~CSwoop2App() = default;

bool CSwoop2App::InitInstance() {
    // Qt's widgets need no control classes registered before the first window, so start-up
    // begins with the framework's own initialisation.
    CWinApp::InitInstance();

    if (!AfxOleInit()) {
        AfxMessageBox("AfxOleInit failed", MB_OK, 0);
        return false;
    }

    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);
    // Unsaved work survives a crash or a power cut.
    EnableRecoveryCopies();

    auto* pDocTemplate = new (std::nothrow)
        CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CSwoop2Doc), RUNTIME_CLASS(CMainFrame),
                           RUNTIME_CLASS(CSwoop2View));
    if (pDocTemplate == nullptr)
        return false;
    AddDocTemplate(pDocTemplate);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return false;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return true;
}

void CSwoop2App::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
