#pragma once

// A test aid for programs driven from outside under X, where status texts, tooltips and menus
// cannot be read off the screen. Given a file name, the program appends to that file, one line
// each, what it shows there:
//   status: TEXT             the status bar's message pane, whenever it changes
//   panes: [TEXT] [TEXT]...  the status bar's key-state panes, whenever one changes
//   pane: ID|TEXT            a pane of the program's own, by id, whenever it changes
//   tooltip: TEXT            a tooltip that stays up
//   menu: TITLE|ITEM|...     a menu's items as it opens (separators as "-")
//   grayed: TITLE|ITEM|...   then those of its items that are grayed
//   view: X Y W H            the main window's view, in screen coordinates
//   bar: TITLE|X Y W H       a toolbar
//   button: ID|X Y           the centre of a toolbar button, by command id
//   painted                  once, when the main window is first painted
//   scroll: H V              the view's scroll bars' values, whenever one changes
// The geometry lines are written again whenever the main window moves or changes size.
// A null or empty name does nothing. Call it before the framework starts.
void AfxStartShownTextLog(const char* lpszPath);
