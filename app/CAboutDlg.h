#pragma once

#include "platform/framework/CDialog.h"

// The About box, built from its dialog template. OK, Enter, Esc and the close box all end it
// through the framework's defaults.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    DECLARE_MESSAGE_MAP()
};
