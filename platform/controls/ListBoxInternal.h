// Between the combo box and its drop-down list.
#pragma once

#include "WinUser.h"

// The list tells its combo box the user chose item wParam (-2: clicked outside, no choice).
const UINT kComboListPicked = WM_USER + 0x3A0;

void PlatformListBoxAttachCombo(HWND list, HWND combo);

// A test seam: lists take at most `items` items (0: no limit) and answer
// LB_ERRSPACE beyond, as they do when memory runs out.
PLATFORM_API void PlatformSetListBoxCapacity(int items);
