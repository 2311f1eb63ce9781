#pragma once

#include "platform/framework/CCmdTarget.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CRecoveryKeeper;
class CWnd;
class QPrinter;

// The application: the one global object of a program. It runs start-up, owns the document
// templates, the per-user settings and the recent-file list, and is the last stop of command
// routing.
class CWinApp : public CCmdTarget {
public:
    // With no name the application is named by string AFX_IDS_APP_TITLE.
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual bool InitInstance();
    // Writes the settings back and gives the process's exit status.
    virtual int ExitInstance();

    void SetRegistryKey(const char* lpszRegistryKey);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void AddDocTemplate(CDocTemplate* pTemplate);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    bool ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    CDocument* OpenDocumentFile(const char* lpszFileName);

    // The recent-file list, most recent first, absolute paths.
    void AddToRecentFileList(const std::string& pathName);
    void RemoveFromRecentFileList(const std::string& pathName);
    const std::vector<std::string>& GetRecentFiles() const { return m_recentFiles; }

    // Settings in the store under the company key and application name.
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* lpszDefault = "");
    bool WriteProfileString(const char* section, const char* entry, const std::string& value);
    int GetProfileInt(const char* section, const char* entry, int nDefault);
    bool WriteProfileInt(const char* section, const char* entry, int nValue);

    // The framework's command handlers.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    bool OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    // Asks to save every modified document; false when the user cancelled.
    bool SaveAllModified();
    // Destroys every document, frame and view; the templates stay.
    void CloseAllDocuments();

    // Keeps a recovery copy of a document with unsaved changes under the user's state folder,
    // and offers the copies of programs that ended without warning at the next start, before
    // the command line is carried out.
    void EnableRecoveryCopies();
    CRecoveryKeeper* GetRecoveryKeeper() const { return m_pRecoveryKeeper.get(); }
    // The program ends normally: its copy goes. Destroyed any other way (exit() called while
    // the message loop runs), the application leaves its copy for the next start.
    void EndRecoveryCopies();

    // The printer that Print Setup chose; Print and Print Preview start from it.
    QPrinter* GetPrinter();
    // Forgets the printer; it must go before the Qt application does.
    void ReleasePrinter();

    CWnd* m_pMainWnd = nullptr;
    std::string m_strAppName;
    std::string m_strRegistryKey;
    int m_nCmdShow = 10; // SW_SHOWDEFAULT
    // The command line after the program's name.
    std::vector<std::string> m_arguments;

    DECLARE_MESSAGE_MAP()

private:
    std::vector<CDocTemplate*> m_templates;
    std::vector<std::string> m_recentFiles;
    UINT m_nMaxMRU = 0;
    QPrinter* m_pPrinter = nullptr;
    std::unique_ptr<CRecoveryKeeper> m_pRecoveryKeeper;

    // Offers each left-over copy in turn; true when one was recovered into the document.
    bool OfferRecoveryCopies();
    void ShowRecoveryState(bool bKept);

    void LoadRecentFileList();
    void SaveRecentFileList();
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The application's recovery keeper; null when it keeps no copies.
CRecoveryKeeper* AfxGetRecoveryKeeper();

// The program's entry: creates the Qt application, runs InitInstance, the event loop and
// ExitInstance. A failed InitInstance ends the process with status 1.
int AfxWinMain(int argc, char** argv);

// Tests answer the Open and Save As dialogs without showing them: while a hook is set it is
// asked instead of the user, with the dialog's kind and the proposed name, and returns false
// for Cancel or true with the chosen path.
using FileDialogHook = std::function<bool(bool bOpen, std::string& pathName)>;
void SetFileDialogHook(FileDialogHook hook);
// Shows the Open (bOpen) or Save As dialog; false when cancelled.
bool AfxDoPromptFileName(std::string& pathName, bool bOpen);
