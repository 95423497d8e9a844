// The paint cycle: update regions, WM_PAINT when nothing else is queued,
// BeginPaint/EndPaint, and window and client device contexts over the
// top-level window's surface.
//
// Child windows paint into their top-level window's surface, parents before
// children and lower siblings before higher ones. A parent without
// WS_CLIPCHILDREN paints over its children, so every child that such a
// parent's paint overlaps is painted again after it.

#include <algorithm>

#include "Display.h"
#include "Gdi.h"
#include "UiPlatform.h"
#include "WindowManager.h"

PLATFORM_API HDC PlatformScreenDC();

namespace wm {

void UpdateRegion::Add(const RECT& rc) {
  if (IsRectEmpty(&rc)) return;
  for (const RECT& r : rects) {
    RECT u;
    if (IntersectRect(&u, &r, &rc) && EqualRect(&u, &rc)) return;  // already covered
  }
  rects.push_back(rc);
  if (rects.size() > 16) {
    RECT b = Bounds();
    rects.assign(1, b);
  }
}

void UpdateRegion::Subtract(const RECT& cut) {
  std::vector<RECT> out;
  for (const RECT& r : rects) {
    RECT x;
    if (!IntersectRect(&x, &r, &cut)) {
      out.push_back(r);
      continue;
    }
    if (r.top < x.top) out.push_back(RECT{r.left, r.top, r.right, x.top});
    if (x.bottom < r.bottom) out.push_back(RECT{r.left, x.bottom, r.right, r.bottom});
    if (r.left < x.left) out.push_back(RECT{r.left, x.top, x.left, x.bottom});
    if (x.right < r.right) out.push_back(RECT{x.right, x.top, r.right, x.bottom});
  }
  rects.swap(out);
}

RECT UpdateRegion::Bounds() const {
  RECT b{};
  for (const RECT& r : rects) UnionRect(&b, &b, &r);
  return b;
}

static RECT ClientSize(const Window* w) {
  return RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
}

// `rc` is in the window's client coordinates (null: all of it).
void InvalidateLocked(Window* w, const RECT* rc, bool erase, bool children) {
  if (!w || w == Desktop()) return;
  RECT cl = ClientSize(w);
  RECT r = cl;
  if (rc && !IntersectRect(&r, rc, &cl)) return;
  w->update.Add(r);
  if (erase) w->erase = true;
  if (children) {
    for (Window* c : w->children) {
      if (!(c->style & WS_VISIBLE)) continue;
      RECT x;
      if (!IntersectRect(&x, &r, &c->rect)) continue;
      OffsetRect(&x, -c->rect.left - c->client.left, -c->rect.top - c->client.top);
      if (!(x.left >= 0 && x.top >= 0 && x.right <= c->client.right - c->client.left &&
            x.bottom <= c->client.bottom - c->client.top))
        c->ncPaint = true;
      InvalidateLocked(c, &x, erase, true);
    }
  }
  if (w->queue) {
    ++w->queue->arrivals;
    w->queue->Wake();
  }
}

void ForgetWindowPaint(Window* w) {
  w->update.Clear();
  w->erase = w->ncPaint = w->internalPaint = false;
}

static bool NeedsPaint(const Window* w) { return !w->update.Empty() || w->ncPaint || w->internalPaint; }

static Window* FindPaint(Window* w, ThreadQueue* q, HWND filter) {
  if (!(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE)) return nullptr;
  if (w->queue.get() == q && NeedsPaint(w)) {
    bool match = !filter || w->hwnd == filter;
    for (Window* a = w; !match && a && (a->style & WS_CHILD); a = a->parent) match = a->parent && a->parent->hwnd == filter;
    if (match) return w;
  }
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
    if (Window* found = FindPaint(*it, q, filter)) return found;
  }
  return nullptr;
}

Window* NextWindowToPaint(ThreadQueue* q, HWND filter) {
  if (filter == reinterpret_cast<HWND>(-1)) return nullptr;
  auto& tops = Desktop()->children;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    if (Window* found = FindPaint(*it, q, filter)) return found;
  }
  return nullptr;
}

// A device context on the window's top-level surface: window coordinates when
// `whole`, else client coordinates; `clip` (same coordinates, optional)
// narrows it further, and `update` (client coordinates) to the rectangles of
// an update region. Ancestors' client areas always clip, and a client context
// of a WS_CLIPCHILDREN window leaves out its visible children.
static HDC MakeDC(Window* w, bool whole, const RECT* clip, const std::vector<RECT>* update = nullptr) {
  Window* top = TopLevelOf(w);
  if (!top || !top->surface) return PlatformScreenDC();
  POINT origin = WindowOriginOnSurface(w);
  RECT area = whole ? RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top} : w->client;
  if (!whole) {
    origin.x += w->client.left;
    origin.y += w->client.top;
    OffsetRect(&area, -w->client.left, -w->client.top);
  }
  RECT box = area;
  if (clip) IntersectRect(&box, &box, clip);
  OffsetRect(&box, origin.x, origin.y);
  for (Window* a = w->parent; a && a != Desktop(); a = a->parent) {
    POINT o = WindowOriginOnSurface(a);
    RECT c = a->client;
    OffsetRect(&c, o.x, o.y);
    IntersectRect(&box, &box, &c);
  }
  RECT surfaceRect{0, 0, top->surface->width, top->surface->height};
  IntersectRect(&box, &box, &surfaceRect);
  HDC hdc = PlatformCreateSurfaceDC(top->surface.get(), origin, box, w->hwnd);
  bool clipChildren = false;
  if (!whole && (w->style & WS_CLIPCHILDREN)) {
    for (Window* c : w->children) clipChildren = clipChildren || (c->style & WS_VISIBLE);
  }
  bool several = update && update->size() > 1;
  if (hdc && (clipChildren || several)) {
    HRGN region = CreateRectRgnIndirect(&box);
    if (several) {
      HRGN parts = CreateRectRgn(0, 0, 0, 0);
      for (RECT r : *update) {
        OffsetRect(&r, origin.x, origin.y);
        HRGN part = CreateRectRgnIndirect(&r);
        CombineRgn(parts, parts, part, RGN_OR);
        DeleteObject(part);
      }
      CombineRgn(region, region, parts, RGN_AND);
      DeleteObject(parts);
    }
    if (clipChildren) {
      for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        RECT r = c->rect;
        OffsetRect(&r, origin.x, origin.y);
        HRGN part = CreateRectRgnIndirect(&r);
        CombineRgn(region, region, part, RGN_DIFF);
        DeleteObject(part);
      }
    }
    PlatformSetSurfaceDCRegion(hdc, region);
    DeleteObject(region);
  }
  return hdc;
}

static void NotifyPainted(HWND hwnd) {
  HWND top;
  RECT dirty{};
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return;
    Window* t = TopLevelOf(w);
    if (!t || !t->surface) return;
    top = t->hwnd;
    POINT o = WindowOriginOnSurface(w);
    dirty = RECT{o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
  }
  PlatformDisplay()->SurfacePainted(top, dirty);
}

}  // namespace wm

using namespace wm;

BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase) {
  Guard g(Lock());
  Window* w = hwnd ? Find(hwnd) : nullptr;
  if (!hwnd) {
    // All windows, as the system does for a null window.
    for (Window* t : Desktop()->children) InvalidateLocked(t, nullptr, erase, true), t->ncPaint = true;
    return TRUE;
  }
  if (!w) return FALSE;
  InvalidateLocked(w, rc, erase != FALSE, !(w->style & WS_CLIPCHILDREN));
  return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
  RECT box;
  if (GetRgnBox(rgn, &box) == ERROR) return FALSE;
  return InvalidateRect(hwnd, &box, erase);
}

BOOL ValidateRect(HWND hwnd, const RECT* rc) {
  bool nc = false;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    if (!rc) {
      nc = w->ncPaint;
      w->ncPaint = false;
      w->update.Clear();
      w->erase = false;
      w->internalPaint = false;
    } else {
      w->update.Subtract(*rc);
      if (w->update.Empty()) w->erase = false;
    }
  }
  if (nc) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
  if (!rgn) return ValidateRect(hwnd, nullptr);
  RECT box;
  if (GetRgnBox(rgn, &box) == ERROR) return FALSE;
  return ValidateRect(hwnd, &box);
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rc, BOOL erase) {
  bool pending;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    pending = !w->update.Empty();
    if (rc) *rc = w->update.Bounds();
  }
  if (pending && erase) {
    HDC hdc = GetDC(hwnd);
    bool want;
    {
      Guard g(Lock());
      Window* w = Find(hwnd);
      want = w && w->erase;
      if (w) w->erase = false;
    }
    if (want) SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    ReleaseDC(hwnd, hdc);
  }
  return pending;
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  RECT box{};
  if (!rgn) return ERROR;
  BOOL pending = GetUpdateRect(hwnd, &box, erase);
  std::vector<RECT> rects;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return ERROR;
    rects = w->update.rects;
  }
  SetRectRgn(rgn, 0, 0, 0, 0);
  for (const RECT& r : rects) {
    HRGN part = CreateRectRgnIndirect(&r);
    CombineRgn(rgn, rgn, part, RGN_OR);
    DeleteObject(part);
  }
  if (!pending) return NULLREGION;
  return rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL UpdateWindow(HWND hwnd) {
  bool pending;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    // A window that does not show (itself or an ancestor hidden) keeps its
    // update region for when it shows: painted now, at a place it is about
    // to leave, it would leave its picture behind.
    pending = ReallyVisible(w) && (!w->update.Empty() || w->ncPaint || w->internalPaint);
  }
  if (pending) SendMessageA(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

static void PaintNow(HWND hwnd, bool children) {
  bool pending;
  std::vector<HWND> kids;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w || !ReallyVisible(w)) return;
    pending = !w->update.Empty() || w->ncPaint || w->internalPaint;
  }
  if (pending) SendMessageA(hwnd, WM_PAINT, 0, 0);
  if (!children) return;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) kids.push_back((*it)->hwnd);
  }
  for (HWND k : kids) PaintNow(k, true);
}

BOOL RedrawWindow(HWND hwnd, const RECT* rc, HRGN rgn, UINT flags) {
  if (!hwnd) hwnd = GetDesktopWindow();
  RECT box;
  const RECT* area = rc;
  if (rgn && GetRgnBox(rgn, &box) != ERROR) area = &box;
  bool children;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (flags & RDW_INVALIDATE) {
      InvalidateLocked(w, area, (flags & RDW_ERASE) != 0, children);
      if (flags & RDW_FRAME) w->ncPaint = true;
    }
    if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
    if (flags & RDW_VALIDATE) {
      if (area)
        w->update.Subtract(*area);
      else
        w->update.Clear();
      if (flags & RDW_NOERASE) w->erase = false;
      if (flags & RDW_NOFRAME) w->ncPaint = false;
    }
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) PaintNow(hwnd, children);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  if (!ps) return nullptr;
  *ps = PAINTSTRUCT{};
  bool nc;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    nc = w->ncPaint;
    w->ncPaint = false;
  }
  if (nc) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  HDC hdc;
  RECT paint{};
  bool erase;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    RECT cl = ClientSize(w);
    RECT bounds = w->update.Bounds();
    IntersectRect(&paint, &bounds, &cl);
    // Validate first: whatever WM_ERASEBKGND or WM_PAINT invalidates again is painted again.
    erase = w->erase;
    std::vector<RECT> update = w->update.rects;
    w->update.Clear();
    w->erase = false;
    w->internalPaint = false;
    // A parent that does not clip its children paints over them; they paint again after it.
    if (!(w->style & WS_CLIPCHILDREN)) {
      for (Window* c : w->children) {
        RECT x;
        if ((c->style & WS_VISIBLE) && IntersectRect(&x, &paint, &c->rect)) {
          c->ncPaint = true;
          InvalidateLocked(c, nullptr, true, true);
        }
      }
    }
    hdc = MakeDC(w, false, &paint, &update);
  }
  ps->hdc = hdc;
  ps->rcPaint = paint;
  ps->fErase = FALSE;
  if (erase && hdc) ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
  return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  if (ps->hdc) DeleteDC(ps->hdc);
  NotifyPainted(hwnd);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) return PlatformScreenDC();
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (w == Desktop()) return PlatformScreenDC();
  return MakeDC(w, false, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return PlatformScreenDC();
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (w == Desktop()) return PlatformScreenDC();
  return MakeDC(w, true, nullptr);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  HDC hdc = (flags & DCX_WINDOW) ? GetWindowDC(hwnd) : GetDC(hwnd);
  if (hdc && clip && (flags & DCX_INTERSECTRGN)) ExtSelectClipRgn(hdc, clip, RGN_AND);
  if (hdc && clip && (flags & DCX_EXCLUDERGN)) ExtSelectClipRgn(hdc, clip, RGN_DIFF);
  return hdc;
}

int ReleaseDC(HWND hwnd, HDC hdc) {
  if (!hdc) return 0;
  DeleteDC(hdc);
  if (hwnd) NotifyPainted(hwnd);
  return 1;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }
