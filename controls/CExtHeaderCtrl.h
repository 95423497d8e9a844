// The column header of the extended list: paints every item itself in the
// button colours, with flat dividers, an optional image or bitmap and a text.
// A column's check box is the image index of its header item (0 none, 1 clear,
// 2 ticked), drawn as a 13 x 13 box when the header has no image list; the
// owning list reads and writes it. The header owns nothing: the image list and
// bitmaps belong to whoever set them, and the list pointer to the list that
// subclassed it. Colours are read at construction and on a system colour change.
#pragma once

#include "afxcmn.h"

class CExtListCtrl;

class CExtHeaderCtrl : public CHeaderCtrl {
  DECLARE_DYNCREATE(CExtHeaderCtrl)

 public:
  enum StyleKind { kSpacing = 1, kUnused2 = 2, kLayoutBorder = 3, kUnused4 = 4 };

  CExtHeaderCtrl();
  ~CExtHeaderCtrl() override;

  BOOL SetStyleValue(int kind, int value);
  int GetSpacing() const { return m_nSpacing; }

  // Draws nothing: owner-drawn items are the owner's.
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  virtual void DrawItem(CDC* pDC, int left, int top, int right, int bottom, HDITEM* item);

  CExtListCtrl* m_pListCtrl = nullptr;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnSysColorChange();
  afx_msg LRESULT OnSetImageList(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLayout(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void PaintItems(HDC dc);
  void DrawDivider(HDC dc, const RECT& item);
  int DrawImage(HDC dc, const RECT& rc, const HDITEM& item);
  int DrawBitmap(HDC dc, const RECT& rc, const HDITEM& item);
  int DrawText(HDC dc, const RECT& rc, const HDITEM& item);
  void ReadColors();

  int m_nTextAlign = -1;  // -1: from each item's format
  COLORREF m_crText;
  BOOL m_bDividers = TRUE;
  BOOL m_bDoubleBuffer = TRUE;
  BOOL m_bLayoutBorder = FALSE;
  int m_nSpacing = 6;
  int m_nImageWidth = 0;
  int m_nImageHeight = 0;
  COLORREF m_crHighlight, m_crShadow, m_crFace, m_crButtonText;
};

// The column check box of the lists with cell data: a 13-pixel-high box framed
// in blue-grey with a green tick, shared by the header and the list cells.
void DrawListCheckBox(HDC dc, const RECT& box, bool ticked, COLORREF tick);
