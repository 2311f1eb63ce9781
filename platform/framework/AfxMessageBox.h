#pragma once

#include "platform/Types.h"

#include <functional>
#include <string>

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONSTOP = 0x10;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal message box captioned with the application's title and returns the button
// chosen (IDOK, IDCANCEL, IDYES or IDNO).
int AfxMessageBox(const std::string& text, UINT nType = MB_OK, UINT nIDHelp = 0);

// Tests answer message boxes without showing them: while a hook is set, it receives every
// message instead of the user and returns the button. An empty hook restores the real boxes.
using MessageBoxHook = std::function<int(const std::string& text, UINT nType)>;
void SetMessageBoxHook(MessageBoxHook hook);
