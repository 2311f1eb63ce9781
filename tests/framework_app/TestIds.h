#pragma once

#include "platform/framework/AfxRes.h"

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_TOOLS = 130;
constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT ID_TOOL_LINE = 32771;
constexpr UINT ID_TOOL_DOT = 32772;
constexpr UINT ID_TEST_EXHAUST = 32773; // runs out of memory
constexpr UINT ID_TEST_LOCKED = 32774;  // handled, but its update handler disables it
constexpr UINT ID_TEST_ORPHAN = 32775;  // no table handles it
