// Checks of what the operator typed (group names, passwords, IP addresses,
// netmasks) and helpers that fill or search list controls. Every check returns
// a BOOL and shows nothing: the page shows its own message. Texts are byte
// strings, a character is one byte.
#pragma once

#include "afxwin.h"
#include "afxcmn.h"

BOOL IsAsciiText(LPCTSTR text);
BOOL IsNotAllSpaces(const CString& text);
BOOL IsValidNameChars(const CString& text);
BOOL IsDigitsOnly(LPCTSTR text);

// Three dots, none first or last; 1..223 but not 127, 0..255, 0..255, 1..254.
BOOL IsValidIpText(const CString& text);
BOOL IsValidIpCtrl(CWnd* ctrl);
// What a device on the LAN may call its MAC: 12 hex digits, neither the
// broadcast address (every F) nor all zeros.
BOOL IsDeviceMacText(const CString& text);
// A text from the LAN as one line: every control character (below 32, and
// 127) becomes a blank.
CString OneLineText(const CString& text);
// Four parts whose bits are ones from the top followed by zeros, top bit set, lowest clear.
BOOL IsValidNetmaskText(const CString& text);
BOOL IsValidNetmaskCtrl(CWnd* ctrl);
// An address a device on the LAN may answer from and be sent to, whatever
// its last part: four parts, none of 0.0.0.0, loopback (127/8), multicast
// (224/4) or 255.255.255.255. Its subnet's own network and broadcast
// addresses are IsValidHostIp's.
BOOL IsUnicastAddressText(const CString& text);
// Neither the network nor the broadcast address of a non-zero subnet.
BOOL IsValidHostIp(const CString& ip, const CString& netmask);
// IP AND netmask, octet by octet, as dotted text.
CString NetworkAddress(const CString& ip, const CString& netmask);

// Fills the combo with the blank-separated words of the source's text and selects
// the one equal to the value window's text; item 0 and FALSE when none is.
BOOL FillComboFromText(CWnd* source, CComboBox* combo, CWnd* value);
// A rate "number Mb" loses its unit; any other text shows "Auto" for the "Best" rates.
void SetRateText(CWnd* source, CWnd* target);
// The first row whose cell in the column equals the text; -1 when none does.
int FindListItemByText(CListCtrl* list, const CString& text, int column);

CString IntToHexText(int value);
void CharsToHexCtrl(CWnd* ctrl);
CString CharsToHexText(const CString& text);
void HexCtrlToChars(CWnd* ctrl);
// "0X", "0O", "0B" or "0D" chooses the base (10 without); the default for an
// empty number or any digit outside the base.
int ParseRadixNumber(const CString& text, int defaultValue);
