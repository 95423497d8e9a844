// The one error object of the layers above the SNMP library. It is thrown by
// pointer; the catcher reads the message and the code, then deletes it. The
// QUAV library throws it and the program catches it, so the class must resolve
// to one definition in the process: it keeps default visibility.
#pragma once

#include <initializer_list>

#include "afx.h"

#define VH_API __attribute__((visibility("default")))

class VH_API CVHException : public CException {
  DECLARE_DYNCREATE(CVHException)

 public:
  CVHException();
  CVHException(CString message, int code);
  ~CVHException();

  CString GetMessage() const;
  int GetCode() const;

 private:
  CString m_strMessage;
  int m_nCode;
};

// Codes of the common library's own table.
enum VhCommonMessage {
  VHCOMMON_OK = 0,
  VHCOMMON_BAD_LOGIC_OPERAND = -1,
  VHCOMMON_BAD_FORMAT_SPECIFIER = -2,
  VHCOMMON_EMPTY_VALUE = -3,
  VHCOMMON_STRING_TOO_LONG = -4,
  VHCOMMON_STRING_LENGTH = -5,
  VHCOMMON_HEX_TOO_LONG = -6,
  VHCOMMON_HEX_LENGTH = -7,
  VHCOMMON_NUMBER_RANGE = -8,
  VHCOMMON_DELIMITED_TOO_MANY = -9,
  VHCOMMON_DELIMITED_COUNT = -10,
  VHCOMMON_DELIMITED_RANGE = -11,
  VHCOMMON_INDEX_OUT_OF_RANGE = -12,
  VHCOMMON_BUFFER_UNDERSIZE = -13,
  VHCOMMON_NOT_ENCRYPTED = -14,
  VHCOMMON_FILE_READ = -15,
  VHCOMMON_FILE_WRITE = -16,
  VHCOMMON_INI_WRITE = -17,
  VHCOMMON_OPTION_FILE_READ = -18,
};

// The bands of codes that stand for the SNMP library's statuses and the
// variable layer's own failures.
enum SnmpStatusCode {
  SNMPCODE_OK = 0,
  SNMPCODE_AGENT_FIRST = -101,   // agent error status 1
  SNMPCODE_AGENT_LAST = -118,    // agent error status 18
  SNMPCODE_NO_SUCH_NAME = -102,  // ends a table walk
  SNMPCODE_V3MP_FIRST = -201,
  SNMPCODE_V3MP_LAST = -217,
  SNMPCODE_USM_FIRST = -301,
  SNMPCODE_USM_LAST = -314,
  SNMPCODE_CLASS_FIRST = -401,
  SNMPCODE_CLASS_LAST = -423,
  SNMPCODE_TIMEOUT = -405,
  SNMPCODE_VARLAYER_FIRST = -501,
  SNMPCODE_VARLAYER_LAST = -529,
  SNMPCODE_UNKNOWN = -528,
};

// Texts of the report that a bound list gives after a Get or a Set
// ("[ERROR]", "[VARLIST]" and "[TIME]" are filled by the reporter).
extern const LPCTSTR VhReportTemplates[2];

// The table text of a code; empty for a code outside every band of this library
// (the QUAV band keeps its own table). Code 0 gives "(VhCommon) Ok!".
CString VhErrorText(int code);

// A placeholder of a message text and the value that replaces it.
struct VhFill {
  LPCTSTR placeholder;
  CString value;
};

// The table text of a code with its placeholders filled.
CString VhErrorMessage(int code, std::initializer_list<VhFill> fills = {});

// Throws a new CVHException carrying the code and its filled table text.
[[noreturn]] void VhThrow(int code, std::initializer_list<VhFill> fills = {});

// Turns a status of the SNMP library into a code of the bands above and its text.
void MapSnmpStatus(int status, int* code, CString* message);
