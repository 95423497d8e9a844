// CRTGroupBox: a group box drawn in the program's own colours: a rounded
// one-pixel frame whose top line runs through the middle of the caption, the
// caption set off by a blank on each side, and, unless switched off, a
// rounded filled background with a two-pixel frame. It needs no skin image
// and keeps no class-wide state: colours and shape are per window.
//
// The caption is taken from the window text at the first paint that finds
// a non-empty text; a later change of the window text is not shown.
#pragma once

#include <cstdint>

#include "afxwin.h"

class CRTGroupBox : public CButton {
 public:
  enum Alignment : int32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
  static constexpr COLORREF kDefaultColor = RGB(0x40, 0x80, 0xB9);

  CRTGroupBox() = default;
  ~CRTGroupBox() override = default;

  void SetBackground(int fill, COLORREF color) {
    m_backgroundFill = fill;
    m_backgroundColor = color;
  }
  void SetRoundness(int cornerWidth, int cornerHeight, int insetX, int insetY) {
    m_corner = CSize(cornerWidth, cornerHeight);
    m_inset = CSize(insetX, insetY);
  }

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CRect CaptionRect(const CRect& frame, CSize extent) const;
  void DrawFrame(CDC* pDC, const CRect& frame, const CRect& caption, int captionHeight);
  void DrawCaption(CDC* pDC, const CRect& caption);

  CString m_caption;
  int32_t m_captionFillOff = 1;  // 0: the caption rectangle is filled first
  int32_t m_backgroundFill = 1;
  COLORREF m_frameColor = kDefaultColor;
  COLORREF m_captionBackColor = kDefaultColor;
  COLORREF m_backgroundColor = kDefaultColor;
  COLORREF m_textColor = kDefaultColor;
  CSize m_corner{10, 10};  // ellipse of the background's corners
  CSize m_inset{2, 2};     // background rectangle from the client edge
  int32_t m_alignment = kAlignLeft;
};
