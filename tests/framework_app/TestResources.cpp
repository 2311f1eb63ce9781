#include "TestIds.h"
#include "framework_app/Images.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/Resources.h"

namespace {

const AFX_STRING_RESOURCE kStrings[] = {
    {IDR_MAINFRAME, "FwTest\n\nFwTest\n\n\nFwTest.Document\nFwTest.Document"},
    {AFX_IDS_APP_TITLE, "FwTest"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_PRINT, "Print the active document\nPrint"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    {AFX_IDS_PREVIEW_CLOSE, "Close print preview mode\nCancel Preview"},
    {ID_FILE_MRU_FILE1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 2, "Open this document"},
    {ID_FILE_MRU_FILE1 + 3, "Open this document"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    {ID_EDIT_UNDO, "Undo the last action\nUndo"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_TEST_EXHAUST, "Use up all memory\nExhaust"},
};

const AFX_MENU_ITEM kMenu[] = {
    {MF_POPUP, 0, "&File"},
    {MF_STRING, ID_FILE_NEW, "&New\tCtrl+N"},
    {MF_STRING, ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {MF_STRING, ID_FILE_SAVE, "&Save\tCtrl+S"},
    {MF_STRING, ID_FILE_SAVE_AS, "Save &As..."},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_FILE_PRINT, "&Print...\tCtrl+P"},
    {MF_STRING, ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
    {MF_STRING, ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    {MF_SEPARATOR, 0, nullptr},
    {MF_GRAYED, ID_FILE_MRU_FILE1, "Recent File"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_APP_EXIT, "E&xit"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&Edit"},
    {MF_STRING, ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {MF_STRING, ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {MF_STRING, ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    {MF_STRING, ID_TEST_EXHAUST, "&Exhaust"},
    {MF_STRING, ID_TEST_LOCKED, "&Locked"},
    {MF_STRING, ID_TEST_ORPHAN, "&Orphan"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&Tools"},
    {MF_STRING, ID_TOOL_LINE, "&Line "},
    {MF_CHECKED, ID_TOOL_DOT, "&Dot"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&View"},
    {MF_STRING, ID_VIEW_TOOLBAR, "&Toolbar"},
    {MF_STRING, ID_VIEW_STATUS_BAR, "&Status Bar"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&Help"},
    {MF_STRING, ID_APP_ABOUT, "&About FwTest..."},
    {MF_END, 0, nullptr},
};

const ACCEL kAccels[] = {
    {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},       {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
    {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},      {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},
    {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},      {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE},
    {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},      {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
    {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE}, {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {FVIRTKEY | FCONTROL, 'L', ID_TEST_LOCKED},
};

const AFX_TOOLBAR_BUTTON kMainButtons[] = {
    {ID_FILE_NEW, "document-new", &kPageImage},
    {ID_FILE_OPEN, "document-open", &kPageImage},
    {ID_FILE_SAVE, "document-save", &kPageImage},
    {ID_SEPARATOR, nullptr, nullptr},
    {ID_EDIT_COPY, "edit-copy", &kPageImage},
    {ID_EDIT_PASTE, "edit-paste", &kPageImage},
    {ID_SEPARATOR, nullptr, nullptr},
    {ID_FILE_PRINT, "document-print", &kPageImage},
    {ID_APP_ABOUT, "help-about", &kPageImage},
};
const AFX_TOOLBAR_BUTTON kToolButtons[] = {
    {ID_TOOL_LINE, nullptr, &kLineImage},
    {ID_TOOL_DOT, nullptr, &kDotImage},
};
const AFX_TOOLBAR_RESOURCE kToolBars[] = {
    {IDR_MAINFRAME, 16, 15, kMainButtons, std::size(kMainButtons)},
    {IDR_TOOLS, 16, 15, kToolButtons, std::size(kToolButtons)},
};

const AFX_IMAGE* const kIconImages[] = {&kDotImage, &kLineImage};
const AFX_ICON_RESOURCE kIcons[] = {{IDR_MAINFRAME, kIconImages, std::size(kIconImages)}};

const AFX_DIALOG_ITEM kAboutItems[] = {
    {"STATIC", WS_CHILD | WS_VISIBLE | SS_ICON, 11, 17, 20, 20, -1, nullptr, IDR_MAINFRAME},
    {"STATIC", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX, 40, 10, 119, 8, -1,
     "FwTest Version 1.0", 0},
    {"STATIC", WS_CHILD | WS_VISIBLE | WS_GROUP, 40, 25, 119, 8, -1, "A framework test", 0},
    {"BUTTON", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 178, 7, 50, 16, 1,
     "OK", 0},
};
const AFX_DIALOG_RESOURCE kDialogs[] = {
    {IDD_ABOUTBOX, "About FwTest",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS, 0, 0, 235, 55,
     "MS Shell Dlg", 8, kAboutItems, std::size(kAboutItems)},
};

const AFX_MENU_RESOURCE kMenus[] = {{IDR_MAINFRAME, kMenu, std::size(kMenu)}};
const AFX_ACCEL_RESOURCE kAccelTables[] = {{IDR_MAINFRAME, kAccels, std::size(kAccels)}};

AFX_RESOURCES Table() {
    AFX_RESOURCES r;
    r.strings = kStrings;
    r.menus = kMenus;
    r.accels = kAccelTables;
    r.toolBars = kToolBars;
    r.icons = kIcons;
    r.dialogs = kDialogs;
    return r;
}

} // namespace

void RegisterTestResources() {
    static const AfxResourceRegistration registration(Table());
}
