#include "QUAVError.h"

#include "CVHException.h"

namespace {

// Index i holds the text of code -(1000 + i); index 0 is success.
const char* const kTexts[] = {
    "(VhQUAV) Ok!",
    "(VhQUAV) Fail to read QUAV variables from file([FILENAME])!",
    "(VhQUAV) Bad format at line([LINENO])in QUAV variables file([FILENAME])!",
    "(VhQUAV) Bad syntax at line([LINENO])in QUAV variables file([FILENAME])!",
    "(VhQUAV) Bad access type at line([LINENO])in QUAV variables file([FILENAME])!",
    "(VhQUAV) Bad variable ID!",
    "(VhQUAV) Bad command type!",
    "(VhQUAV) Bad value type!",
    "(VhQUAV) Socket not ready!Please check if the network is ready.",
    "(VhQUAV) Socket read/write error",
    "(VhQUAV) Bad MAC address!",
    "(VhQUAV) Password Error!",
    "(VhQUAV) Not Done!",
    "(VhQUAV) Bad packet!",
    "(VhQUAV) Timeout!",
    "(VhQUAV) Unknown error!",
    "(VhQUAV) Bad QUAV response variable index in the expression!",
    "(VhQUAV) Bad QUAV syntax in the expression!",
    "(VhQUAV) Bad value of QUAV variable's (partial) data!",
    "(VhQUAV) Out of range about the starting byte index of the QUAV variable's (partial) data related to a edit!",
    "(VhQUAV) No reference option list for ComboBox or RadioGroup control!",
    "(VhQUAV) Out of range about the bit index of the QUAV variable's (partial) data related to a edit!",
    ("(VhQUAV) Bad syntax of the QUAV variable's (partial) data which is no reference option list and related a "
     "checkbox!"),
    "(VhQUAV) Count of the edits is not enough to put the QUAV variable's partial value on them!",
    "(VhQUAV) Bad type of the VCL controls to be the edits related with a QUAV variable's (partial) data!",
    "(VhQUAV) Failed to create notification window.!",
    "(VhQUAV) Failed to create winsock.!",
    "Discover:[ERROR]Request:[VARLIST].Receive at [TIME].",
    "Get:[ERROR]Request:[VARLIST].Receive at [TIME].",
    "Set:[ERROR]Request:[VARLIST].Receive at [TIME].",
};
const int kCount = sizeof kTexts / sizeof kTexts[0];

}  // namespace

CString QUAVErrorText(int code) {
  int index = code == 0 ? 0 : -code - 1000;
  if (index < 0 || index >= kCount || (code != 0 && index == 0)) return CString();
  return kTexts[index];
}

void QUAVThrow(int code) { throw new CVHException(QUAVErrorText(code), code); }
