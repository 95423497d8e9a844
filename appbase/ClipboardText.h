// Text on the clipboard, as CF_TEXT. The log list's copy command puts text
// there; the readers are offered for pages that paste.
#pragma once

#include "afx.h"

// The clipboard's text; empty when it cannot be opened or holds none.
CString GetClipboardText();
// FALSE for no buffer, no room or no text (the buffer then holds ""); else the
// clipboard's block, cut to length - 1 bytes, always ended by a NUL.
BOOL GetClipboardText(char* buffer, unsigned length);
// The size of the clipboard's CF_TEXT block in bytes; 0 when there is none.
SIZE_T GetClipboardTextSize();
// Replaces the clipboard's contents with the text.
BOOL SetClipboardText(LPCTSTR text);
