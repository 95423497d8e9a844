// The text of a window (a caption, a control's text) as the tests compare it.
#pragma once

#include <string>

#include "WinUser.h"

std::string WindowText(HWND hwnd);
