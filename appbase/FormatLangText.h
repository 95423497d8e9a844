// Fills a language text used as a format with typed arguments, without handing
// the text to printf: the language file is data, and a text with a stray "%n"
// or a conversion the caller did not expect must print, not crash.
//
// "%d" takes the next argument when it is an integer, "%s" when it is a text,
// "%%" gives "%". Anything else (another conversion, flags or a width, "%n", a
// conversion whose next argument is missing or of the other kind) is copied as
// it stands and leaves the argument for the next conversion. Spare arguments
// are ignored. A well-formed text gives what sprintf would.
#pragma once

#include <initializer_list>

#include "afx.h"

class LangArg {
 public:
  LangArg(int value) : m_isText(false), m_number(value) {}
  LangArg(LPCTSTR text) : m_isText(true), m_text(text ? text : "") {}
  LangArg(const CString& text) : m_isText(true), m_text(text) {}

  bool IsText() const { return m_isText; }
  int Number() const { return m_number; }
  const CString& Text() const { return m_text; }

 private:
  bool m_isText;
  int m_number = 0;
  CString m_text;
};

CString FormatLangText(const CString& format, std::initializer_list<LangArg> args);
