// CRTProgressBar: a progress bar drawn from a strip of nine image parts,
// standing in place of a placeholder control of a dialog template.
//
// The bar makes its own child window on the placeholder's rectangle (in the
// placeholder's parent) and follows it whenever its status is updated. It
// can also write a status text into a text control: a prefix, the
// percentage, and an estimate of the remaining and the end time counted from
// the bar's creation (local time).
//
// The strip: nine parts of equal width side by side (0 track start, 1 track
// just before the band, 2 band start cap, 3 band middle marker, 4 band body,
// 5 band end cap, 6 track just after the band, 7 empty track, 8 track end),
// RGB(0, 255, 255) transparent. A strip passed in stays the caller's; the bar
// draws from its own prepared copy (stretched to the bar's thickness, turned
// for a vertical bar), or from the built-in strip. Placeholder and text
// control are borrowed and must outlive the bar. Nothing is class-wide.
//
// An empty or inverted range shows no progress (and 0 per cent); positions are
// kept inside the range.
#pragma once

#include <cstdint>
#include <vector>

#include "afxwin.h"

class CRTProgressBar : public CStatic {
 public:
  // One image part placed along the bar.
  struct Piece {
    int at;
    int part;
    bool operator==(const Piece& o) const { return at == o.at && part == o.part; }
  };
  // Where the band and the track end lie along the bar, in pixels.
  struct Geometry {
    int trackEnd = 0, bandStart = 0, bandEnd = 0;
    bool operator==(const Geometry& o) const {
      return trackEnd == o.trackEnd && bandStart == o.bandStart && bandEnd == o.bandEnd;
    }
    bool operator!=(const Geometry& o) const { return !(*this == o); }
  };

  static constexpr UINT kControlId = 0xFFFF;  // nobody looks the bar up by id
  static constexpr COLORREF kTransparent = RGB(0, 255, 255);

  CRTProgressBar() = default;
  CRTProgressBar(CWnd* placeholder, int upper, CBitmap* strip = nullptr, int reverse = 0, CWnd* textCtrl = nullptr,
                 LPCTSTR prefix = nullptr, int textMode = 0);
  ~CRTProgressBar() override;

  int SetPos(int pos, int update);
  int SetRange(int lower, int upper, int step, int rescale, int update);
  // Appends the time estimate for the current position to `text`.
  void FormatTimeEstimate(CString& text) const;

  int GetPos() const { return m_pos; }
  CSize GetPartSize() const { return CSize(m_partWidth, m_partHeight); }
  int IsVertical() const { return m_vertical; }
  Geometry GetGeometry() const;

  // The pieces of the whole picture for a geometry, in drawing order: the
  // track and band tiles, then marker, neighbours, ends and caps on top.
  static std::vector<Piece> Pieces(const Geometry& g, int partLength);

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CRect PlaceholderRect() const;
  BOOL PrepareImages(CBitmap* strip);
  void StartTiming();
  void UpdateStatus();
  CString ComposeStatusText(CDC* dc, int available) const;
  CString PercentText() const;
  void FollowPlaceholder();
  bool HasRange() const { return m_upper > m_lower; }
  // `units` of the range as a share of `scale`; 0 without a range.
  LONGLONG Share(LONGLONG units, LONGLONG scale) const;
  int PartLength() const { return m_vertical ? m_partHeight : m_partWidth; }
  int BarLength() const;
  void DrawPieces(CDC* dc, const std::vector<Piece>& pieces, const std::vector<Piece>& dirty);
  void MakeOffscreen(CDC* like, CSize size);

  int m_vertical = 0;
  CString m_prefix, m_lastText;
  int m_textMode = 0;  // |mode|: 0 prefix, 1 percentage, 2 time estimate, 3 estimate or percentage; > 0 in parentheses
  int m_lower = 0, m_upper = 0, m_step = 1;
  Geometry m_drawn;  // what the off-screen picture shows
  int m_bandStartPos = 0, m_pos = 0, m_previousPos = 0;
  int m_reverse = 0;
  int m_partWidth = 0, m_partHeight = 0;
  CRect m_rect;                      // the bar in its parent's client coordinates
  CBitmap m_strip, m_preparedStrip;  // the strip's own copy (always 32-bit, as the screen), and stretched
  CImageList m_parts;
  CBitmap m_offscreen;
  CSize m_offscreenSize;
  CWnd* m_placeholder = nullptr;
  CWnd* m_textCtrl = nullptr;
  SYSTEMTIME m_start{};
  ULONGLONG m_start100ns = 0;
};

// Shortens `text` with a trailing "..." until it and `reserved` pixels fit in
// `available` pixels of `dc`'s current font; a text that fits, is empty, or is
// no wider than "..." and its first character stays as it is.
CString FitTextToWidth(CDC* dc, CString text, int available, int reserved);
