// Any text as ciphertext: either a plaintext or a CVHException, nothing else.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "CVHException.h"
#include "HexCipher.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static DES_key_schedule schedule = [] {
    DES_cblock key;
    memcpy(key, "Vh3DesK!", 8);
    DES_key_schedule s;
    DES_set_key_unchecked(&key, &s);
    return s;
  }();
  CString text(std::string(reinterpret_cast<const char*>(data), size));
  try {
    DecryptFromHex(text, schedule);
  } catch (CVHException* e) {
    delete e;
  }
  return 0;
}
