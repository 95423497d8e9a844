// The one set of system metrics of this platform: the classic Windows look at
// 96 dots per inch on a 1280 x 1024 screen with no task bar. Frames, captions
// and the skin's caption buttons are laid out from these values, and tests
// name them, so they never depend on the machine.

#include <cstring>

#include "WindowManager.h"

namespace {

struct Metric {
  int index;
  int value;
};

// clang-format off
const Metric kMetrics[] = {
    {SM_CXSCREEN, 1280},      {SM_CYSCREEN, 1024},
    {SM_CXFULLSCREEN, 1280},  {SM_CYFULLSCREEN, 1005},  // screen minus a caption
    {SM_CXMAXIMIZED, 1288},   {SM_CYMAXIMIZED, 1032},   // screen plus the frame on each side
    {SM_CXMAXTRACK, 1292},    {SM_CYMAXTRACK, 1036},
    {SM_CXVIRTUALSCREEN, 1280}, {SM_CYVIRTUALSCREEN, 1024},
    {SM_XVIRTUALSCREEN, 0},   {SM_YVIRTUALSCREEN, 0},   {SM_CMONITORS, 1},
    {SM_CXBORDER, 1},         {SM_CYBORDER, 1},         // WS_BORDER line
    {SM_CXDLGFRAME, 3},       {SM_CYDLGFRAME, 3},       // fixed frame (WS_DLGFRAME, WS_CAPTION)
    {SM_CXFRAME, 4},          {SM_CYFRAME, 4},          // sizing frame (WS_THICKFRAME)
    {SM_CXEDGE, 2},           {SM_CYEDGE, 2},           // WS_EX_CLIENTEDGE
    {SM_CYCAPTION, 19},                                 // caption band including its bottom line
    {SM_CXSIZE, 18},          {SM_CYSIZE, 18},          // caption buttons
    {SM_CYSMCAPTION, 16},     {SM_CXSMSIZE, 12},        {SM_CYSMSIZE, 15},
    {SM_CYMENU, 19},          {SM_CXMENUSIZE, 18},      {SM_CYMENUSIZE, 18},
    {SM_CXMENUCHECK, 13},     {SM_CYMENUCHECK, 13},
    {SM_CXVSCROLL, 16},       {SM_CYHSCROLL, 16},       {SM_CYVSCROLL, 16},   {SM_CXHSCROLL, 16},
    {SM_CYVTHUMB, 16},        {SM_CXHTHUMB, 16},
    {SM_CXICON, 32},          {SM_CYICON, 32},          {SM_CXSMICON, 16},    {SM_CYSMICON, 16},
    {SM_CXCURSOR, 32},        {SM_CYCURSOR, 32},
    {SM_CXICONSPACING, 75},   {SM_CYICONSPACING, 75},
    {SM_CXMIN, 112},          {SM_CYMIN, 27},           {SM_CXMINTRACK, 112}, {SM_CYMINTRACK, 27},
    {SM_CXMINIMIZED, 160},    {SM_CYMINIMIZED, 24},
    {SM_CXDOUBLECLK, 4},      {SM_CYDOUBLECLK, 4},      {SM_CXDRAG, 4},       {SM_CYDRAG, 4},
    {SM_MOUSEPRESENT, 1},     {SM_CMOUSEBUTTONS, 3},    {SM_MOUSEWHEELPRESENT, 1},
    {SM_SWAPBUTTON, 0},       {SM_DEBUG, 0},            {SM_SECURE, 0},       {SM_NETWORK, 1},
    {SM_MENUDROPALIGNMENT, 0}, {SM_SHOWSOUNDS, 0},      {SM_CYKANJIWINDOW, 0}, {SM_REMOTESESSION, 0},
};
// clang-format on

// The classic non-client fonts: Tahoma 8 point (the design maps it to DejaVu Sans).
LOGFONTA Tahoma(LONG weight) {
  LOGFONTA lf{};
  lf.lfHeight = -11;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  strcpy(lf.lfFaceName, "Tahoma");
  return lf;
}

}  // namespace

int GetSystemMetrics(int index) {
  for (const Metric& m : kMetrics) {
    if (m.index == index) return m.value;
  }
  return 0;
}

BOOL SystemParametersInfoA(UINT action, UINT, void* data, UINT) {
  if (!data) return FALSE;
  switch (action) {
    case SPI_GETWORKAREA:
      *static_cast<RECT*>(data) = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICSA*>(data);
      if (m->cbSize != sizeof(NONCLIENTMETRICSA)) return FALSE;
      m->iBorderWidth = 1;
      m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      m->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
      m->lfCaptionFont = Tahoma(FW_BOLD);
      m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
      m->lfSmCaptionFont = Tahoma(FW_BOLD);
      m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      m->lfMenuFont = Tahoma(FW_NORMAL);
      m->lfStatusFont = Tahoma(FW_NORMAL);
      m->lfMessageFont = Tahoma(FW_NORMAL);
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      *static_cast<LOGFONTA*>(data) = Tahoma(FW_NORMAL);
      return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
      *static_cast<BOOL*>(data) = TRUE;
      return TRUE;
    case SPI_GETKEYBOARDCUES:
    case SPI_GETFLATMENU:
      *static_cast<BOOL*>(data) = FALSE;
      return TRUE;
  }
  return FALSE;
}
