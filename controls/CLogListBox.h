// CLogListBox: the coloured progress log. Every line is stored in the list box
// as two colour bytes (text index + 1, background index + 1, both into the
// 16-entry palette) followed by its text; every reader strips them, and the
// item data stays free for the caller. A line may also be appended to a log
// file with a time stamp and the computer name.
//
// Threads: AddLine may be called from worker threads. It reads only the
// colours flag and the log-file path (set before workers start) and reaches
// the list only through sent messages, which run on the window's thread.
// Everything else, painting included, belongs to the window's thread.
#pragma once

#include "RTListBox.h"
#include "windows_sys.h"

class CLogListBox : public CRTListBox {
 public:
  static const int kPaletteSize = 16;
  static const COLORREF kPalette[kPaletteSize];
  static const int kDefaultTextColor = 0, kDefaultBackColor = 1;

  CLogListBox();

  int AddLine(unsigned textColor, int backColor, LPCTSTR text);
  int AddLine(LPCTSTR text) { return AddLine(kDefaultTextColor, kDefaultBackColor, text); }
  int AddLineFormat(unsigned textColor, int backColor, UINT stringId, LPCTSTR format, ...);
  int InsertLine(int index, LPCTSTR text, unsigned textColor, int backColor);

  virtual void ClearAll();
  // The apply engine's name for ClearAll.
  void Clear() { ClearAll(); }
  virtual void SetFont(CFont* font, BOOL redraw = TRUE);

  void GetLineText(int line, CString& text) const;
  // Copies only the line's own text (no colour bytes) into `buffer`, which
  // needs GetLineTextLength() + 1 bytes; returns the stored length, colour
  // bytes included, as the list box reports it, or -1.
  int GetLineText(int line, LPTSTR buffer) const;
  int GetLineTextLength(int line) const;
  void GetRawLine(int line, CString& text) const;
  int GetRawLine(int line, LPTSTR buffer) const;
  int GetTextColorIndex(int line) const;
  int GetBackColorIndex(int line) const;
  void SetTextColorIndex(int line, int index);
  void SetBackColorIndex(int line, int index);

  int FindLine(int start, LPCTSTR text, BOOL exact) const;
  int FindString(int start, LPCTSTR text) const { return FindLine(start, text, FALSE); }
  int FindStringExact(int start, LPCTSTR text) const { return FindLine(start, text, TRUE); }
  int SelectString(int start, LPCTSTR text);

  void EnableColors(BOOL enable) { m_colorsEnabled = enable; }
  int SetTabSize(int cells);
  int GetVisibleLineCount();
  void SetShowLineNumbers(BOOL show) { m_showLineNumbers = show; }
  void SetLineNumberDigits(int digits) { m_lineNumberDigits = digits; }
  void SetLineNumberTextColor(COLORREF color) { m_gutterText = color; }
  void SetLineNumberBackColor(COLORREF color) { m_gutterBack = color; }
  void SetLogFilePath(LPCTSTR path) { m_logFilePath = path ? path : ""; }
  void SetContextMenuId(int id) { m_contextMenuId = id; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT) override {}
  int CompareItem(LPCOMPAREITEMSTRUCT) override { return 0; }

 protected:
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  afx_msg void OnEditCopy();
  afx_msg void OnEditClear();
  afx_msg void OnEditSelectAll();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 private:
  CString MakeStoredLine(unsigned textColor, int backColor, LPCTSTR text) const;
  void AppendToLogFile(const CString& text) const;
  int AddWithRoom(const CString& stored);
  void SetColorByte(int line, int which, int index);
  int GutterWidth(CDC& dc) const;
  int DrawGutter(CDC& dc, const CRect& item);
  int DrawLineText(CDC& dc, const CRect& rect, int lineLeft, const CString& text, COLORREF textColor,
                   COLORREF backColor);
  void NoteLineWidth(int width);

  int m_maxExtent = 0;
  int m_tabSize = 8;
  BOOL m_colorsEnabled = TRUE;
  COLORREF m_selectionBack;
  COLORREF m_selectionText;
  int m_tabStops[100] = {};
  int m_tabCharWidth = 0;
  int m_contextMenuId = -1;
  COLORREF m_gutterBack = RGB(245, 245, 245);
  COLORREF m_gutterText = RGB(80, 80, 80);
  int m_lineNumberDigits = 5;
  CString m_logFilePath;
  BOOL m_showLineNumbers = FALSE;
};

// One line of the log file: "YYYY-MM-DD HH:MM:SS [NAME] text\r\n".
CString FormatLogFileLine(const SYSTEMTIME& time, LPCTSTR computerName, LPCTSTR text);
