// The document's contents half joins the build separately; until it does, this stands in with
// the least that lets the windows and commands be built and tested: no file contents.
#if !__has_include("platform/framework/CDocument.cpp")

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"

#include <algorithm>
#include <fstream>

CDocument::~CDocument() {
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_bModified = false;
    return true;
}

void CDocument::DeleteContents() {}

void CDocument::Serialize(CArchive&) {}

bool CDocument::OnOpenDocument(const std::string& pathName) {
    std::ifstream file(pathName, std::ios::binary);
    if (!file) {
        AfxMessageBox("Cannot open " + pathName + ".", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    DeleteContents();
    m_bModified = false;
    // The contents arrive with the archive; a file this stand-in cannot read is one whose
    // name says so, which lets the commands' handling of a failed read be tested.
    if (pathName.find("unreadable") != std::string::npos) {
        AfxMessageBox("Cannot read " + pathName + ".", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CDocument::OnSaveDocument(const std::string& pathName) {
    std::ofstream file(pathName, std::ios::binary | std::ios::trunc);
    if (!file) {
        AfxMessageBox("Cannot save " + pathName + ".", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_bModified = false;
    return true;
}

void CDocument::AddView(CView* pView) {
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, std::intptr_t lHint, void* pHint) {
    for (CView* view : m_views) {
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
    }
}

#endif
