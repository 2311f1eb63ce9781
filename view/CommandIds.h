#pragma once

#include "platform/Types.h"

// The program's own commands; every other command is one of the framework's standard ids.
constexpr UINT ID_CURVES_SELECT = 32771;
constexpr UINT ID_CURVES_DRAW = 32772;
constexpr UINT ID_VIEW_ZOOM_IN = 32790;
constexpr UINT ID_VIEW_ZOOM_OUT = 32791;
constexpr UINT ID_VIEW_ACTUAL_SIZE = 32792;
constexpr UINT ID_VIEW_FIT_DRAWING = 32793;
// The status bar's panes that the view fills: the pointer's place and the zoom.
constexpr UINT ID_INDICATOR_POSITION = 32800;
constexpr UINT ID_INDICATOR_ZOOM = 32801;
