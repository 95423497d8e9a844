// CRTScrollBar: a scroll bar control drawn from the six scroll-bar sections
// of the skin, handling its own mouse input: arrow and page presses repeat on
// the bar's timers (the first repeat after 400 ms, then every 100 ms), and
// the thumb drags. Each step reaches the notification parent as a sent
// WM_HSCROLL or WM_VSCROLL (SBS_VERT), position in the high word for
// SB_THUMBPOSITION and SB_THUMBTRACK.
//
// The images, draw modes and the skinning switch are class-wide: the skin
// loader (CRTSkin) fills them once and CRTSkin::EnableSkin sets the switch;
// every instance reads them at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn. With the switch off the bar is the platform's own scroll bar.
// Per window: the pressed flags, the drag state and the arrow placement.
// Losing the capture (another window takes it, or WM_CANCELMODE) ends any
// press or drag: flags cleared, both timers stopped, the bar redrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "afxwin.h"

class CRTScrollBar : public CScrollBar {
  DECLARE_DYNAMIC(CRTScrollBar)

 public:
  // Where a corner square (drawn as track) sits beside the arrows: the square
  // next to a second bar.
  enum ArrowPlacement { kNoCorner = 0, kCornerAtStart = 1, kCornerAtEnd = 2 };
  // The timers of the repeats.
  enum { kPageTimer = 1, kArrowTimer = 2 };
  static constexpr UINT kRepeatMs = 100;
  static constexpr int kTicksBeforeRepeat = 3;  // the first repeat comes at the fourth tick
  static constexpr int kThumbLength = 30;

  CRTScrollBar() = default;

  static void SetHorizontalImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_horizontal.Assign(images, modes);
  }
  static void SetVerticalImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_vertical.Assign(images, modes);
  }
  static void SetLeftArrowImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_leftArrow.Assign(images, modes);
  }
  static void SetRightArrowImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_rightArrow.Assign(images, modes);
  }
  static void SetUpArrowImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_upArrow.Assign(images, modes);
  }
  static void SetDownArrowImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_downArrow.Assign(images, modes);
  }
  static void SetSkinEnabled(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_horizontal;  // track (Back) and thumb of horizontal bars
  static inline SkinImageSet s_vertical;
  static inline SkinImageSet s_leftArrow;
  static inline SkinImageSet s_rightArrow;
  static inline SkinImageSet s_upArrow;
  static inline SkinImageSet s_downArrow;

  // Both change nothing when nothing changes; skinned, they redraw at once.
  void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  // Returns the previous position.
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
  void SetArrowPlacement(int placement);
  int GetArrowPlacement() const { return m_arrowPlacement; }

  // The bar's parts in client coordinates, as the next paint draws them. A
  // bar without a range (max <= min) has an empty thumb.
  struct Parts {
    CRect firstArrow, secondArrow;    // left/up and right/down
    CRect firstCorner, secondCorner;  // empty unless the placement puts one there
    CRect track, thumb;
  };
  Parts GetParts();
  BOOL IsDragging() const { return m_dragging != 0; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnCancelMode();
  afx_msg void OnEnable(BOOL bEnable);
  DECLARE_MESSAGE_MAP()

 private:
  bool IsVertical() const;
  const SkinImageSet& TrackImages() const;
  const SkinImageSet& FirstArrowImages() const;
  const SkinImageSet& SecondArrowImages() const;
  void DrawArrow(CDC* dc, const CRect& rect, const SkinImageSet& images, int pressed);
  void DrawThumb(CDC* dc, const CRect& rect);
  // The position the thumb shows: the drag position while dragging.
  int ShownPosition(const SCROLLINFO& si) const;
  // The position a thumb grabbed at the point lands on; false where the
  // track has no free length.
  bool PositionAt(CPoint point, const Parts& parts, int* pos);
  void SendScroll(UINT code, int pos = 0);
  void EndPress();

  int m_grabX = 0, m_grabY = 0;
  int m_firstArrowPressed = 0;   // left/up arrow held, or page-up repeating
  int m_secondArrowPressed = 0;  // right/down arrow held, or page-down repeating
  int m_dragPos = 0;
  int m_dragging = 0;
  int m_thumbPressed = 0;
  int m_arrowPlacement = kNoCorner;
  int m_repeatTicks = 0;
  bool m_releasing = false;  // our own ReleaseCapture, not a loss
};
