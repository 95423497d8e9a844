// Any bytes as a skin description: the parser never reads past the text, and
// every element, key and value it keeps can be looked up and parsed.
#include <cstddef>
#include <cstdint>

#include "RTMarkupDoc.h"
#include "RTSkin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CRTMarkupDoc doc;
  doc.LoadText(data, size);
  static const char* const kKeys[] = {"Back", "Normal", "NornalDrawMode", "list", "mask", "Color0", ""};
  for (int i = 0; i < doc.GetElementCount(); ++i) {
    CRTMarkupElement* e = doc.GetElement(i);
    if (doc.FindElement(e->GetName()) == nullptr) __builtin_trap();
    for (const char* key : kKeys) {
      if (const char* value = e->GetValue(key)) {
        ParseHexColor(value);
        GetFolderPart(value);
      }
    }
    e->SetAttribute("Back", "x.bmp");
    if (!e->GetValue("BACK")) __builtin_trap();
  }
  return 0;
}
