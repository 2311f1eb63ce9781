#pragma once

// Qt forms of the resource tables, for the framework's own sources.

#include "platform/framework/Resources.h"

#include <QIcon>
#include <QKeySequence>
#include <QString>

// The icon of an icon resource in all its sizes; null when the id is unknown.
QIcon AfxLoadIcon(UINT nID);
// The key of an accelerator entry; empty when the key has no Qt equivalent.
QKeySequence AfxAccelKey(const ACCEL& accel);
// A toolbar button's image: the theme's icon when the theme has it, the program's otherwise.
QIcon AfxButtonIcon(const AFX_TOOLBAR_BUTTON& button);
// The status prompt and the tooltip of a command, from its string.
QString AfxCommandPrompt(UINT nID);
QString AfxCommandTip(UINT nID);
