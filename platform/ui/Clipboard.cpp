#include "Clipboard.h"

#include <cstring>
#include <mutex>

#include "Display.h"
#include "LastError.h"

namespace {

struct Clipboard {
  std::mutex lock;
  HGLOBAL text = nullptr;  // the CF_TEXT block, the clipboard's own
  bool open = false;
  bool changed = false;  // since it was opened: other programs hear of it at the close
};

// Lives past static destructors, as the window manager's tables do.
Clipboard& Clip() {
  static auto* c = new Clipboard;
  return *c;
}

std::string TextOfBlock(HGLOBAL mem) {
  std::string text;
  if (!mem) return text;
  SIZE_T size = GlobalSize(mem);
  const char* p = static_cast<const char*>(GlobalLock(mem));
  if (p) {
    text.assign(p, strnlen(p, size));
    GlobalUnlock(mem);
  }
  return text;
}

HGLOBAL BlockOfText(const std::string& text) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (!mem) return nullptr;
  char* p = static_cast<char*>(GlobalLock(mem));
  memcpy(p, text.data(), text.size());
  GlobalUnlock(mem);
  return mem;
}

void ReplaceTextLocked(Clipboard& c, HGLOBAL mem) {
  if (c.text && c.text != mem) GlobalFree(c.text);
  c.text = mem;
}

// Calls that need the clipboard opened first fail, as on the platform, when it is not.
bool IsOpenLocked(const Clipboard& c) {
  if (!c.open) SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return c.open;
}

void OfferToDisplay(const std::string& text) { PlatformDisplay()->ClipboardTextChanged(text); }

}  // namespace

BOOL OpenClipboard(HWND) {
  Clipboard& c = Clip();
  std::lock_guard<std::mutex> g(c.lock);
  if (c.open) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  c.open = true;
  c.changed = false;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& c = Clip();
  std::string offered;
  bool changed;
  {
    std::lock_guard<std::mutex> g(c.lock);
    if (!c.open) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return FALSE;
    }
    c.open = false;
    changed = c.changed;
    if (changed) offered = TextOfBlock(c.text);
  }
  if (changed) OfferToDisplay(offered);
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard& c = Clip();
  std::lock_guard<std::mutex> g(c.lock);
  if (!IsOpenLocked(c)) return FALSE;
  ReplaceTextLocked(c, nullptr);
  c.changed = true;
  return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  Clipboard& c = Clip();
  std::lock_guard<std::mutex> g(c.lock);
  return format == CF_TEXT && c.text != nullptr;
}

HANDLE SetClipboardData(UINT format, HANDLE mem) {
  Clipboard& c = Clip();
  std::lock_guard<std::mutex> g(c.lock);
  if (!IsOpenLocked(c)) return nullptr;
  if (format != CF_TEXT) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  if (!mem || GlobalSize(mem) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  ReplaceTextLocked(c, mem);
  c.changed = true;
  return mem;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard& c = Clip();
  std::lock_guard<std::mutex> g(c.lock);
  if (!IsOpenLocked(c)) return nullptr;
  if (format != CF_TEXT || !c.text) return nullptr;
  return c.text;
}

std::string PlatformGetClipboardText() {
  Clipboard& c = Clip();
  std::lock_guard<std::mutex> g(c.lock);
  return TextOfBlock(c.text);
}

void PlatformSetClipboardText(const std::string& text) {
  Clipboard& c = Clip();
  {
    std::lock_guard<std::mutex> g(c.lock);
    HGLOBAL mem = BlockOfText(text);
    if (!mem) return;
    ReplaceTextLocked(c, mem);
  }
  OfferToDisplay(text);
}
