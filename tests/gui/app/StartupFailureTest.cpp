// A start-up that fails ends the whole program with status 1, not 0: run through the
// framework's entry as the program itself does, with the data-transfer service failing.

#include "app/CSwoop2App.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/ole/AfxOleInit.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int, char** argv) {
    CSwoop2App app;
    std::vector<std::string> messages;
    SetMessageBoxHook([&](const std::string& text, UINT) {
        messages.push_back(text);
        return IDOK;
    });
    SetOleInitFailureForTesting(true);
    char* args[] = {argv[0], nullptr};
    const int status = AfxWinMain(1, args);
    SetMessageBoxHook({});
    if (status != 1) {
        std::printf("FAIL: exit status %d, expected 1\n", status);
        return 1;
    }
    if (messages != std::vector<std::string>{"AfxOleInit failed"}) {
        std::printf("FAIL: %zu messages, expected only \"AfxOleInit failed\"\n", messages.size());
        return 1;
    }
    if (app.m_pMainWnd != nullptr) {
        std::printf("FAIL: a main window was made\n");
        return 1;
    }
    std::printf("PASS\n");
    return 0;
}
