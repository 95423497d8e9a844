#include "ClipboardText.h"

#include <cstring>

#include "afxwin.h"

namespace {

// Opens the clipboard for the life of the object; Opened() says whether that worked.
class ClipboardOpen {
 public:
  ClipboardOpen() : m_open(::OpenClipboard(nullptr) != FALSE) {}
  ~ClipboardOpen() {
    if (m_open) ::CloseClipboard();
  }
  bool Opened() const { return m_open; }

 private:
  bool m_open;
};

}  // namespace

CString GetClipboardText() {
  ClipboardOpen clipboard;
  if (!clipboard.Opened()) return CString();
  HANDLE mem = ::GetClipboardData(CF_TEXT);
  if (!mem) return CString();
  const char* data = static_cast<const char*>(::GlobalLock(mem));
  if (!data) return CString();
  // A block from another program need not end in a NUL.
  CString text(data, static_cast<int>(strnlen(data, ::GlobalSize(mem))));
  ::GlobalUnlock(mem);
  return text;
}

BOOL GetClipboardText(char* buffer, unsigned length) {
  if (!buffer || length == 0) return FALSE;
  buffer[0] = '\0';
  ClipboardOpen clipboard;
  if (!clipboard.Opened()) return FALSE;
  HANDLE mem = ::GetClipboardData(CF_TEXT);
  if (!mem) return FALSE;
  SIZE_T size = ::GlobalSize(mem);
  const char* data = static_cast<const char*>(::GlobalLock(mem));
  if (!data) return FALSE;
  memset(buffer, 0, length);
  memcpy(buffer, data, size < length ? size : length - 1);
  ::GlobalUnlock(mem);
  return TRUE;
}

SIZE_T GetClipboardTextSize() {
  ClipboardOpen clipboard;
  if (!clipboard.Opened()) return 0;
  HANDLE mem = ::GetClipboardData(CF_TEXT);
  return mem ? ::GlobalSize(mem) : 0;
}

BOOL SetClipboardText(LPCTSTR text) {
  if (!text) text = "";
  ClipboardOpen clipboard;
  if (!clipboard.Opened()) return FALSE;
  ::EmptyClipboard();
  size_t length = strlen(text);
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
  if (!mem) return FALSE;
  char* data = static_cast<char*>(::GlobalLock(mem));
  if (!data) {
    ::GlobalFree(mem);
    return FALSE;
  }
  memcpy(data, text, length);
  ::GlobalUnlock(mem);
  if (!::SetClipboardData(CF_TEXT, mem)) {
    ::GlobalFree(mem);  // still ours when the clipboard refused it
    return FALSE;
  }
  return TRUE;
}
