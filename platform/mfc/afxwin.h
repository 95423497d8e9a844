// What the program includes where it would include the class library's
// window header: the core classes, the window manager, GDI and the class
// layer's windows.
#pragma once

#include "afx.h"
#include "Gdi.h"
#include "afxgdi.h"
#include "WinUser.h"
#include "AfxWnd.h"
#include "afxgdi.h"
#include "AfxDialog.h"
#include "AfxCtrl.h"
#include "AfxMenu.h"
#include "afxres.h"
