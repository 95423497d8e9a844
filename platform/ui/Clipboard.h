// The clipboard, text only. Data goes in and out as global memory blocks
// (GlobalMemory.h): SetClipboardData takes the block over, GetClipboardData
// lends the clipboard's own block, valid until the clipboard is emptied. Both
// need the clipboard opened by the caller, and one opener at a time, as on the
// platform the program was written for. On an X display the text is also
// offered to other programs as the CLIPBOARD selection.
#pragma once

#include <string>

#include "GlobalMemory.h"
#include "Types.h"

#define CF_TEXT 1

PLATFORM_API BOOL OpenClipboard(HWND owner);
PLATFORM_API BOOL CloseClipboard();
// Frees the data on the clipboard; fails (ERROR_CLIPBOARD_NOT_OPEN) unless opened.
PLATFORM_API BOOL EmptyClipboard();
PLATFORM_API BOOL IsClipboardFormatAvailable(UINT format);
// Returns the block, now the clipboard's, or null: clipboard not open, a format
// other than CF_TEXT, or a block that is not a live global block.
PLATFORM_API HANDLE SetClipboardData(UINT format, HANDLE mem);
PLATFORM_API HANDLE GetClipboardData(UINT format);

// The text on the clipboard up to its first NUL, and a replacement for it,
// without the open and close steps: the edit control's copy and paste.
PLATFORM_API std::string PlatformGetClipboardText();
PLATFORM_API void PlatformSetClipboardText(const std::string& text);

// Text another program offers (the bytes of its selection, UTF-8 or Latin-1)
// as the clipboard keeps text: Windows-1252, lines ended by CR LF, up to the
// first NUL. A character the code page lacks, or a byte that is no character
// of the encoding, becomes "?".
PLATFORM_API std::string PlatformClipboardTextFromSelection(const void* bytes, size_t size, bool utf8);
