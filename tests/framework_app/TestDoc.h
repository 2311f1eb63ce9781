#pragma once

#include "platform/framework/CDocument.h"
#include "platform/framework/CRuntimeClass.h"

#include <cstdint>
#include <vector>

// A document of numbers, stored as a count and 32-bit values.
class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    bool OnNewDocument() override;
    void DeleteContents() override;
    void Serialize(CArchive& ar) override;

    void OnEditPaste();

    std::vector<std::int32_t> m_values;
    int m_nPastes = 0;

    DECLARE_MESSAGE_MAP()
};
