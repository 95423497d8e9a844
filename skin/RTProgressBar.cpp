#include "RTProgressBar.h"

#include <algorithm>
#include <cstdlib>

#include "Clock.h"

namespace {

const int kParts = 9;
enum Part {
  kTrackStart = 0,
  kTrackBefore = 1,
  kBandStartCap = 2,
  kBandMarker = 3,
  kBandBody = 4,
  kBandEndCap = 5,
  kTrackAfter = 6,
  kTrackEmpty = 7,
  kTrackEnd = 8
};
const DWORD kBarStyle = 0x5000020E;    // WS_CHILD | WS_VISIBLE and the static bits of the bar's design
const LONGLONG kDay = 864000000000LL;  // in 100 ns
const LONGLONG kSecond = 10000000LL;
const LONGLONG kFullScale = 25600;  // percent done times 256

// The built-in strip: 90 by 16, parts of 10. A grey track and a blue band,
// both a little lighter at the top; the band's caps are darker at their outer edge.
const int kStripWidth = 90, kStripHeight = 16, kStripPart = 10;

uint32_t Shade(uint32_t rgb, int delta) {
  auto channel = [&](int shift) {
    const int v = static_cast<int>((rgb >> shift) & 0xFF) + delta;
    return static_cast<uint32_t>(std::clamp(v, 0, 255)) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

HBITMAP MakeBuiltInStrip() {
  const uint32_t kTrack = 0xDDDDDD, kBand = 0x61A6F2;  // 0x00RRGGBB, the centre colours
  std::vector<uint32_t> pixels(kStripWidth * kStripHeight);
  for (int y = 0; y < kStripHeight; ++y)
    for (int x = 0; x < kStripWidth; ++x) {
      const int part = x / kStripPart, column = x % kStripPart;
      const bool band = part >= kBandStartCap && part <= kBandEndCap;
      // From +24 at the top row through 0 at the centre row to -24 at the bottom.
      const int delta = (kStripHeight / 2 - y) * 3;
      uint32_t c = Shade(band ? kBand : kTrack, band ? delta : delta / 3);
      const bool capEdge = (part == kBandStartCap && column < 2) || (part == kBandEndCap && column >= kStripPart - 2);
      if (capEdge) c = Shade(c, -0x38);
      pixels[static_cast<size_t>(y) * kStripWidth + x] = c;
    }
  return ::CreateBitmap(kStripWidth, kStripHeight, 1, 32, pixels.data());
}

// A 32-bit copy of `source` at `size`, stretched with averaging.
HBITMAP StretchedCopy(HBITMAP source, CSize from, CSize to) {
  HBITMAP result = ::CreateBitmap(to.cx, to.cy, 1, 32, nullptr);
  CDC src, dst;
  src.CreateCompatibleDC(nullptr);
  dst.CreateCompatibleDC(nullptr);
  HGDIOBJ oldSrc = src.SelectObject(static_cast<HGDIOBJ>(source));
  HGDIOBJ oldDst = dst.SelectObject(static_cast<HGDIOBJ>(result));
  dst.SetStretchBltMode(HALFTONE);
  dst.StretchBlt(0, 0, to.cx, to.cy, &src, 0, 0, from.cx, from.cy, SRCCOPY);
  src.SelectObject(oldSrc);
  dst.SelectObject(oldDst);
  return result;
}

// Turns a stretched strip for a vertical bar: pixel (x, y) goes to
// (y + (x / part) * thickness, x mod part), so that every part becomes a tile
// `thickness` wide and `part` high, the tiles side by side.
HBITMAP TurnedStrip(HBITMAP stretched, int part, int thickness) {
  const int width = kParts * part;
  std::vector<uint32_t> out(static_cast<size_t>(kParts) * thickness * part);
  CBitmap* source = CBitmap::FromHandle(stretched);
  BITMAP info{};
  source->GetBitmap(&info);
  std::vector<uint32_t> all(static_cast<size_t>(info.bmWidth) * info.bmHeight);
  source->GetBitmapBits(static_cast<DWORD>(all.size() * 4), all.data());
  const int outWidth = kParts * thickness;
  for (int y = 0; y < thickness; ++y)
    for (int x = 0; x < width; ++x)
      out[static_cast<size_t>(x % part) * outWidth + y + (x / part) * thickness] =
          all[static_cast<size_t>(y) * info.bmWidth + x];
  return ::CreateBitmap(outWidth, part, 1, 32, out.data());
}

// Local time as a count of 100 ns, and back.
ULONGLONG HundredNsOf(const SYSTEMTIME& time) {
  FILETIME file{};
  ::SystemTimeToFileTime(&time, &file);
  return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}
SYSTEMTIME TimeOf(ULONGLONG hundredNs) {
  FILETIME file{};
  file.dwLowDateTime = static_cast<DWORD>(hundredNs);
  file.dwHighDateTime = static_cast<DWORD>(hundredNs >> 32);
  SYSTEMTIME time{};
  ::FileTimeToSystemTime(&file, &time);
  return time;
}

bool OtherDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear != b.wYear || a.wMonth != b.wMonth || a.wDay != b.wDay;
}

void AppendDate(CString& text, const SYSTEMTIME& t) {
  text.AppendFormat("%04d/%02d/%02d/%02d ", t.wYear, t.wMonth, t.wDay, t.wDayOfWeek + 1);
}

// "d:" for whole days, then "hh:mm:ss - ".
void AppendSpan(CString& text, LONGLONG span) {
  if (span >= kDay) text.AppendFormat("%d:", static_cast<int>(span / kDay));
  const int seconds = static_cast<int>((span % kDay) / kSecond);
  text.AppendFormat("%02d:%02d:%02d - ", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

// `value` mapped from the range [from, from + range) onto `span` pixels,
// bounded to a few bar lengths so that nothing overflows or runs long.
int Along(LONGLONG value, LONGLONG from, LONGLONG range, int span, int limit) {
  const LONGLONG pixels = (value - from) * span / range;
  return static_cast<int>(std::clamp<LONGLONG>(pixels, -limit, limit));
}

// The pieces present in one of the lists but not in the other.
std::vector<CRTProgressBar::Piece> Changed(const std::vector<CRTProgressBar::Piece>& was,
                                           const std::vector<CRTProgressBar::Piece>& now) {
  std::vector<CRTProgressBar::Piece> out;
  auto missingFrom = [&out](const std::vector<CRTProgressBar::Piece>& from,
                            const std::vector<CRTProgressBar::Piece>& in) {
    for (const auto& p : from)
      if (std::find(in.begin(), in.end(), p) == in.end()) out.push_back(p);
  };
  missingFrom(was, now);
  missingFrom(now, was);
  return out;
}

}  // namespace

BEGIN_MESSAGE_MAP(CRTProgressBar, CStatic)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CRTProgressBar::CRTProgressBar(CWnd* placeholder, int upper, CBitmap* strip, int reverse, CWnd* textCtrl,
                               LPCTSTR prefix, int textMode) {
  if (!placeholder || !placeholder->GetSafeHwnd() || !placeholder->GetParent()) return;
  m_placeholder = placeholder;
  m_textCtrl = textCtrl;
  m_rect = PlaceholderRect();
  LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_WAIT), nullptr);
  if (!CreateEx(WS_EX_STATICEDGE, windowClass, "", kBarStyle, m_rect, placeholder->GetParent(), kControlId)) return;
  m_vertical = m_rect.Width() < m_rect.Height();
  if (!PrepareImages(strip)) return;
  m_textMode = textMode;
  m_prefix = prefix ? prefix : "";
  m_reverse = reverse;
  m_bandStartPos = m_pos = 0;
  SetRange(0, upper, 1, FALSE, FALSE);
  StartTiming();
  UpdateStatus();
}

CRTProgressBar::~CRTProgressBar() {
  if (GetSafeHwnd()) DestroyWindow();
}

CRect CRTProgressBar::PlaceholderRect() const {
  CRect r;
  m_placeholder->GetWindowRect(&r);
  m_placeholder->GetParent()->ScreenToClient(&r);
  return r;
}

BOOL CRTProgressBar::PrepareImages(CBitmap* strip) {
  HBITMAP source = strip ? static_cast<HBITMAP>(strip->GetSafeHandle()) : nullptr;
  BITMAP info{};
  if (!source || !::GetObjectA(source, sizeof info, &info)) {
    m_strip.Attach(MakeBuiltInStrip());
  } else {
    m_strip.Attach(StretchedCopy(source, CSize(info.bmWidth, info.bmHeight), CSize(info.bmWidth, info.bmHeight)));
  }
  m_strip.GetBitmap(&info);
  const int part = info.bmWidth / kParts;
  const int thickness = (m_vertical ? m_rect.Width() : m_rect.Height()) - 2;
  if (part <= 0 || thickness <= 0) return FALSE;

  HBITMAP stretched = StretchedCopy(m_strip, CSize(info.bmWidth, info.bmHeight), CSize(info.bmWidth, thickness));
  if (m_vertical) {
    m_preparedStrip.Attach(TurnedStrip(stretched, part, thickness));
    ::DeleteObject(stretched);
  } else {
    m_preparedStrip.Attach(stretched);
  }
  BITMAP prepared{};
  m_preparedStrip.GetBitmap(&prepared);
  m_partWidth = prepared.bmWidth / kParts;
  m_partHeight = prepared.bmHeight;
  if (!m_parts.Create(m_partWidth, m_partHeight, ILC_COLOR32 | ILC_MASK, kParts, 0)) return FALSE;
  m_parts.Add(&m_preparedStrip, kTransparent);
  return TRUE;
}

void CRTProgressBar::StartTiming() {
  ::GetLocalTime(&m_start);
  m_start100ns = HundredNsOf(m_start);
  SetPos(m_lower, FALSE);
}

int CRTProgressBar::SetPos(int pos, int update) {
  if (!GetSafeHwnd()) return 0;
  const int previous = m_pos;
  m_previousPos = previous;
  m_pos = std::max(std::max(std::min(pos, m_upper), m_lower), m_bandStartPos);
  if (update) UpdateStatus();
  return previous;
}

int CRTProgressBar::SetRange(int lower, int upper, int step, int rescale, int update) {
  if (!GetSafeHwnd()) return 0;
  // From an empty range there is nothing to map from.
  if (rescale && m_upper != m_lower) {
    auto map = [&](int old) {
      const LONGLONG v = lower + (static_cast<LONGLONG>(old) - m_lower) * (static_cast<LONGLONG>(upper) - lower) /
                                     (static_cast<LONGLONG>(m_upper) - m_lower);
      return static_cast<int>(std::clamp<LONGLONG>(v, INT32_MIN, INT32_MAX));
    };
    m_bandStartPos = map(m_bandStartPos);
    m_pos = map(m_pos);
  }
  m_lower = lower;
  m_upper = upper;
  m_step = step;
  if (update) UpdateStatus();
  return 1;
}

int CRTProgressBar::BarLength() const {
  CRect client;
  GetClientRect(&client);
  return m_vertical ? client.Height() : client.Width();
}

CRTProgressBar::Geometry CRTProgressBar::GetGeometry() const {
  Geometry g;
  const int length = BarLength(), w = PartLength();
  const int span = length - 2 * w, limit = length + 2 * w;
  g.trackEnd = length - w;
  if (HasRange()) {
    const LONGLONG range = static_cast<LONGLONG>(m_upper) - m_lower;
    g.bandEnd = w + Along(m_pos, m_lower, range, span, limit);
    g.bandStart = Along(m_bandStartPos, m_lower, range, span, limit);
  } else {
    g.bandEnd = w;
    g.bandStart = 0;
  }
  g.bandEnd = std::min(g.bandEnd, g.trackEnd);
  g.bandStart = std::min(g.bandStart, g.bandEnd - w);
  if (m_reverse) {
    const int start = g.bandStart;
    g.bandStart = g.trackEnd - g.bandEnd;
    g.bandEnd = g.trackEnd - start;
  }
  return g;
}

std::vector<CRTProgressBar::Piece> CRTProgressBar::Pieces(const Geometry& g, int w) {
  std::vector<Piece> out;
  if (w <= 0) return out;
  int x = g.trackEnd / w * w;
  for (; x > g.bandEnd; x -= w) out.push_back({x, kTrackEmpty});
  for (; x >= g.bandStart; x -= w) out.push_back({x, kBandBody});
  for (; x >= w; x -= w) out.push_back({x, kTrackEmpty});
  out.push_back({(g.bandStart + g.bandEnd) / 2, kBandMarker});
  if (g.bandStart > w) out.push_back({g.bandStart - w, kTrackBefore});
  if (g.bandEnd < g.trackEnd - w) out.push_back({g.bandEnd + w, kTrackAfter});
  out.push_back({0, kTrackStart});
  out.push_back({g.trackEnd, kTrackEnd});
  out.push_back({g.bandStart, kBandStartCap});
  out.push_back({g.bandEnd, kBandEndCap});
  return out;
}

void CRTProgressBar::MakeOffscreen(CDC* like, CSize size) {
  m_offscreen.DeleteObject();
  m_offscreen.CreateCompatibleBitmap(like, std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
  m_offscreenSize = size;
  // No stale pixels before the parts land.
  CDC dc;
  dc.CreateCompatibleDC(like);
  HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(m_offscreen.GetSafeHandle()));
  dc.FillSolidRect(0, 0, size.cx, size.cy, ::GetSysColor(COLOR_BTNFACE));
  dc.SelectObject(old);
}

// Draws, in order, every piece that touches a changed one, clipped to the
// changed pieces; pixels elsewhere are the same in the old and the new
// picture, so the result equals a full paint. No changes given: everything.
void CRTProgressBar::DrawPieces(CDC* dc, const std::vector<Piece>& pieces, const std::vector<Piece>& changed) {
  const int w = PartLength();
  auto area = [&](int at) {
    return m_vertical ? CRect(0, at, m_partWidth, at + w) : CRect(at, 0, at + w, m_partHeight);
  };
  CRgn clip;
  if (!changed.empty()) {
    clip.CreateRectRgn(0, 0, 0, 0);
    for (const Piece& p : changed) {
      CRgn one;
      const CRect r = area(p.at);
      one.CreateRectRgnIndirect(&r);
      clip.CombineRgn(&clip, &one, RGN_OR);
    }
    dc->SelectClipRgn(&clip);
  }
  auto touches = [&](const Piece& p) {
    return changed.empty() ||
           std::any_of(changed.begin(), changed.end(), [&](const Piece& c) { return std::abs(c.at - p.at) < w; });
  };
  for (const Piece& p : pieces)
    if (touches(p)) m_parts.Draw(dc, p.part, area(p.at).TopLeft(), ILD_TRANSPARENT);
  if (!changed.empty()) dc->SelectClipRgn(nullptr);
}

void CRTProgressBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  const bool full = !m_offscreen.GetSafeHandle() || client.Size() != m_offscreenSize;
  if (full) MakeOffscreen(&dc, client.Size());
  const Geometry now = GetGeometry();
  const std::vector<Piece> pieces = Pieces(now, PartLength());
  CDC picture;
  picture.CreateCompatibleDC(&dc);
  HGDIOBJ old = picture.SelectObject(static_cast<HGDIOBJ>(m_offscreen.GetSafeHandle()));
  if (full) {
    DrawPieces(&picture, pieces, {});
  } else if (now != m_drawn) {
    DrawPieces(&picture, pieces, Changed(Pieces(m_drawn, PartLength()), pieces));
  }
  dc.BitBlt(0, 0, client.Width(), client.Height(), &picture, 0, 0, SRCCOPY);
  picture.SelectObject(old);
  m_drawn = now;
}

BOOL CRTProgressBar::OnEraseBkgnd(CDC* pDC) {
  const BOOL erased = CStatic::OnEraseBkgnd(pDC);
  UpdateStatus();
  return erased;
}

LONGLONG CRTProgressBar::Share(LONGLONG units, LONGLONG scale) const {
  return HasRange() ? units * scale / (static_cast<LONGLONG>(m_upper) - m_lower) : 0;
}

CString CRTProgressBar::PercentText() const {
  const int percent = static_cast<int>(Share(static_cast<LONGLONG>(m_pos) - m_lower, 100));
  CString text;
  text.Format(m_textMode > 0 ? " (%d%%)" : " %d%%", percent);
  return text;
}

CString CRTProgressBar::ComposeStatusText(CDC* dc, int available) const {
  const int mode = std::abs(m_textMode);
  const CString percent = mode >= 1 && mode <= 3 ? PercentText() : CString();
  CString following;
  if (mode == 1) following = percent;
  if (mode == 2 || mode == 3) FormatTimeEstimate(following);
  const int blanks = 2 * dc->GetTextExtent(CString(" ")).cx;
  auto fitPrefix = [&](const CString& after) {
    return FitTextToWidth(dc, m_prefix, available - blanks - dc->GetTextExtent(after).cx, 0);
  };
  CString prefix = fitPrefix(following);
  // Short of room, the estimate gives way to the percentage.
  if (mode == 3 && prefix != m_prefix) {
    following = percent + "...";
    prefix = fitPrefix(following);
  }
  CString text = prefix + following;
  text.TrimLeft();
  return text.IsEmpty() ? CString(" ") : text;
}

void CRTProgressBar::FollowPlaceholder() {
  const CRect target = PlaceholderRect();
  if (target != m_rect && target.Width() >= 3 && target.Height() >= 3) {
    m_rect = target;
    MoveWindow(&m_rect, TRUE);
    Invalidate();
  } else if (GetGeometry() != m_drawn) {
    Invalidate(TRUE);
  }
}

void CRTProgressBar::UpdateStatus() {
  if (!GetSafeHwnd()) return;
  CString text;
  const bool withText = m_textCtrl && m_textCtrl->GetSafeHwnd();
  if (withText) {
    CClientDC dc(m_textCtrl);
    HFONT font = reinterpret_cast<HFONT>(m_textCtrl->SendMessage(WM_GETFONT));
    HGDIOBJ oldFont = font ? dc.SelectObject(static_cast<HGDIOBJ>(font)) : nullptr;
    CRect window;
    m_textCtrl->GetWindowRect(&window);
    text = ComposeStatusText(&dc, window.Width());
    if (oldFont) dc.SelectObject(oldFont);
  }
  if (IsWindowVisible()) FollowPlaceholder();
  if (withText && text != m_lastText) {
    m_textCtrl->SetWindowText(text);
    m_lastText = text;
  }
}

void CRTProgressBar::FormatTimeEstimate(CString& text) const {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  const LONGLONG elapsed = std::max<LONGLONG>(0, static_cast<LONGLONG>(HundredNsOf(now) - m_start100ns));
  text += " ";
  if (m_textMode > 0) text += "(";
  if (OtherDay(now, m_start)) AppendDate(text, m_start);
  text.AppendFormat("%02d:%02d:%02d - ", m_start.wHour, m_start.wMinute, m_start.wSecond);
  AppendSpan(text, elapsed);

  const LONGLONG done = Share(static_cast<LONGLONG>(m_pos) - m_bandStartPos, kFullScale);
  const int percent = static_cast<int>(done / 256);
  text.AppendFormat("%d%% / ", percent);
  text.AppendFormat("%d%% - ", 100 - percent);

  const LONGLONG total = done > 0 ? elapsed * kFullScale / done : elapsed;
  AppendSpan(text, total - elapsed);
  const SYSTEMTIME end = TimeOf(m_start100ns + static_cast<ULONGLONG>(total));
  if (OtherDay(end, now)) AppendDate(text, end);
  text.AppendFormat("%02d:%02d:%02d", end.wHour, end.wMinute, end.wSecond);
  if (m_textMode > 0) text += ")";
}

CString FitTextToWidth(CDC* dc, CString text, int available, int reserved) {
  const CString dots("...");
  if (text.GetLength() >= dots.GetLength() && text.Right(dots.GetLength()) == dots)
    text = text.Left(text.GetLength() - dots.GetLength());
  auto width = [dc](const CString& s) { return static_cast<int>(dc->GetTextExtent(s).cx); };
  const int textWidth = text.IsEmpty() ? 0 : width(text);
  if (text.IsEmpty() || textWidth + reserved <= available) return text;
  const int dotsWidth = width(dots);
  if (dotsWidth + width(text.Left(1)) >= textWidth) return text;
  reserved += dotsWidth / 2;
  while (text.GetLength() > 1 && width(text) + reserved > available) {
    text = text.Left(text.GetLength() - 1);
    text.TrimRight();
  }
  return text + dots;
}
