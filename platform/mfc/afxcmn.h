// What the program includes where it would include the class library's
// common-controls header: the window classes and the control wrappers.
#pragma once

#include "afxwin.h"
#include "AfxCmnCtrl.h"
