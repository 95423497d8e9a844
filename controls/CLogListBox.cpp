#include "CLogListBox.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "ClipboardText.h"
#include "afxres.h"

const COLORREF CLogListBox::kPalette[kPaletteSize] = {
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0), RGB(0, 0, 128),
    RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),
    RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255)};

namespace {

const int kColorBytes = 2;
const int kGutterPadding = 6;   // pixels beside the digits of the line-number gutter
const int kTextIndent = 2;      // pixels between the text rectangle's edge and the text
const int kDropWhenFull = 20;   // oldest lines dropped at once when the list is full
const int kFormatLimit = 1024;  // printf-style format, NUL included
const int kLineLimit = 2048;    // formatted line, NUL included

bool InPalette(int index) { return index >= 0 && index < CLogListBox::kPaletteSize; }

// A stored line begins with two colour bytes; one added through the plain
// list-box AddString does not, and is drawn whole in the default pair.
bool HasColorBytes(const CString& stored) {
  return stored.GetLength() >= kColorBytes && InPalette(static_cast<unsigned char>(stored[0]) - 1) &&
         InPalette(static_cast<unsigned char>(stored[1]) - 1);
}

char ASCIILower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

CString LoweredASCII(CString text) {
  for (int i = 0; i < text.GetLength(); ++i) text.SetAt(i, ASCIILower(text[i]));
  return text;
}

CString ComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? CString(name) : CString();
}

}  // namespace

CString FormatLogFileLine(const SYSTEMTIME& time, LPCTSTR computerName, LPCTSTR text) {
  CString line;
  line.Format("%04u-%02u-%02u %02u:%02u:%02u [%s] %s\r\n", time.wYear, time.wMonth, time.wDay, time.wHour,
              time.wMinute, time.wSecond, computerName ? computerName : "", text ? text : "");
  return line;
}

BEGIN_MESSAGE_MAP(CLogListBox, CRTListBox)
ON_WM_LBUTTONDBLCLK()
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CLogListBox::CLogListBox()
    : m_selectionBack(::GetSysColor(COLOR_HIGHLIGHT)), m_selectionText(::GetSysColor(COLOR_HIGHLIGHTTEXT)) {}

// --- Adding lines ----------------------------------------------------------

// Out-of-range indexes fall back to the default pair: a colour byte of 0
// would end the stored string, and one past 16 would index past the palette.
CString CLogListBox::MakeStoredLine(unsigned textColor, int backColor, LPCTSTR text) const {
  if (!m_colorsEnabled) {
    textColor = kDefaultTextColor;
    backColor = kDefaultBackColor;
  }
  if (textColor >= static_cast<unsigned>(kPaletteSize)) textColor = kDefaultTextColor;
  if (!InPalette(backColor)) backColor = kDefaultBackColor;
  // Only the text loses its line breaks: colour bytes 10 and 13 are indexes 9 and 12.
  CString body = text ? text : "";
  body.Replace('\r', ' ');
  body.Replace('\n', ' ');
  CString line;
  line += static_cast<char>(textColor + 1);
  line += static_cast<char>(backColor + 1);
  return line + body;
}

// Opened for appending, so that lines from other threads or processes
// writing the same file between our calls never land on each other.
void CLogListBox::AppendToLogFile(const CString& text) const {
  if (text.IsEmpty() || m_logFilePath.IsEmpty()) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  const CString line = FormatLogFileLine(now, ComputerName(), text);
  HANDLE file = CreateFileA(m_logFilePath, FILE_APPEND_DATA, FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, static_cast<LPCTSTR>(line), static_cast<DWORD>(line.GetLength()), &written, nullptr);
  CloseHandle(file);
}

// A full list drops its oldest lines (at most 20) and tries once more.
int CLogListBox::AddWithRoom(const CString& stored) {
  int index = static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(stored))));
  if (index != LB_ERRSPACE) return index;
  const int count = static_cast<int>(SendMessage(LB_GETCOUNT));
  if (count == LB_ERR || count < 2) return LB_ERR;
  const int drop = count >= kDropWhenFull ? kDropWhenFull : count - 1;
  SendMessage(WM_SETREDRAW, FALSE);
  for (int i = 0; i < drop; ++i) SendMessage(LB_DELETESTRING, 0);
  index = static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(stored))));
  SendMessage(WM_SETREDRAW, TRUE);
  return index;
}

int CLogListBox::AddLine(unsigned textColor, int backColor, LPCTSTR text) {
  if (!m_hWnd) return LB_ERR;
  const CString stored = MakeStoredLine(textColor, backColor, text);
  AppendToLogFile(stored.Mid(kColorBytes));
  const int index = AddWithRoom(stored);
  if (index >= 0) SendMessage(LB_SETTOPINDEX, index);
  SendMessage(LB_SETCURSEL, static_cast<WPARAM>(-1));
  return index;
}

int CLogListBox::AddLineFormat(unsigned textColor, int backColor, UINT stringId, LPCTSTR format, ...) {
  char loaded[kFormatLimit] = {};
  if (stringId != 0) {
    if (LoadStringA(AfxGetResourceHandle(), stringId, loaded, kFormatLimit) <= 0)
      snprintf(loaded, sizeof loaded, "Failed to load string resource %u", stringId);
  } else {
    snprintf(loaded, sizeof loaded, "%s", format ? format : "");
  }
  char line[kLineLimit] = {};
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, loaded, args);
  va_end(args);
  return AddLine(textColor, backColor, line);
}

int CLogListBox::InsertLine(int index, LPCTSTR text, unsigned textColor, int backColor) {
  if (!m_hWnd) return LB_ERR;
  const CString stored = MakeStoredLine(textColor, backColor, text);
  return static_cast<int>(
      SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(stored))));
}

// --- Clearing and fonts ----------------------------------------------------

void CLogListBox::ClearAll() {
  if (!m_hWnd) return;
  SendMessage(LB_RESETCONTENT);
  m_maxExtent = 0;
  SendMessage(LB_SETHORIZONTALEXTENT, 0);
}

void CLogListBox::SetFont(CFont* font, BOOL redraw) {
  if (!m_hWnd) return;
  CRTListBox::SetFont(font, redraw);
  CClientDC dc(this);
  CFont* old = font ? dc.SelectObject(font) : nullptr;
  TEXTMETRIC tm = {};
  dc.GetTextMetrics(&tm);
  if (old) dc.SelectObject(old);
  SendMessage(LB_SETITEMHEIGHT, 0, MAKELPARAM(tm.tmHeight, 0));
  m_maxExtent = 0;
}

// --- Reading lines ---------------------------------------------------------

void CLogListBox::GetRawLine(int line, CString& text) const {
  text.Empty();
  if (!m_hWnd) return;
  const int length = static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(line)));
  if (length <= 0) return;
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  if (SendMessage(LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data())) < 0) return;
  text = buffer.data();
}

int CLogListBox::GetRawLine(int line, LPTSTR buffer) const {
  if (!m_hWnd || !buffer) return LB_ERR;
  return static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer)));
}

void CLogListBox::GetLineText(int line, CString& text) const {
  GetRawLine(line, text);
  text = text.GetLength() > kColorBytes ? text.Mid(kColorBytes) : CString();
}

// Read through our own buffer: the caller's needs room for the text only.
int CLogListBox::GetLineText(int line, LPTSTR buffer) const {
  if (!m_hWnd || !buffer) return LB_ERR;
  const int length = static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(line)));
  if (length < 0) return length;
  std::vector<char> stored(static_cast<size_t>(length) + 1);
  const int answer =
      static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(stored.data())));
  buffer[0] = '\0';
  if (answer > kColorBytes) memcpy(buffer, stored.data() + kColorBytes, static_cast<size_t>(answer - kColorBytes) + 1);
  return answer;
}

int CLogListBox::GetLineTextLength(int line) const {
  if (!m_hWnd) return LB_ERR;
  const int length = static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(line)));
  return length < kColorBytes ? length : length - kColorBytes;
}

int CLogListBox::GetTextColorIndex(int line) const {
  CString raw;
  GetRawLine(line, raw);
  return raw.GetLength() >= 1 ? static_cast<unsigned char>(raw[0]) - 1 : kDefaultTextColor;
}

int CLogListBox::GetBackColorIndex(int line) const {
  CString raw;
  GetRawLine(line, raw);
  return raw.GetLength() >= kColorBytes ? static_cast<unsigned char>(raw[1]) - 1 : kDefaultBackColor;
}

// The list box can only change a line by replacing it; its item data and
// selection are carried over to the new line.
void CLogListBox::SetColorByte(int line, int which, int index) {
  CString raw;
  GetRawLine(line, raw);
  if (raw.GetLength() < kColorBytes) return;
  raw.SetAt(which, static_cast<char>(index + 1));
  const LRESULT data = SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(line));
  const LRESULT selected = SendMessage(LB_GETSEL, static_cast<WPARAM>(line));
  const int current = static_cast<int>(SendMessage(LB_GETCURSEL));
  SendMessage(LB_DELETESTRING, static_cast<WPARAM>(line));
  const int index2 = static_cast<int>(
      SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(raw))));
  if (index2 < 0) return;
  if (data != LB_ERR) SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index2), data);
  if (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    if (selected > 0) SendMessage(LB_SETSEL, TRUE, index2);
  } else if (current == line) {
    SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index2));
  }
}

void CLogListBox::SetTextColorIndex(int line, int index) {
  if (!m_hWnd) return;
  SetColorByte(line, 0, InPalette(index) ? index : kDefaultTextColor);
}

void CLogListBox::SetBackColorIndex(int line, int index) {
  if (!m_hWnd) return;
  SetColorByte(line, 1, InPalette(index) ? index : kDefaultBackColor);
}

// --- Searching -------------------------------------------------------------

int CLogListBox::FindLine(int start, LPCTSTR text, BOOL exact) const {
  if (!m_hWnd) return LB_ERR;
  const int count = static_cast<int>(SendMessage(LB_GETCOUNT));
  if (count < 0) return LB_ERR;
  const CString wanted = LoweredASCII(text ? text : "");
  auto matches = [&](int line) {
    CString lineText;
    GetLineText(line, lineText);
    lineText = LoweredASCII(lineText);
    if (!exact) lineText = lineText.Left(wanted.GetLength());
    return lineText == wanted;
  };
  for (int line = start + 1; line < count; ++line)
    if (line >= 0 && matches(line)) return line;
  if (start != -1)
    for (int line = 0; line <= start && line < count; ++line)
      if (matches(line)) return line;
  return LB_ERR;
}

int CLogListBox::SelectString(int start, LPCTSTR text) {
  const int found = FindLine(start, text, FALSE);
  if (found >= 0) SendMessage(LB_SETCURSEL, static_cast<WPARAM>(found));
  return found;
}

// --- Settings --------------------------------------------------------------

int CLogListBox::SetTabSize(int cells) {
  if (!m_hWnd) return 0;
  CClientDC dc(this);
  if (!dc.GetSafeHdc()) return 0;
  m_tabSize = cells;
  return 1;
}

int CLogListBox::GetVisibleLineCount() {
  if (!m_hWnd) return 0;
  CClientDC dc(this);
  if (!dc.GetSafeHdc()) return 0;
  TEXTMETRIC tm = {};
  dc.GetTextMetrics(&tm);
  const int lineHeight = tm.tmHeight + tm.tmInternalLeading;
  if (lineHeight <= 0) return 0;
  CRect client;
  GetClientRect(&client);
  return client.Height() / lineHeight;
}

// --- Drawing ---------------------------------------------------------------

int CLogListBox::GutterWidth(CDC& dc) const {
  const CString nines('9', m_lineNumberDigits > 0 ? m_lineNumberDigits : 1);
  return dc.GetTextExtent(nines).cx + kGutterPadding;
}

// Returns the left edge of the text that follows the gutter.
int CLogListBox::DrawGutter(CDC& dc, const CRect& item) {
  const int height = item.Height() > 0 ? item.Height() : 1;
  CString number;
  number.Format("%d", GetTopIndex() + item.top / height + 1);
  CRect strip(item.left, item.top, item.left + GutterWidth(dc), item.bottom);
  dc.SetBkColor(m_gutterBack);
  dc.ExtTextOut(0, 0, ETO_OPAQUE, &strip, nullptr, 0, nullptr);
  dc.SetTextColor(m_gutterText);
  CRect digits(strip.left + 2, strip.top, strip.right - 2, strip.bottom);
  dc.DrawText(number, &digits, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
  return strip.right;
}

// Tab stops count from the line's own left edge, the list's left edge before
// any horizontal scrolling, so that the text keeps its shape while it scrolls.
// Returns where the drawn text ends, in the same unscrolled coordinates.
int CLogListBox::DrawLineText(CDC& dc, const CRect& rect, int lineLeft, const CString& text, COLORREF textColor,
                              COLORREF backColor) {
  dc.SetTextColor(textColor);
  dc.SetBkColor(backColor);
  dc.FillSolidRect(&rect, backColor);
  dc.SetBkColor(backColor);
  const CSize drawn = dc.TabbedTextOut(rect.left + kTextIndent, rect.top, text, 100, m_tabStops, lineLeft);
  return rect.left + kTextIndent + drawn.cx - lineLeft;
}

// The widest line painted so far sets how far the list scrolls sideways: all
// of it, gutter and tabs included, with a margin after its end, so that the
// end of any line can be scrolled into view.
void CLogListBox::NoteLineWidth(int width) {
  width += ::GetSystemMetrics(SM_CXVSCROLL);
  if (width <= m_maxExtent) return;
  m_maxExtent = width;
  SetHorizontalExtent(m_maxExtent + m_maxExtent / 32);
}

void CLogListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  const CRect item(lpDrawItemStruct->rcItem);
  m_tabCharWidth = dc->GetTextExtent("c", 1).cx;
  for (int i = 0; i < 100; ++i) m_tabStops[i] = (i + 1) * m_tabSize * m_tabCharWidth;

  const int id = static_cast<int>(lpDrawItemStruct->itemID);
  const UINT action = lpDrawItemStruct->itemAction;
  const UINT state = lpDrawItemStruct->itemState;
  if (id == -1) {
    if (action & ODA_FOCUS) dc->DrawFocusRect(&item);
    return;
  }
  if (action & (ODA_SELECT | ODA_DRAWENTIRE)) {
    CString stored;
    GetRawLine(id, stored);
    CRect textRect = item;
    if (m_showLineNumbers) textRect.left = DrawGutter(*dc, item);
    const bool colored = HasColorBytes(stored);
    const CString text = colored ? stored.Mid(kColorBytes) : stored;
    COLORREF textColor = kPalette[colored ? static_cast<unsigned char>(stored[0]) - 1 : kDefaultTextColor];
    COLORREF backColor = kPalette[colored ? static_cast<unsigned char>(stored[1]) - 1 : kDefaultBackColor];
    if (state & ODS_SELECTED) {
      textColor = m_selectionText;
      backColor = m_selectionBack;
    }
    NoteLineWidth(DrawLineText(*dc, textRect, item.left, text, textColor, backColor));
  }
  if ((action & ODA_FOCUS) || ((action & ODA_DRAWENTIRE) && (state & ODS_FOCUS))) dc->DrawFocusRect(&item);
}

BOOL CLogListBox::OnEraseBkgnd(CDC* pDC) {
  if (!m_showLineNumbers) return CRTListBox::OnEraseBkgnd(pDC);
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  if (!font && GetParent()) font = reinterpret_cast<HFONT>(GetParent()->SendMessage(WM_GETFONT));
  HGDIOBJ old = font ? pDC->SelectObject(font) : nullptr;
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
  pDC->FillSolidRect(client.left, client.top, GutterWidth(*pDC), client.Height(), m_gutterBack);
  if (old) pDC->SelectObject(old);
  return TRUE;
}

// The list box fills its client with its colour brush when it paints; with
// the gutter on, the erase above has already drawn the background, gutter
// included, and that fill would cover the gutter below the last line.
HBRUSH CLogListBox::CtlColor(CDC*, UINT) {
  return m_showLineNumbers ? static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH)) : nullptr;
}

// --- Context menu and its commands -----------------------------------------

void CLogListBox::OnLButtonDblClk(UINT, CPoint) { Default(); }

void CLogListBox::OnContextMenu(CWnd*, CPoint pos) {
  if (m_contextMenuId == -1) return;
  CMenu menu;
  if (!menu.LoadMenu(static_cast<UINT>(m_contextMenuId))) return;
  CMenu* popup = menu.GetSubMenu(0);
  if (popup) popup->TrackPopupMenu(TPM_LEFTALIGN, pos.x, pos.y, this);
}

void CLogListBox::OnEditCopy() {
  CString result;
  for (int line = 0, count = GetCount(); line < count; ++line) {
    if (GetSel(line) <= 0) continue;
    CString text;
    GetLineText(line, text);
    if (text.IsEmpty()) continue;
    text.Trim("\r\n");
    if (text.Find('\n') < 0) text += '\n';
    text.Replace('\t', ' ');
    result += text;
  }
  if (!result.IsEmpty()) SetClipboardText(result);
}

void CLogListBox::OnEditClear() { ClearAll(); }

void CLogListBox::OnEditSelectAll() {
  if (!m_hWnd) return;
  SendMessage(LB_SELITEMRANGEEX, 0, GetCount() - 1);
}
