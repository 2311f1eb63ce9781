#pragma once

#include "platform/Types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The program's user-interface resources as plain data tables. The program describes them in
// static arrays and registers them once, before the framework starts, with a static
// AfxResourceRegistration; the framework looks them up by id.

struct AFX_STRING_RESOURCE {
    UINT nID;
    const char* lpszText;
};

// Menu items, flat and in order. A popup row opens a submenu whose items follow it up to the
// matching MF_END row.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_END = 0x0080;

struct AFX_MENU_ITEM {
    UINT nFlags;
    UINT nID;
    const char* lpszText; // "&" marks the mnemonic, "\t" starts the shortcut text
};

struct ACCEL {
    unsigned char fVirt; // FVIRTKEY with FSHIFT, FCONTROL, FALT
    unsigned short key;  // virtual key: VK_..., or an upper-case letter or digit
    unsigned short cmd;
};

// An image compiled into the program (see swoop2_embed_images): its pixels, row by row, each
// a premultiplied 0xAARRGGBB.
struct AFX_IMAGE {
    int cx;
    int cy;
    const std::uint32_t* pPixels;
};

// One toolbar button. Id ID_SEPARATOR (0) is a separator. The theme icon, a freedesktop icon
// name, is preferred when the desktop theme has it; the image is used otherwise.
struct AFX_TOOLBAR_BUTTON {
    UINT nID;
    const char* lpszThemeIcon; // may be null
    const AFX_IMAGE* pImage;   // may be null for separators
};

struct AFX_TOOLBAR_RESOURCE {
    UINT nID;
    int cxButton;
    int cyButton;
    const AFX_TOOLBAR_BUTTON* pButtons;
    std::size_t nButtons;
};

// An icon in one or more sizes.
struct AFX_ICON_RESOURCE {
    UINT nID;
    const AFX_IMAGE* const* pImages;
    std::size_t nImages;
};

// A dialog template. Positions and sizes are in dialog units: a quarter of the dialog font's
// average character width horizontally, an eighth of its height vertically.
struct AFX_DIALOG_ITEM {
    const char* lpszClass; // "BUTTON", "STATIC" or "EDIT"
    DWORD dwStyle;
    short x, y, cx, cy;
    int nID;
    const char* lpszText;
    UINT nIconID; // for SS_ICON statics: the icon resource shown
};

struct AFX_DIALOG_RESOURCE {
    UINT nID;
    const char* lpszCaption;
    DWORD dwStyle;
    short x, y, cx, cy;
    const char* lpszFontName;
    int nPointSize;
    const AFX_DIALOG_ITEM* pItems;
    std::size_t nItems;
};

struct AFX_MENU_RESOURCE {
    UINT nID;
    const AFX_MENU_ITEM* pItems;
    std::size_t nItems;
};

struct AFX_ACCEL_RESOURCE {
    UINT nID;
    const ACCEL* pEntries;
    std::size_t nEntries;
};

// Everything one module contributes; any table may be empty.
struct AFX_RESOURCES {
    std::span<const AFX_STRING_RESOURCE> strings;
    std::span<const AFX_MENU_RESOURCE> menus;
    std::span<const AFX_ACCEL_RESOURCE> accels;
    std::span<const AFX_TOOLBAR_RESOURCE> toolBars;
    std::span<const AFX_ICON_RESOURCE> icons;
    std::span<const AFX_DIALOG_RESOURCE> dialogs;
};

// Adds a module's resources; a later registration of the same id replaces the earlier.
void AfxRegisterResources(const AFX_RESOURCES& resources);

struct AfxResourceRegistration {
    explicit AfxResourceRegistration(const AFX_RESOURCES& resources) {
        AfxRegisterResources(resources);
    }
};

// Look-ups; null or false when the id is unknown.
bool AfxLoadString(UINT nID, std::string& text);
std::string AfxLoadString(UINT nID); // empty when unknown
const AFX_MENU_RESOURCE* AfxFindMenu(UINT nID);
const AFX_ACCEL_RESOURCE* AfxFindAccelerators(UINT nID);
const AFX_TOOLBAR_RESOURCE* AfxFindToolBar(UINT nID);
const AFX_ICON_RESOURCE* AfxFindIcon(UINT nID);
const AFX_DIALOG_RESOURCE* AfxFindDialog(UINT nID);

// Field n of a string whose fields are separated by "\n" (a document string, or a command's
// prompt and tooltip).
std::string AfxExtractSubString(const std::string& text, int n);
