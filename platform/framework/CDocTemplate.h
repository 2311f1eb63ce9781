#pragma once

#include "platform/framework/CCmdTarget.h"

#include <string>

class CDocument;
class CFrameWnd;

// Binds a document class to the frame and view classes that show it, with the resources of
// one id: menu, accelerators, icon and the document string.
class CDocTemplate : public CCmdTarget {
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);

    bool GetDocString(std::string& rString, DocStringIndex index) const;
    UINT GetResourceID() const { return m_nIDResource; }

    // Opens the named file, or makes a new document when the name is null. Null when that
    // failed; the user has been told why.
    virtual CDocument* OpenDocumentFile(const char* lpszPathName, bool bMakeVisible = true) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument);
    virtual bool SaveAllModified() = 0;
    virtual void CloseAllDocuments() = 0;
    virtual CDocument* GetOnlyDocument() const = 0;
    // A document of the template's class with no frame, view or file: the caller owns it.
    CDocument* CreateNewDocument();

protected:
    CFrameWnd* CreateNewFrame(CDocument* pDocument);
    void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDocument, bool bMakeVisible);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};
