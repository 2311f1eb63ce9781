#pragma once

#include "platform/framework/AfxRes.h"
#include "view/CommandIds.h"

// The program's resource ids. Command ids are the framework's standard ones, apart from those
// the view defines and File > Export, which the frame handles.
constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDR_MAINFRAME = 128;
// The document type's icon, kept with the resources though nothing shows it.
constexpr UINT IDR_SWOOP2TYPE = 129;
constexpr UINT IDR_DRAWTOOLS = 130;
constexpr UINT ID_FILE_EXPORT = 32810;
