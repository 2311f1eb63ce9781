#pragma once

#include "platform/Types.h"

// The program's own commands; every other command is one of the framework's standard ids.
constexpr UINT ID_CURVES_SELECT = 32771;
constexpr UINT ID_CURVES_DRAW = 32772;
constexpr UINT ID_VIEW_ZOOM_IN = 32790;
constexpr UINT ID_VIEW_ZOOM_OUT = 32791;
constexpr UINT ID_VIEW_ACTUAL_SIZE = 32792;
constexpr UINT ID_VIEW_FIT_DRAWING = 32793;

// The arrangement: where the selected curves lie in the stacking order.
constexpr UINT ID_ARRANGE_BRING_TO_FRONT = 32830;
constexpr UINT ID_ARRANGE_BRING_FORWARD = 32831;
constexpr UINT ID_ARRANGE_SEND_BACKWARD = 32832;
constexpr UINT ID_ARRANGE_SEND_TO_BACK = 32833;
// Keys of the view that only the accelerator table names: Escape, Enter and the arrow keys.
constexpr UINT ID_VIEW_CANCEL = 32834;
constexpr UINT ID_CURVES_END = 32835;
// Left, right, up and down by one screen pixel, then the same by ten.
constexpr UINT ID_NUDGE_FIRST = 32836;
constexpr UINT ID_NUDGE_LEFT = ID_NUDGE_FIRST;
constexpr UINT ID_NUDGE_RIGHT = ID_NUDGE_FIRST + 1;
constexpr UINT ID_NUDGE_UP = ID_NUDGE_FIRST + 2;
constexpr UINT ID_NUDGE_DOWN = ID_NUDGE_FIRST + 3;
constexpr UINT ID_NUDGE_FAR_LEFT = ID_NUDGE_FIRST + 4;
constexpr UINT ID_NUDGE_FAR_RIGHT = ID_NUDGE_FIRST + 5;
constexpr UINT ID_NUDGE_FAR_UP = ID_NUDGE_FIRST + 6;
constexpr UINT ID_NUDGE_FAR_DOWN = ID_NUDGE_FIRST + 7;
constexpr UINT ID_NUDGE_LAST = ID_NUDGE_FAR_DOWN;
// The status bar's panes that the view fills: the pointer's place and the zoom.
constexpr UINT ID_INDICATOR_POSITION = 32800;
constexpr UINT ID_INDICATOR_ZOOM = 32801;
