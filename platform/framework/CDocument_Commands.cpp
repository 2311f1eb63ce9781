#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/Resources.h"

#include <filesystem>
#include <system_error>

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

bool CDocument::SaveModified() {
    if (!IsModified())
        return true;
    const std::string name = m_strPathName.empty()
                                 ? m_strTitle
                                 : std::filesystem::path(m_strPathName).filename().string();
    switch (AfxMessageBox("Save changes to " + name + "?", MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        return true;
    }
}

bool CDocument::DoFileSave() {
    if (m_bAskBeforeReplacing && !m_strPathName.empty()) {
        std::string text = AfxLoadString(AFX_IDS_RECOVERY_REPLACE);
        const std::string name = std::filesystem::path(m_strPathName).filename().string();
        if (const auto at = text.find("%1"); at != std::string::npos)
            text.replace(at, 2, name);
        switch (AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDYES:
            break;
        case IDNO:
            return DoSave(std::string());
        default:
            return false;
        }
    }
    return DoSave(m_strPathName);
}

bool CDocument::DoSave(const std::string& pathName, bool bReplace) {
    std::string newName = pathName;
    if (newName.empty()) {
        newName = m_strPathName.empty() ? m_strTitle : m_strPathName;
        if (!AfxDoPromptFileName(newName, false))
            return false;
    }
    if (!OnSaveDocument(newName))
        return false;
    if (bReplace) {
        SetPathName(newName);
        m_bAskBeforeReplacing = false;
    }
    return true;
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(std::string());
}

void CDocument::SetPathName(const std::string& pathName, bool bAddToMRU) {
    if (pathName.empty()) {
        m_strPathName.clear();
        return;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(pathName, error);
    if (error)
        absolute = pathName;
    m_strPathName = absolute.lexically_normal().string();
    SetTitle(absolute.filename().string());
    if (bAddToMRU) {
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
    }
}

void CDocument::SetTitle(const std::string& title) {
    m_strTitle = title;
    for (CView* view : m_views) {
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle();
    }
}
