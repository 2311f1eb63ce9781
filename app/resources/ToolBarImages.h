#pragma once

// The toolbars' own button images, as XPM text. Main: New, Open, Save, Cut, Copy, Paste,
// Print, About; Drawing Tools: Select, Draw.
extern const char* const kNewImage[];
extern const char* const kOpenImage[];
extern const char* const kSaveImage[];
extern const char* const kCutImage[];
extern const char* const kCopyImage[];
extern const char* const kPasteImage[];
extern const char* const kPrintImage[];
extern const char* const kAboutImage[];
extern const char* const kSelectImage[];
extern const char* const kDrawImage[];
