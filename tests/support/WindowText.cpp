#include "WindowText.h"

#include <vector>

std::string WindowText(HWND hwnd) {
  std::vector<char> text(static_cast<size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
  ::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
  return text.data();
}
