// The colon form of a MAC address that the MAC-address edit shows and the
// control-bound variable list writes and reads, and the integer power of the
// bit masks.
#pragma once

#include "afx.h"

// "001122AABBCC" -> "00:11:22:AA:BB:CC": colons inserted at 2, 5, 8, 11 and 14
// of the growing text (a shorter text gets the colons that fit).
inline CString VhMacColonText(const CString& digits) {
  CString text = digits;
  for (int at : {2, 5, 8, 11, 14})
    if (at <= text.GetLength()) text.Insert(at, ':');
  return text;
}

// Every colon removed, so that the result is the plain digits even for a text
// that begins with a colon.
inline CString VhMacDigits(const CString& text) {
  CString digits = text;
  digits.Remove(':');
  return digits;
}

// base to the power count (1 for count 0), wrapping on overflow as unsigned
// arithmetic does instead of overflowing a signed int.
inline int IntPower(int base, unsigned count) {
  unsigned result = 1;
  for (unsigned i = 0; i < count; ++i) result *= static_cast<unsigned>(base);
  return static_cast<int>(result);
}
