#include "TestApp.h"

#include "TestDoc.h"
#include "TestFrame.h"
#include "TestIds.h"
#include "TestView.h"
#include "platform/framework/CCommandLineInfo.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CSingleDocTemplate.h"

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, &CTestApp::OnAppAbout)
ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

bool CTestApp::InitInstance() {
    RegisterTestResources();
    CWinApp::InitInstance();
    SetRegistryKey("Framework Tests");
    LoadStdProfileSettings(4);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTestDoc),
                                          RUNTIME_CLASS(CTestFrame), RUNTIME_CLASS(CTestView)));
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return false;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return true;
}

void CTestApp::OnAppAbout() {
    ++m_nAbouts;
    if (!m_bShowAbout)
        return;
    CDialog about(IDD_ABOUTBOX);
    about.DoModal();
}
