#pragma once

#include "platform/framework/CWinApp.h"

// The application: starts the program, opens the one document with its frame and view, and
// shows the About box. There is one, the global object in main.cpp.
class CSwoop2App : public CWinApp {
public:
    CSwoop2App();
    ~CSwoop2App() override;

    bool InitInstance() override;

    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
