#pragma once

#include "platform/Types.h"

// The program's own commands; every other command is one of the framework's standard ids.
constexpr UINT ID_CURVES_SELECT = 32771;
constexpr UINT ID_CURVES_DRAW = 32772;
