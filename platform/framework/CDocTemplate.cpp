#include "platform/framework/CDocTemplate.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/Resources.h"

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                           const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {}

bool CDocTemplate::GetDocString(std::string& rString, DocStringIndex index) const {
    std::string text;
    if (!AfxLoadString(m_nIDResource, text))
        return false;
    rString = AfxExtractSubString(text, int(index));
    return !rString.empty();
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    std::string title;
    if (!GetDocString(title, docName))
        title = "Untitled";
    pDocument->SetTitle(title);
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (m_pDocClass == nullptr)
        return nullptr;
    auto* document = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
    if (document != nullptr)
        document->m_pDocTemplate = this;
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDocument) {
    if (m_pFrameClass == nullptr)
        return nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (frame == nullptr)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentDoc = pDocument;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument*, bool bMakeVisible) {
    if (CView* view = pFrame->GetActiveView())
        view->OnInitialUpdate();
    pFrame->OnUpdateFrameTitle();
    if (bMakeVisible)
        pFrame->ShowWindow(SW_SHOW);
}
