#pragma once

#include "platform/Types.h"

#include <string>

// The standard packed device-independent bitmap: a 40-byte BITMAPINFOHEADER and the pixel rows.
// Offered to the desktop as a picture (image/png, image/bmp, ...).
constexpr CLIPFORMAT CF_DIB = 8;

// Registered formats: a name becomes an id in 0xC000..0xFFFF derived from the name alone, so
// that every copy of the program that registers the name gets the same id. Between processes
// only the name travels: it is the clipboard target or MIME type, literally. Names compare
// case-sensitively, as the desktop's targets do. 0 for an empty name or one over 255
// characters.
UINT RegisterClipboardFormatW(const wchar_t* name);
UINT RegisterClipboardFormat(const char* name);

// The name a registered id stands for; empty for ids never registered in this process.
std::string ClipboardFormatName(CLIPFORMAT cf);
