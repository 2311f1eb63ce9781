#pragma once

#include "platform/framework/CWinApp.h"

void RegisterTestResources();

class CTestApp : public CWinApp {
public:
    bool InitInstance() override;
    void OnAppAbout();

    int m_nAbouts = 0;
    bool m_bShowAbout = true;

    DECLARE_MESSAGE_MAP()
};
