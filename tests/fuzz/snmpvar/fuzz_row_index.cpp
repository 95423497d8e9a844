// Any row index, as an agent's answer can carry it, decoded into the key
// columns of a table: values or a CVHException, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CVHException.h"
#include "SnmpRequest.h"

namespace {

const int kKeySyntaxes[] = {SVS_BOOLEAN,   SVS_INTEGER,   SVS_BITSTR,   SVS_OCTETSTR,  SVS_NULL,
                            SVS_OBJECTID,  SVS_IPADDRESS, SVS_COUNTER,  SVS_GAUGE,     SVS_TIMETICKS,
                            SVS_OPAQUE,    SVS_NSAPADDR,  SVS_COUNTER64, SVS_UINTEGER, SVS_DOUBLE,
                            SVS_MACADDRESS, SVS_DATETIME, SVS_BCDATETIME, SVS_DISPLAYSTR, SVS_INT8};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t kinds = sizeof kKeySyntaxes / sizeof kKeySyntaxes[0];
  SnmpRequest request;
  SnmpVarList& list = request.m_VarList;
  list.m_nItemType = MVT_FMV;
  // Byte 0 picks the first key's syntax, byte 1 the second's and whether the
  // last key runs to the end of the index.
  list.m_nKeyCount = 2;
  list.Add("1.3.6.1.4.1.99.1.1", "k1", kKeySyntaxes[data[0] % kinds], SVA_NOTACCESS);
  list.Add("1.3.6.1.4.1.99.1.2", "k2", kKeySyntaxes[(data[1] >> 1) % kinds],
           SVA_NOTACCESS | ((data[1] & 1) ? SVA_FLAG : 0));
  list.Add("1.3.6.1.4.1.99.1.3", "v", SVS_INTEGER, SVA_READ);
  std::string index(reinterpret_cast<const char*>(data + 2), size - 2);
  try {
    request.StoreRowIndex(index.c_str(), list);
    request.RowIndex(list);
  } catch (CVHException* e) {
    delete e;
  }
  return 0;
}
