#include "FormatLangText.h"

CString FormatLangText(const CString& format, std::initializer_list<LangArg> args) {
  CString out;
  const LangArg* next = args.begin();
  const int length = format.GetLength();
  for (int i = 0; i < length; ++i) {
    char c = format[i];
    char conversion = i + 1 < length ? format[i + 1] : '\0';
    bool haveArg = next != args.end();
    if (c != '%') {
      out += c;
    } else if (conversion == '%') {
      out += '%';
      ++i;
    } else if (conversion == 'd' && haveArg && !next->IsText()) {
      CString number;
      number.Format("%d", next->Number());
      out += number;
      ++next;
      ++i;
    } else if (conversion == 's' && haveArg && next->IsText()) {
      out += next->Text();
      ++next;
      ++i;
    } else {
      out += '%';  // what follows is copied as plain text
    }
  }
  return out;
}
