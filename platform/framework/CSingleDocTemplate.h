#pragma once

#include "platform/framework/CDocTemplate.h"

// A template for one document at a time: New and Open reuse the one document, frame and view.
class CSingleDocTemplate : public CDocTemplate {
public:
    CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                       const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(const char* lpszPathName, bool bMakeVisible = true) override;
    bool SaveAllModified() override;
    void CloseAllDocuments() override;
    CDocument* GetOnlyDocument() const override { return m_pOnlyDoc; }
    CFrameWnd* GetFrame() const { return m_pFrame; }

private:
    CDocument* m_pOnlyDoc = nullptr;
    CFrameWnd* m_pFrame = nullptr;
};
