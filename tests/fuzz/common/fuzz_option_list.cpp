// Any bytes as an option-list file: the list stays consistent and every lookup
// works on what was read.
#include <cstddef>
#include <cstdint>

#include "VhOptionList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VhOptionList list;
  list.LoadFromMemory(data, size);
  VhOptionList copy(list);
  for (int i = 0; i < copy.GetCount(); ++i) {
    const OptionListItem* item = copy.GetItem(i);
    CString value;
    if (copy.GetValueType() == VHOPTION_INT)
      value.Format("%d", static_cast<int>(item->value));
    else
      value = reinterpret_cast<LPCTSTR>(item->value);
    copy.GetTextOfValue(value);
    copy.GetValueOfText(item->text);
  }
  copy.Insert(0, "1", "x");
  copy.Remove(copy.GetCount() - 1);
  return 0;
}
