#include "TestDoc.h"

#include "TestIds.h"

#include "platform/framework/CArchive.h"

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
ON_COMMAND(ID_EDIT_PASTE, &CTestDoc::OnEditPaste)
END_MESSAGE_MAP()

bool CTestDoc::OnNewDocument() {
    return CDocument::OnNewDocument();
}

void CTestDoc::DeleteContents() {
    m_values.clear();
}

void CTestDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << std::int32_t(m_values.size());
        for (std::int32_t v : m_values)
            ar << v;
        return;
    }
    std::int32_t count = 0;
    ar >> count;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t v = 0;
        ar >> v;
        m_values.push_back(v);
    }
}

void CTestDoc::OnEditPaste() {
    ++m_nPastes;
    m_values.push_back(m_nPastes * 10);
    UpdateAllViews(nullptr);
}
