#include "Clipboard.h"

#include <cstdint>
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

// Text another program put on the clipboard since we last looked replaces ours. Only while no
// one has the clipboard open: a block lent by GetClipboardData stays valid until then.
void TakeForeignText(Clipboard& c, bool opening) {
  std::string text;
  if (!PlatformDisplay()->ForeignClipboardText(text)) return;
  std::lock_guard<std::mutex> g(c.lock);
  if (c.open && !opening) return;
  ReplaceTextLocked(c, text.empty() ? nullptr : BlockOfText(text));
}

// Windows-1252 for the code points it has beyond Latin-1 (0x80 to 0x9F); 0 where it has none.
const uint16_t kHigh1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char To1252(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] && kHigh1252[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

// The next code point of UTF-8 text at `p` (advanced past it); 0xFFFFFFFF for a byte that
// starts no well-formed character (it alone is consumed).
uint32_t NextUtf8(const unsigned char*& p, const unsigned char* end) {
  const unsigned char lead = *p++;
  if (lead < 0x80) return lead;
  int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
  if (more < 0 || lead > 0xF4) return 0xFFFFFFFF;
  uint32_t cp = lead & (0x3F >> more);
  const unsigned char* q = p;
  for (int i = 0; i < more; ++i, ++q) {
    if (q == end || (*q & 0xC0) != 0x80) return 0xFFFFFFFF;
    cp = cp << 6 | (*q & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not characters.
  static const uint32_t least[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < least[more] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0xFFFFFFFF;
  p = q;
  return cp;
}

}  // namespace

BOOL OpenClipboard(HWND) {
  Clipboard& c = Clip();
  {
    std::lock_guard<std::mutex> g(c.lock);
    if (c.open) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    c.open = true;
    c.changed = false;
  }
  TakeForeignText(c, true);
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
  TakeForeignText(c, false);
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
  TakeForeignText(c, false);
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

std::string PlatformClipboardTextFromSelection(const void* bytes, size_t size, bool utf8) {
  std::string text;
  if (!bytes) return text;
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  const unsigned char* end = p + size;
  text.reserve(size);
  while (p < end) {
    uint32_t cp = utf8 ? NextUtf8(p, end) : *p++;
    if (cp == 0) break;
    // Latin-1's 0x80 to 0x9F are control characters, not the code page's letters there.
    char c = cp == 0xFFFFFFFF || (cp >= 0x80 && cp < 0xA0) ? '?' : To1252(cp);
    if (c == '\n' && (text.empty() || text.back() != '\r')) text += '\r';
    text += c;
  }
  return text;
}
