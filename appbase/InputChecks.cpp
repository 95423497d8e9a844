#include "InputChecks.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// The C library's atoi, without its undefined behaviour for numbers beyond an int.
int ReadInt(const char* text) {
  long long value = strtoll(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The four dotted parts of an address or netmask, each read as atoi reads it; false unless
// the text has exactly three dots and its first dot is neither its first nor its last character.
bool ReadDottedParts(const CString& text, int parts[4]) {
  int first = text.Find('.');
  if (first <= 0 || first == text.GetLength() - 1) return false;
  int dots = 0;
  for (int i = 0; i < text.GetLength(); ++i) dots += text[i] == '.';
  if (dots != 3) return false;
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    parts[i] = ReadInt(p);
    p = strchr(p, '.');
    if (p) ++p;
    else p = "";
  }
  return true;
}

// The parts of a dotted text as NetworkAddress reads them: missing parts are 0.
void ReadLooseParts(const CString& text, int parts[4]) {
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    parts[i] = p ? ReadInt(p) : 0;
    if (p) {
      p = strchr(p, '.');
      if (p) ++p;
    }
  }
}

uint32_t Bits(const int parts[4]) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | (static_cast<uint32_t>(parts[i]) & 0xFFu);
  return value;
}

uint32_t Bits(const CString& dotted) {
  int parts[4];
  ReadLooseParts(dotted, parts);
  return Bits(parts);
}

CString TextOf(CWnd* wnd) {
  CString text;
  if (wnd) wnd->GetWindowText(text);
  return text;
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

BOOL IsAsciiText(LPCTSTR text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : ""); *p; ++p) {
    if (*p >= 0x80) return FALSE;
  }
  return TRUE;
}

BOOL IsNotAllSpaces(const CString& text) {
  if (text.IsEmpty()) return TRUE;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] != ' ') return TRUE;
  }
  return FALSE;
}

BOOL IsValidNameChars(const CString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && !strchr("_-@.", c)) return FALSE;
  }
  return TRUE;
}

BOOL IsDigitsOnly(LPCTSTR text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : ""); *p; ++p) {
    if (!isdigit(*p)) return FALSE;
  }
  return TRUE;
}

BOOL IsValidIpText(const CString& text) {
  int p[4];
  if (!ReadDottedParts(text, p)) return FALSE;
  return InRange(p[0], 1, 223) && p[0] != 127 && InRange(p[1], 0, 255) && InRange(p[2], 0, 255) &&
         InRange(p[3], 1, 254);
}

BOOL IsUnicastAddressText(const CString& text) {
  int p[4];
  if (!ReadDottedParts(text, p)) return FALSE;
  for (int part : p)
    if (!InRange(part, 0, 255)) return FALSE;
  const uint32_t bits = Bits(p);
  return bits != 0 && bits != 0xFFFFFFFFu && p[0] != 127 && !InRange(p[0], 224, 239);
}

BOOL IsValidIpCtrl(CWnd* ctrl) { return IsValidIpText(TextOf(ctrl)); }

BOOL IsValidNetmaskCtrl(CWnd* ctrl) { return IsValidNetmaskText(TextOf(ctrl)); }

BOOL IsValidNetmaskText(const CString& text) {
  int p[4];
  if (!ReadDottedParts(text, p)) return FALSE;
  if (!InRange(p[0], 1, 255)) return FALSE;
  for (int i = 0; i < 4; ++i) {
    if (!InRange(p[i], 0, 255) || p[i] == 1) return FALSE;
  }
  uint32_t bits = Bits(p);
  if (!(bits & 0x80000000u) || (bits & 1u)) return FALSE;
  uint32_t hostPart = ~bits;
  return (hostPart & (hostPart + 1)) == 0 ? TRUE : FALSE;  // the ones are one run from the top
}

CString NetworkAddress(const CString& ip, const CString& netmask) {
  int a[4], m[4];
  ReadLooseParts(ip, a);
  ReadLooseParts(netmask, m);
  CString text;
  text.Format("%d.%d.%d.%d", a[0] & m[0], a[1] & m[1], a[2] & m[2], a[3] & m[3]);
  return text;
}

BOOL IsValidHostIp(const CString& ip, const CString& netmask) {
  uint32_t n = Bits(NetworkAddress(ip, netmask)), m = Bits(netmask), h = Bits(ip);
  if (n & ~m) return FALSE;
  if (n == m) return FALSE;
  if (n == 0) return FALSE;
  if ((h & m) != n) return FALSE;
  if ((h | m) == m) return FALSE;           // the network address itself
  if ((h | m) == 0xFFFFFFFFu) return FALSE;  // the broadcast address
  return TRUE;
}

BOOL FillComboFromText(CWnd* source, CComboBox* combo, CWnd* value) {
  combo->ResetContent();
  CString rest = TextOf(source);
  rest.Trim(' ');
  // A word has at least one character, so a second blank in a row starts the next word.
  while (!rest.IsEmpty()) {
    int blank = rest.Find(' ', 1);
    if (blank < 0) {
      combo->AddString(rest);
      break;
    }
    combo->AddString(rest.Left(blank));
    rest = rest.Mid(blank + 1);
  }
  CString wanted = TextOf(value);
  for (int i = 0; i < combo->GetCount(); ++i) {
    CString word;
    combo->GetLBText(i, word);
    if (word == wanted) {
      combo->SetCurSel(i);
      return TRUE;
    }
  }
  combo->SetCurSel(0);
  return FALSE;
}

void SetRateText(CWnd* source, CWnd* target) {
  CString text = TextOf(source);
  if (text.GetLength() < 4 || text.Find("Mb") < 0) {
    text.Replace("Best(Up to 300)", "Auto");
    text.Replace("Best(Up to 54)", "Auto");
    target->SetWindowText(text);
  } else {
    target->SetWindowText(text.Left(text.GetLength() - 3));
  }
}

int FindListItemByText(CListCtrl* list, const CString& text, int column) {
  for (int row = 0; row < list->GetItemCount(); ++row) {
    if (list->GetItemText(row, column) == text) return row;
  }
  return -1;
}

CString IntToHexText(int value) {
  CString text;
  text.Format("%x", static_cast<unsigned>(value));
  return text;
}

CString CharsToHexText(const CString& text) {
  CString hex;
  for (int i = 0; i < text.GetLength(); ++i) hex += IntToHexText(static_cast<signed char>(text[i]));
  return hex;
}

void CharsToHexCtrl(CWnd* ctrl) { ctrl->SetWindowText(CharsToHexText(TextOf(ctrl))); }

void HexCtrlToChars(CWnd* ctrl) {
  CString hex = TextOf(ctrl), chars;
  for (int i = 0; i + 1 < hex.GetLength(); i += 2) {
    int high = ParseRadixNumber(CString("0x") + hex[i], 0);
    int low = ParseRadixNumber(CString("0x") + hex[i + 1], 0);
    chars += static_cast<char>(high * 16 + low);
  }
  ctrl->SetWindowText(chars);
}

int ParseRadixNumber(const CString& text, int defaultValue) {
  CString digits = text;
  digits.MakeUpper();
  int base = 10;
  if (digits.GetLength() >= 2 && digits[0] == '0') {
    switch (digits[1]) {
      case 'X': base = 16; break;
      case 'O': base = 8; break;
      case 'B': base = 2; break;
      case 'D': base = 10; break;
      default: base = 0; break;
    }
    if (base) digits = digits.Mid(2);
    else base = 10;
  }
  if (digits.IsEmpty()) return defaultValue;
  uint32_t value = 0;  // wraps as the sum of powers would, without overflow
  for (int i = 0; i < digits.GetLength(); ++i) {
    char c = digits[i];
    int digit = (c >= '0' && c <= '9') ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : base;
    if (digit >= base) return defaultValue;
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
  }
  return static_cast<int>(value);
}

BOOL IsDeviceMacText(const CString& text) {
  if (text.GetLength() != 12) return FALSE;
  for (int i = 0; i < 12; ++i)
    if (!isxdigit(static_cast<unsigned char>(text[i]))) return FALSE;
  return text.CompareNoCase("FFFFFFFFFFFF") != 0 && text != "000000000000";
}

CString OneLineText(const CString& text) {
  CString line = text;
  for (int i = 0; i < line.GetLength(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c < 32 || c == 127) line.SetAt(i, ' ');
  }
  return line;
}
