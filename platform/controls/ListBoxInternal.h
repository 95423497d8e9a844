// Between the combo box and its drop-down list.
#pragma once

#include "WinUser.h"

// The list tells its combo box the user chose item wParam (-2: clicked outside, no choice).
const UINT kComboListPicked = WM_USER + 0x3A0;

void PlatformListBoxAttachCombo(HWND list, HWND combo);
