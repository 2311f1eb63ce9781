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
        const bool wasModified = document->IsModified();
        document->SetModifiedFlag(false);
        if (!document->OnOpenDocument(lpszPathName)) {
            // The user has been told what failed.
            if (bCreated) {
                CloseAllDocuments();
                return nullptr;
            }
            if (!document->IsModified()) {
                // The file could not be opened at all: the document is as it was.
                document->SetModifiedFlag(wasModified);
            } else {
                // Reading failed part way and emptied the document: it is a new one now.
                SetDefaultTitle(document);
                document->SetPathName(std::string(), false);
                SetDefaultTitle(document);
                document->OnNewDocument();
                if (m_pFrame != nullptr)
                    InitialUpdateFrame(m_pFrame, document, bMakeVisible);
            }
            return nullptr;
        }
        document->SetPathName(lpszPathName);
    }
    if (m_pFrame != nullptr)
        InitialUpdateFrame(m_pFrame, document, bMakeVisible);
    return document;
}
