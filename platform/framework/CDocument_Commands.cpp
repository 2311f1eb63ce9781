#include "platform/framework/CDocument.h"

// Stand-in until the document's commands arrive: saving through the commands does nothing.
bool CDocument::SaveModified() {
    return true;
}

bool CDocument::DoSave(const std::string& pathName, bool) {
    return !pathName.empty() && OnSaveDocument(pathName);
}

bool CDocument::DoFileSave() {
    return DoSave(m_strPathName);
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {}

void CDocument::SetPathName(const std::string& pathName, bool) {
    m_strPathName = pathName;
}

void CDocument::SetTitle(const std::string& title) {
    m_strTitle = title;
}
