#pragma once

#include "platform/framework/CWnd.h"

// A modal dialog built from a dialog template. OK (IDOK) and Enter end it with IDOK; Cancel,
// Esc and the close box with IDCANCEL.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Shows the dialog and returns how it ended, or -1 when it could not be built.
    virtual std::intptr_t DoModal();
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);

    DECLARE_MESSAGE_MAP()

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
