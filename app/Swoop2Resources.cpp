#include "app/Swoop2Resources.h"

#include "app/Resource.h"
#include "app/resources/Images.h"
#include "platform/framework/Resources.h"

#include <iterator>

namespace {

// Every string of the program. Before "\n": the status-bar prompt; after it: the tooltip.
const AFX_STRING_RESOURCE kStrings[] = {
    {IDR_MAINFRAME, "Swoop2\n\nSwoop2\n\n\nSwoop2.Document\nSwoop2.Document"},
    {AFX_IDS_APP_TITLE, "Swoop2"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_CLOSE, "Close the active document\nClose"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_EXPORT, "Write the drawing as a PNG image, an SVG image or a PDF document\nExport"},
    {ID_FILE_PAGE_SETUP, "Change the printing options\nPage Setup"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    {ID_FILE_PRINT, "Print the active document\nPrint"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    {ID_FILE_MRU_FILE1 + 0, "Open this document"},
    {ID_FILE_MRU_FILE1 + 1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 2, "Open this document"},
    {ID_FILE_MRU_FILE1 + 3, "Open this document"},
    {ID_FILE_MRU_FILE1 + 4, "Open this document"},
    {ID_FILE_MRU_FILE1 + 5, "Open this document"},
    {ID_FILE_MRU_FILE1 + 6, "Open this document"},
    {ID_FILE_MRU_FILE1 + 7, "Open this document"},
    {ID_FILE_MRU_FILE1 + 8, "Open this document"},
    {ID_FILE_MRU_FILE1 + 9, "Open this document"},
    {ID_FILE_MRU_FILE1 + 10, "Open this document"},
    {ID_FILE_MRU_FILE1 + 11, "Open this document"},
    {ID_FILE_MRU_FILE1 + 12, "Open this document"},
    {ID_FILE_MRU_FILE1 + 13, "Open this document"},
    {ID_FILE_MRU_FILE1 + 14, "Open this document"},
    {ID_FILE_MRU_FILE16, "Open this document"},
    {ID_EDIT_CLEAR, "Erase the selection\nErase"},
    {ID_EDIT_CLEAR_ALL, "Erase everything\nErase All"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_FIND, "Find the specified text\nFind"},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    {ID_EDIT_REPEAT, "Repeat the last action\nRepeat"},
    {ID_EDIT_REPLACE, "Replace specific text with different text\nReplace"},
    {ID_EDIT_SELECT_ALL, "Select the entire document\nSelect All"},
    {ID_EDIT_UNDO, "Undo the last action\nUndo"},
    {ID_EDIT_REDO, "Redo the previously undone action\nRedo"},
    {ID_WINDOW_SPLIT, "Split the active window into panes\nSplit"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
    {ID_INDICATOR_EXT, "EXT"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_INDICATOR_OVR, "OVR"},
    {ID_INDICATOR_REC, "REC"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_CURVES_SELECT, "Select a curve to reshape, move or copy it\nSelect"},
    {ID_CURVES_DRAW, "Draw a curve through the points you click; a right click closes it\nDraw"},
    // The panes' texts set their widths: the widest zoom, and a typical place.
    {ID_INDICATOR_POSITION, "-00000, -00000"},
    {ID_INDICATOR_ZOOM, "6400%"},
    {ID_VIEW_ZOOM_IN, "Enlarge the view of the drawing\nZoom In"},
    {ID_VIEW_ZOOM_OUT, "Reduce the view of the drawing\nZoom Out"},
    {ID_VIEW_ACTUAL_SIZE, "Show the drawing at its actual size from its origin\nActual Size"},
    {ID_VIEW_FIT_DRAWING, "Show the whole drawing in the window\nFit Drawing"},
    {ID_ARRANGE_BRING_TO_FRONT,
     "Bring the selection in front of every other curve\nBring to Front"},
    {ID_ARRANGE_BRING_FORWARD, "Bring the selection forward one curve\nBring Forward"},
    {ID_ARRANGE_SEND_BACKWARD, "Send the selection back one curve\nSend Backward"},
    {ID_ARRANGE_SEND_TO_BACK, "Send the selection behind every other curve\nSend to Back"},
    // The window menu's prompts. The window manager owns that menu here; they stay as data.
    {0xEF00, "Change the window size"},
    {0xEF01, "Change the window position"},
    {0xEF02, "Reduce the window to an icon"},
    {0xEF03, "Enlarge the window to full size"},
    {0xEF04, "Switch to the next document window"},
    {0xEF05, "Switch to the previous document window"},
    {0xEF06, "Close the active window and prompts to save the documents"},
    {0xEF12, "Restore the window to normal size"},
    {0xEF13, "Activate Task List"},
    {AFX_IDS_PREVIEW_CLOSE, "Close print preview mode\nCancel Preview"},
    {AFX_IDS_RECOVERY_OFFER,
     "Changes to %1 were not saved when Swoop2 last ended.\nRecover the copy kept at %2?"},
    {AFX_IDS_RECOVERY_FAILED, "Recovery copies cannot be kept: save your changes"},
    {AFX_IDS_RECOVERY_OFFER_UNTITLED,
     "Changes to Untitled (curves: %3) were not saved when Swoop2 last ended.\nRecover the copy "
     "kept at %2?"},
    {AFX_IDS_RECOVERY_FILE_CHANGED, "\n%1 has changed on the disk since the copy was kept."},
    {AFX_IDS_RECOVERY_REPLACE,
     "%1 has changed on the disk since the recovery copy was kept.\nReplace it with this "
     "drawing?"},
};

const AFX_MENU_ITEM kMenu[] = {
    {MF_POPUP, 0, "&File"},
    {MF_STRING, ID_FILE_NEW, "&New\tCtrl+N"},
    {MF_STRING, ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {MF_STRING, ID_FILE_SAVE, "&Save\tCtrl+S"},
    {MF_STRING, ID_FILE_SAVE_AS, "Save &As..."},
    {MF_STRING, ID_FILE_EXPORT, "&Export...\tCtrl+Shift+E"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_FILE_PRINT, "&Print...\tCtrl+P"},
    {MF_STRING, ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
    {MF_STRING, ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    {MF_SEPARATOR, 0, nullptr},
    // The framework puts the recent files here, and keeps this grayed while there are none.
    {MF_GRAYED, ID_FILE_MRU_FILE1, "Recent File"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_APP_EXIT, "E&xit"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&Edit"},
    {MF_STRING, ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {MF_STRING, ID_EDIT_REDO, "&Redo\tCtrl+Y"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_EDIT_CUT, "Cu&t\tCtrl+X"},
    {MF_STRING, ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {MF_STRING, ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    {MF_STRING, ID_EDIT_CLEAR, "&Delete\tDel"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_EDIT_SELECT_ALL, "Select &All\tCtrl+A"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&Curves"},
    {MF_STRING, ID_CURVES_SELECT, "&Select "},
    // The view's update handler sets the marks once the menu opens.
    {MF_CHECKED, ID_CURVES_DRAW, "&Draw"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&Arrange"},
    {MF_STRING, ID_ARRANGE_BRING_TO_FRONT, "Bring to &Front\tHome"},
    {MF_STRING, ID_ARRANGE_BRING_FORWARD, "Bring F&orward\tPgUp"},
    {MF_STRING, ID_ARRANGE_SEND_BACKWARD, "Send Back&ward\tPgDn"},
    {MF_STRING, ID_ARRANGE_SEND_TO_BACK, "Send to &Back\tEnd"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&View"},
    {MF_STRING, ID_VIEW_TOOLBAR, "&Toolbar"},
    {MF_STRING, ID_VIEW_STATUS_BAR, "&Status Bar"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, ID_VIEW_ZOOM_IN, "Zoom &In\tCtrl++"},
    {MF_STRING, ID_VIEW_ZOOM_OUT, "Zoom &Out\tCtrl+-"},
    {MF_STRING, ID_VIEW_ACTUAL_SIZE, "&Actual Size\tCtrl+0"},
    {MF_STRING, ID_VIEW_FIT_DRAWING, "&Fit Drawing\tCtrl+1"},
    {MF_END, 0, nullptr},
    {MF_POPUP, 0, "&Help"},
    {MF_STRING, ID_APP_ABOUT, "&About Swoop2..."},
    {MF_END, 0, nullptr},
};

const ACCEL kAccels[] = {
    {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
    {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
    {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE},
    {FVIRTKEY | FCONTROL, 'P', ID_FILE_PRINT},
    {FVIRTKEY | FCONTROL | FSHIFT, 'E', ID_FILE_EXPORT},
    {FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO},
    {FVIRTKEY | FCONTROL, 'Y', ID_EDIT_REDO},
    {FVIRTKEY | FCONTROL | FSHIFT, 'Z', ID_EDIT_REDO},
    {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},
    {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
    {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE},
    {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
    {FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT},
    {FVIRTKEY, VK_DELETE, ID_EDIT_CLEAR},
    {FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY},
    {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
    {FVIRTKEY, VK_F6, ID_NEXT_PANE},
    {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
    // Plus is a shifted key on most keyboards: Ctrl with the key that carries it zooms in too.
    {FVIRTKEY | FCONTROL, VK_ADD, ID_VIEW_ZOOM_IN},
    {FVIRTKEY | FCONTROL, VK_OEM_PLUS, ID_VIEW_ZOOM_IN},
    {FVIRTKEY | FCONTROL, VK_OEM_MINUS, ID_VIEW_ZOOM_OUT},
    {FVIRTKEY | FCONTROL, '0', ID_VIEW_ACTUAL_SIZE},
    {FVIRTKEY | FCONTROL, '1', ID_VIEW_FIT_DRAWING},
    {FVIRTKEY | FCONTROL, 'A', ID_EDIT_SELECT_ALL},
    {FVIRTKEY, VK_HOME, ID_ARRANGE_BRING_TO_FRONT},
    {FVIRTKEY, VK_PRIOR, ID_ARRANGE_BRING_FORWARD},
    {FVIRTKEY, VK_NEXT, ID_ARRANGE_SEND_BACKWARD},
    {FVIRTKEY, VK_END, ID_ARRANGE_SEND_TO_BACK},
    {FVIRTKEY, VK_ESCAPE, ID_VIEW_CANCEL},
    {FVIRTKEY, VK_RETURN, ID_CURVES_END},
    {FVIRTKEY, VK_LEFT, ID_NUDGE_LEFT},
    {FVIRTKEY, VK_RIGHT, ID_NUDGE_RIGHT},
    {FVIRTKEY, VK_UP, ID_NUDGE_UP},
    {FVIRTKEY, VK_DOWN, ID_NUDGE_DOWN},
    {FVIRTKEY | FSHIFT, VK_LEFT, ID_NUDGE_FAR_LEFT},
    {FVIRTKEY | FSHIFT, VK_RIGHT, ID_NUDGE_FAR_RIGHT},
    {FVIRTKEY | FSHIFT, VK_UP, ID_NUDGE_FAR_UP},
    {FVIRTKEY | FSHIFT, VK_DOWN, ID_NUDGE_FAR_DOWN},
};

// The desktop theme's icon is used where it has one of the kind; ours otherwise. The tools are
// the program's own and always show its images. Our images have a transparent background, so
// that the button face shows through whatever the desktop's colours are.
const AFX_TOOLBAR_BUTTON kMainButtons[] = {
    {ID_FILE_NEW, "document-new", &kNewImage},       {ID_FILE_OPEN, "document-open", &kOpenImage},
    {ID_FILE_SAVE, "document-save", &kSaveImage},    {ID_SEPARATOR, nullptr, nullptr},
    {ID_EDIT_CUT, "edit-cut", &kCutImage},           {ID_EDIT_COPY, "edit-copy", &kCopyImage},
    {ID_EDIT_PASTE, "edit-paste", &kPasteImage},     {ID_SEPARATOR, nullptr, nullptr},
    {ID_FILE_PRINT, "document-print", &kPrintImage}, {ID_APP_ABOUT, "help-about", &kAboutImage},
};

const AFX_TOOLBAR_BUTTON kDrawButtons[] = {
    {ID_CURVES_SELECT, nullptr, &kSelectImage},
    {ID_CURVES_DRAW, nullptr, &kDrawImage},
};

const AFX_TOOLBAR_RESOURCE kToolBars[] = {
    {IDR_MAINFRAME, 16, 15, kMainButtons, std::size(kMainButtons)},
    {IDR_DRAWTOOLS, 16, 15, kDrawButtons, std::size(kDrawButtons)},
};

// The document icon is the window's picture in 16 colours; nothing shows it yet.
const AFX_IMAGE* const kAppIconImages[] = {&kAppIcon48, &kAppIcon32, &kAppIcon16};
const AFX_IMAGE* const kDocIconImages[] = {&kDocIcon32, &kDocIcon16};
const AFX_ICON_RESOURCE kIcons[] = {
    {IDR_MAINFRAME, kAppIconImages, std::size(kAppIconImages)},
    {IDR_SWOOP2TYPE, kDocIconImages, std::size(kDocIconImages)},
};

const AFX_DIALOG_ITEM kAboutItems[] = {
    {"STATIC", WS_CHILD | WS_VISIBLE | SS_ICON, 11, 17, 20, 20, -1, nullptr, IDR_MAINFRAME},
    {"STATIC", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX, 40, 10, 119, 8, -1,
     "Swoop2 Version 1.0", 0},
    {"STATIC", WS_CHILD | WS_VISIBLE | WS_GROUP, 40, 25, 119, 8, -1,
     "Smooth curves through your points", 0},
    {"BUTTON", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 178, 7, 50, 16, 1,
     "OK", 0},
};

const AFX_DIALOG_RESOURCE kDialogs[] = {
    {IDD_ABOUTBOX, "About Swoop2",
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

void RegisterSwoop2Resources() {
    static const AfxResourceRegistration registration(Table());
}
