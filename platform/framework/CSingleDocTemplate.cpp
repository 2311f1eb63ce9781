#include "platform/framework/CSingleDocTemplate.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                       const CRuntimeClass* pFrameClass,
                                       const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    CloseAllDocuments();
}

void CSingleDocTemplate::CloseAllDocuments() {
    // The frame takes its view with it; the document goes last, when no view shows it.
    delete m_pFrame;
    m_pFrame = nullptr;
    delete m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
}

bool CSingleDocTemplate::SaveAllModified() {
    return m_pOnlyDoc == nullptr || m_pOnlyDoc->SaveModified();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* lpszPathName, bool bMakeVisible) {
    CDocument* document = m_pOnlyDoc;
    bool bCreated = false;
    if (document != nullptr) {
        // New and Open reuse the one document, frame and view.
        if (!document->SaveModified())
            return nullptr;
    } else {
        document = CreateNewDocument();
        if (document == nullptr)
            return nullptr;
        CFrameWnd* frame = CreateNewFrame(document);
        if (frame == nullptr) {
            delete document;
            return nullptr;
        }
        m_pOnlyDoc = document;
        m_pFrame = frame;
        bCreated = true;
        CWinApp* app = AfxGetApp();
        if (app != nullptr && app->m_pMainWnd == nullptr)
            app->m_pMainWnd = frame;
    }

    if (lpszPathName == nullptr) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            if (bCreated)
                CloseAllDocuments();
            return nullptr;
        }
        document->SetPathName(std::string(), false);
        SetDefaultTitle(document);
    } else {
        // The flag tells what a failed open did: the document clears it once the file is
        // open and its contents are emptied, and leaves it alone when the file cannot be
        // opened at all.
        const bool wasModified = document->IsModified();
        document->SetModifiedFlag(true);
        if (!document->OnOpenDocument(lpszPathName)) {
            // The user has been told what failed.
            if (bCreated) {
                CloseAllDocuments();
                return nullptr;
            }
            if (document->IsModified()) {
                document->SetModifiedFlag(wasModified);
                return nullptr;
            }
            // Emptied part way: it is a new, unnamed document now, so that Save cannot put
            // the empty drawing over the file it was read from.
            document->SetPathName(std::string(), false);
            document->OnNewDocument();
            SetDefaultTitle(document);
            if (m_pFrame != nullptr)
                InitialUpdateFrame(m_pFrame, document, bMakeVisible);
            return nullptr;
        }
        document->SetPathName(lpszPathName);
    }
    if (m_pFrame != nullptr)
        InitialUpdateFrame(m_pFrame, document, bMakeVisible);
    return document;
}
