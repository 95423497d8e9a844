// The GDI wrapper classes of the class layer, with their handle maps.
#include "afxgdi.h"

#include <cstring>
#include <memory>
#include <unordered_map>

#include "AfxWnd.h"
#include "GdiInternal.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)
IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

void Clear(CGdiObject& o) { o.m_hObject = nullptr; }
void Clear(CDC& d) { d.m_hDC = d.m_hAttribDC = nullptr; }
void Clear(CImageList& l) { l.m_hImageList = nullptr; }

// Permanent wrappers are the program's own objects (attached handles);
// temporary ones are made by FromHandle and go when their handle goes. A
// wrapper that goes is emptied first, so that it frees nothing.
template <class W>
struct WrapperMap {
  std::unordered_map<void*, W*> permanent;
  std::unordered_map<void*, std::unique_ptr<W>> temporary;

  W* Find(void* h) {
    auto p = permanent.find(h);
    if (p != permanent.end()) return p->second;
    auto t = temporary.find(h);
    return t != temporary.end() ? t->second.get() : nullptr;
  }
  W* AddTemporary(void* h, W* w) {
    temporary[h].reset(w);
    return w;
  }
  void Detach(void* h, W* w) {
    auto it = permanent.find(h);
    if (it != permanent.end() && it->second == w) permanent.erase(it);
  }
  void Forget(void* h) {
    permanent.erase(h);
    auto t = temporary.find(h);
    if (t == temporary.end()) return;
    Clear(*t->second);
    temporary.erase(t);
  }
  void ClearTemporaries() {
    for (auto& t : temporary) Clear(*t.second);
    temporary.clear();
  }
};

struct HandleMaps {
  WrapperMap<CGdiObject> objects;
  WrapperMap<CDC> dcs;
  WrapperMap<CImageList> lists;
};

HandleMaps* g_maps = nullptr;

HandleMaps& Maps() {
  static HandleMaps* m = [] {
    g_maps = new HandleMaps;
    gdi::g_destroyHook = [](void* h) {
      g_maps->objects.Forget(h);
      g_maps->dcs.Forget(h);
      g_maps->lists.Forget(h);
    };
    return g_maps;
  }();
  return *m;
}

template <class T>
const T* NonNull(const T* p) {
  // The program calls the safe-handle getters through possibly null pointers.
  __asm__("" : "+r"(p));
  return p;
}

// Wrapper pointers the program passes may be null (CreateCompatibleDC(NULL)).
HGDIOBJ HandleOf(const CGdiObject* o) { return o ? o->m_hObject : nullptr; }
HDC HdcOf(const CDC* dc) { return dc ? dc->m_hDC : nullptr; }

}  // namespace

// ---------------------------------------------------------------- CGdiObject

CGdiObject::~CGdiObject() { DeleteObject(); }

HGDIOBJ CGdiObject::GetSafeHandle() const {
  const CGdiObject* self = NonNull(this);
  return self ? self->m_hObject : nullptr;
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ h) {
  if (!h) return nullptr;
  GDI_LOCK;
  if (CGdiObject* found = Maps().objects.Find(h)) return found;
  CGdiObject* o;
  switch (::GetObjectType(h)) {
    case OBJ_PEN:
      o = new CPen;
      break;
    case OBJ_BRUSH:
      o = new CBrush;
      break;
    case OBJ_FONT:
      o = new CFont;
      break;
    case OBJ_BITMAP:
      o = new CBitmap;
      break;
    case OBJ_REGION:
      o = new CRgn;
      break;
    case 0:
      return nullptr;  // not a live object
    default:
      o = new CGdiObject;
      break;
  }
  o->m_hObject = h;
  return Maps().objects.AddTemporary(h, o);
}

void PASCAL CGdiObject::DeleteTempMap() {
  GDI_LOCK;
  Maps().objects.ClearTemporaries();
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
  if (!h) return FALSE;
  GDI_LOCK;
  m_hObject = h;
  Maps().objects.permanent[h] = this;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  GDI_LOCK;
  HGDIOBJ h = m_hObject;
  Maps().objects.Detach(h, this);
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }

UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }

BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

// ---------------------------------------------------------------- pens, brushes, fonts, bitmaps

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
CPen* PASCAL CPen::FromHandle(HPEN h) { return static_cast<CPen*>(CGdiObject::FromHandle(h)); }
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
  return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
CBrush::CBrush(int nIndex, COLORREF crColor) { CreateHatchBrush(nIndex, crColor); }
CBrush* PASCAL CBrush::FromHandle(HBRUSH h) { return static_cast<CBrush*>(CGdiObject::FromHandle(h)); }
BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) { return Attach(::CreateHatchBrush(nIndex, crColor)); }
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return Attach(::CreatePatternBrush(static_cast<HBITMAP>(HandleOf(pBitmap))));
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return Attach(::CreateBrushIndirect(lpLogBrush)); }
BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }

CFont* PASCAL CFont::FromHandle(HFONT h) { return static_cast<CFont*>(CGdiObject::FromHandle(h)); }
BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
  return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                              nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}
BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
  LOGFONT lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = nPointSize;
  if (lpszFaceName) std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
  return CreatePointFontIndirect(&lf, pDC);
}
BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
  if (!lpLogFont) return FALSE;
  HDC screen = pDC ? nullptr : PlatformScreenDC();
  HDC hdc = pDC ? pDC->m_hAttribDC : screen;
  LOGFONT lf = *lpLogFont;
  // Tenths of a point to pixels at the context's resolution.
  POINT pt{0, ::GetDeviceCaps(hdc, LOGPIXELSY) * lf.lfHeight / 720};
  ::DPtoLP(hdc, &pt, 1);
  lf.lfHeight = -(pt.y < 0 ? -pt.y : pt.y);
  if (screen) ::DeleteDC(screen);
  return CreateFontIndirect(&lf);
}

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP h) { return static_cast<CBitmap*>(CGdiObject::FromHandle(h)); }
BOOL CBitmap::LoadBitmap(UINT nIDResource) {
  return LoadBitmap(reinterpret_cast<LPCTSTR>(static_cast<uintptr_t>(nIDResource & 0xFFFF)));
}
BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) { return Attach(::LoadBitmapA(nullptr, lpszResourceName)); }
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
  return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(HdcOf(pDC), nWidth, nHeight));
}
DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
  return static_cast<DWORD>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits));
}
DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
  return static_cast<DWORD>(::GetBitmapBits(static_cast<HBITMAP>(m_hObject), static_cast<LONG>(dwCount), lpBits));
}
CSize CBitmap::GetBitmapDimension() const {
  SIZE size{0, 0};
  ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
  return CSize(size);
}

// ---------------------------------------------------------------- regions

CRgn* PASCAL CRgn::FromHandle(HRGN h) { return static_cast<CRgn*>(CGdiObject::FromHandle(h)); }
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT r) {
  return r && Attach(::CreateEllipticRgn(r->left, r->top, r->right, r->bottom));
}
BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
  return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}
BOOL CRgn::CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode) {
  return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}
BOOL CRgn::CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
  return Attach(::ExtCreateRegion(lpXForm, static_cast<DWORD>(nCount), pRgnData));
}
void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn(*this, x1, y1, x2, y2); }
void CRgn::SetRectRgn(LPCRECT r) { ::SetRectRgn(*this, r->left, r->top, r->right, r->bottom); }
int CRgn::CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode) {
  return ::CombineRgn(*this, static_cast<HRGN>(HandleOf(pRgn1)), static_cast<HRGN>(HandleOf(pRgn2)), nCombineMode);
}
int CRgn::CopyRgn(CRgn* pRgnSrc) {
  return ::CombineRgn(*this, static_cast<HRGN>(HandleOf(pRgnSrc)), nullptr, RGN_COPY);
}
BOOL CRgn::EqualRgn(CRgn* pRgn) const { return ::EqualRgn(*this, static_cast<HRGN>(HandleOf(pRgn))); }
int CRgn::OffsetRgn(int x, int y) { return ::OffsetRgn(*this, x, y); }
int CRgn::OffsetRgn(POINT point) { return ::OffsetRgn(*this, point.x, point.y); }
int CRgn::GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(*this, lpRect); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
BOOL CRgn::PtInRegion(POINT point) const { return ::PtInRegion(*this, point.x, point.y); }
BOOL CRgn::RectInRegion(LPCRECT lpRect) const { return ::RectInRegion(*this, lpRect); }
int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
  return static_cast<int>(::GetRegionData(*this, static_cast<DWORD>(nCount), lpRgnData));
}

// ---------------------------------------------------------------- CDC

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

HDC CDC::GetSafeHdc() const {
  const CDC* self = NonNull(this);
  return self ? self->m_hDC : nullptr;
}

CDC* PASCAL CDC::FromHandle(HDC h) {
  if (!h) return nullptr;
  GDI_LOCK;
  if (CDC* found = Maps().dcs.Find(h)) return found;
  if (!gdi::AsDc(h)) return nullptr;
  CDC* dc = new CDC;
  dc->m_hDC = dc->m_hAttribDC = h;
  return Maps().dcs.AddTemporary(h, dc);
}

void PASCAL CDC::DeleteTempMap() {
  GDI_LOCK;
  Maps().dcs.ClearTemporaries();
}

BOOL CDC::Attach(HDC h) {
  if (!h) return FALSE;
  GDI_LOCK;
  m_hDC = m_hAttribDC = h;
  Maps().dcs.permanent[h] = this;
  return TRUE;
}

HDC CDC::Detach() {
  GDI_LOCK;
  HDC h = m_hDC;
  Maps().dcs.Detach(h, this);
  m_hDC = m_hAttribDC = nullptr;
  return h;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(HdcOf(pDC))); }

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC ? m_hAttribDC : m_hDC, nIndex); }

CPen* CDC::SelectObject(CPen* pPen) {
  return static_cast<CPen*>(CGdiObject::FromHandle(::SelectObject(m_hDC, HandleOf(pPen))));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
  return static_cast<CBrush*>(CGdiObject::FromHandle(::SelectObject(m_hDC, HandleOf(pBrush))));
}
CFont* CDC::SelectObject(CFont* pFont) {
  return static_cast<CFont*>(CGdiObject::FromHandle(::SelectObject(m_hDC, HandleOf(pFont))));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return static_cast<CBitmap*>(CGdiObject::FromHandle(::SelectObject(m_hDC, HandleOf(pBitmap))));
}
int CDC::SelectObject(CRgn* pRgn) {
  return static_cast<int>(reinterpret_cast<intptr_t>(::SelectObject(m_hDC, HandleOf(pRgn))));
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, HandleOf(pObject)));
}
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
CGdiObject* CDC::SelectStockObject(int nIndex) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}
CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CPoint CDC::GetViewportOrg() const {
  POINT p{0, 0};
  ::GetViewportOrgEx(m_hDC, &p);
  return CPoint(p);
}
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT p{0, 0};
  ::SetViewportOrgEx(m_hDC, x, y, &p);
  return CPoint(p);
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT p{0, 0};
  ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &p);
  return CPoint(p);
}
CPoint CDC::GetWindowOrg() const {
  POINT p{0, 0};
  ::GetWindowOrgEx(m_hDC, &p);
  return CPoint(p);
}
CPoint CDC::SetWindowOrg(int x, int y) {
  POINT p{0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &p);
  return CPoint(p);
}
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  POINT p{0, 0};
  ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &p);
  return CPoint(p);
}
CPoint CDC::SetBrushOrg(int x, int y) {
  POINT p{0, 0};
  ::SetBrushOrgEx(m_hDC, x, y, &p);
  return CPoint(p);
}

int CDC::SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(pRgn))); }
int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
  return ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(pRgn)), nMode);
}

CPoint CDC::GetCurrentPosition() const {
  POINT p{0, 0};
  ::GetCurrentPositionEx(m_hDC, &p);
  return CPoint(p);
}
CPoint CDC::MoveTo(int x, int y) {
  POINT p{0, 0};
  ::MoveToEx(m_hDC, x, y, &p);
  return CPoint(p);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(HandleOf(pBrush))); }
void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
  ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(HandleOf(pBrush)));
}
BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
  return ::FillRgn(m_hDC, static_cast<HRGN>(HandleOf(pRgn)), static_cast<HBRUSH>(HandleOf(pBrush)));
}
BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
  return ::FrameRgn(m_hDC, static_cast<HRGN>(HandleOf(pRgn)), static_cast<HBRUSH>(HandleOf(pBrush)), nWidth, nHeight);
}
BOOL CDC::PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, static_cast<HRGN>(HandleOf(pRgn))); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  ::SetBkColor(m_hDC, clr);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, clr);
}
void CDC::Draw3dRect(LPCRECT r, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, clrTopLeft, clrBottomRight);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  // Top and left in one colour, then right and bottom over the corners they share.
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
  FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush) {
  return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                      nFlags | DST_ICON);
}
BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, hIcon, nFlags, static_cast<HBRUSH>(HandleOf(pBrush)));
}
BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
  return ::DrawStateA(m_hDC, static_cast<HBRUSH>(HandleOf(pBrush)), nullptr,
                      reinterpret_cast<LPARAM>(HandleOf(pBitmap)), 0, pt.x, pt.y, size.cx, size.cy,
                      nFlags | DST_BITMAP);
}
BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush) {
  return ::DrawStateA(m_hDC, static_cast<HBRUSH>(HandleOf(pBrush)), nullptr, reinterpret_cast<LPARAM>(lpszText),
                      static_cast<WPARAM>(nTextLen), pt.x, pt.y, size.cx, size.cy,
                      nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, HdcOf(pSrcDC), xSrc, ySrc, dwRop);
}
BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, HdcOf(pSrcDC), xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}
BOOL CDC::TransparentBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                         int nSrcHeight, UINT clrTransparent) {
  return ::TransparentBlt(m_hDC, x, y, nWidth, nHeight, HdcOf(pSrcDC), xSrc, ySrc, nSrcWidth, nSrcHeight,
                          clrTransparent);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOutA(m_hDC, x, y, lpszString, nCount); }
BOOL CDC::TextOut(int x, int y, const CString& str) {
  return TextOut(x, y, static_cast<LPCTSTR>(str), str.GetLength());
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths) {
  return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths) {
  return ExtTextOut(x, y, nOptions, lpRect, static_cast<LPCTSTR>(str), static_cast<UINT>(str.GetLength()), lpDxWidths);
}
CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions,
                         int nTabOrigin) {
  LONG r = ::TabbedTextOutA(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin);
  return CSize(LOWORD(r), HIWORD(r));
}
CSize CDC::TabbedTextOut(int x, int y, const CString& str, int nTabPositions, LPINT lpnTabStopPositions,
                         int nTabOrigin) {
  return TabbedTextOut(x, y, static_cast<LPCTSTR>(str), str.GetLength(), nTabPositions, lpnTabStopPositions,
                       nTabOrigin);
}
int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
}
int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
  return DrawText(static_cast<LPCTSTR>(str), str.GetLength(), lpRect, nFormat);
}
CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32A(m_hAttribDC ? m_hAttribDC : m_hDC, lpszString, nCount, &size);
  return CSize(size);
}
CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(static_cast<LPCTSTR>(str), str.GetLength()); }
CSize CDC::GetTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const {
  DWORD r = ::GetTabbedTextExtentA(m_hDC, lpszString, nCount, nTabPositions, lpnTabStopPositions);
  return CSize(LOWORD(r), HIWORD(r));
}

// ---------------------------------------------------------------- window contexts

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps{}, m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::BeginPaint(m_hWnd, &m_ps)); }
CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }
CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

// ---------------------------------------------------------------- CImageList

CImageList::~CImageList() { DeleteImageList(); }

HIMAGELIST CImageList::GetSafeHandle() const {
  const CImageList* self = NonNull(this);
  return self ? self->m_hImageList : nullptr;
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST h) {
  if (!h) return nullptr;
  GDI_LOCK;
  if (CImageList* found = Maps().lists.Find(h)) return found;
  int cx, cy;
  if (!::ImageList_GetIconSize(h, &cx, &cy)) return nullptr;  // not a live list
  CImageList* il = new CImageList;
  il->m_hImageList = h;
  return Maps().lists.AddTemporary(h, il);
}

BOOL CImageList::Attach(HIMAGELIST h) {
  if (!h) return FALSE;
  GDI_LOCK;
  m_hImageList = h;
  Maps().lists.permanent[h] = this;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  GDI_LOCK;
  HIMAGELIST h = m_hImageList;
  Maps().lists.Detach(h, this);
  m_hImageList = nullptr;
  return h;
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  return ::ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  return Attach(::ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  CBitmap bm;
  if (!bm.LoadBitmap(nBitmapID)) return FALSE;
  BITMAP info;
  bm.GetBitmap(&info);
  UINT flags = ILC_COLOR | (crMask != CLR_NONE ? ILC_MASK : 0);
  if (!Create(cx, info.bmHeight, flags, info.bmWidth / (cx > 0 ? cx : 1), nGrow)) return FALSE;
  int first = crMask != CLR_NONE ? Add(&bm, crMask) : Add(&bm, static_cast<CBitmap*>(nullptr));
  if (first < 0) {
    DeleteImageList();
    return FALSE;
  }
  return TRUE;
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  return ::ImageList_Add(m_hImageList, static_cast<HBITMAP>(HandleOf(pbmImage)),
                         static_cast<HBITMAP>(HandleOf(pbmMask)));
}
int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  return ::ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(HandleOf(pbmImage)), crMask);
}
BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  return ::ImageList_Replace(m_hImageList, nImage, static_cast<HBITMAP>(HandleOf(pbmImage)),
                             static_cast<HBITMAP>(HandleOf(pbmMask)));
}
BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
  return ::ImageList_Draw(m_hImageList, nImage, HdcOf(pDC), pt.x, pt.y, nStyle);
}
BOOL CImageList::DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT, UINT fStyle, DWORD, COLORREF rgbBack,
                              COLORREF rgbFore) {
  return ::ImageList_DrawEx(m_hImageList, nImage, HdcOf(pDC), pt.x, pt.y, sz.cx, sz.cy, rgbBack, rgbFore, fStyle);
}
