#include "CVHException.h"

#include "VhString.h"

IMPLEMENT_DYNCREATE(CVHException, CException)

CVHException::CVHException() : m_nCode(0) {}

CVHException::CVHException(CString message, int code) : m_strMessage(message), m_nCode(code) {}

CVHException::~CVHException() = default;

CString CVHException::GetMessage() const { return m_strMessage; }

int CVHException::GetCode() const { return m_nCode; }

namespace {

// Index = -code.
const LPCTSTR kCommonMessages[] = {
    "(VhCommon) Ok!",
    "(VhCommon) Bad logic operand!",
    "(VhCommon) Bad format specifier of edit's constraint!",
    "(VhCommon) Empty value is not allowed!",
    "(VhCommon) Please enter a string whose length is less than [MAXLEN]!",
    "(VhCommon) Please enter a string whose length is [LEN]!",
    "(VhCommon) Please enter a hex string whose length is less than [MAXLEN]!",
    "(VhCommon) Please enter a hex string whose length is [LEN]!",
    " Please enter a number between [MIN] and [MAX]!",
    "(VhCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the number is "
    "less than [MAXCOUNT]!",
    "(VhCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the number is "
    "equal to [COUNT]!",
    "(VhCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,each number is between "
    "[MIN] and [MAX]!",
    "(VhCommon) Out of range at index of array or list!",
    "(VhCommon) Destination buffer is undersize!",
    "(VhCommon) The source to dncrypt is not encrypted!",
    "(VhCommon) Fail to read data from file([FILENAME])!",
    "(VhCommon) Fail to write data to file([FILENAME])!",
    "(VhCommon) Fail to write value in ini file([FILENAME])!",
    "(VhCommon) Fail to read option data from file([FILENAME])!",
};

// Index = -code - 101 (agent error status - 1).
const LPCTSTR kAgentMessages[] = {
    "(SNMP) Response PDU Too Big!",
    "(SNMP) Variable does not exist!",
    "(SNMP) Cannot modify variable: Bad Value!",
    "(SNMP) Cannot modify object, Read Only!",
    "(SNMP) Cannot perform operation, General Error!",
    "(SNMP) Cannot access variable, No Access!",
    "(SNMP) Cannot create/modify variable, Wrong Type!",
    "(SNMP) Cannot create/set variable, Wrong Length!",
    "(SNMP) Cannot create/set variable, Wrong Encoding!",
    "(SNMP) Cannot create/set variable, Wrong Value!",
    "(SNMP) Cannot create variable, Creation Not Allowed!",
    "(SNMP) Cannot create/set variable, Inconsistent Value!",
    "(SNMP) Cannot create/set variable, Resource Unavailable!",
    "(SNMP) Cannot create/set variable, Commit Failed!",
    "(SNMP) Cannot create/set variable, Undo Failed!",
    "(SNMP) Cannot perform operation, Authorization Error!",
    "(SNMP) Cannot create/set variable, Not Writable!",
    "(SNMP) Cannot create variable, Inconsistent Name!",
};

// Index = -code - 201.
const LPCTSTR kV3MpMessages[] = {
    "(SNMPv3) Unsupported Security Model!",
    "(SNMPv3) Message not in Time Window!",
    "(SNMPv3) Received same Message twice!",
    "(SNMPv3) Invalid Message!",
    "(SNMPv3) Invalid EngineID!",
    "(SNMPv3) v3MP not initialized!",
    "(SNMPv3) Parse Error!",
    "(SNMPv3) Received Message with unknown MsgID!",
    "(SNMPv3) Message does not match known message!",
    "(SNMPv3) Community format error!",
    "(SNMPv3) Unknown UserName!",
    "(SNMPv3) Build error!",
    "(SNMPv3) USM: error!",
    "(SNMPv3) Unknown pdu handlers!",
    "(SNMPv3) Unavailable Context!",
    "(SNMPv3) Unknown Context!",
    "(SNMPv3) Report sent!",
};

// Index = -code - 301.
const LPCTSTR kUsmMessages[] = {
    "(SNMPv3USM) error!",
    "(SNMPv3USM) Configfile write error!",
    "(SNMPv3USM) Unsupported SecurityLevel!",
    "(SNMPv3USM) Unknown SecurityName!",
    "(SNMPv3USM) Encryption error!",
    "(SNMPv3USM) Decryption error!",
    "(SNMPv3USM) Authentication error!",
    "(SNMPv3USM) Authentication failure!",
    "(SNMPv3USM) Parse error!",
    "(SNMPv3USM) Unknown EngineID!",
    "(SNMPv3USM) Message not in TimeWindow!",
    "(SNMPv3USM) Unsupported AuthProtocol!",
    "(SNMPv3USM) Unsupported PrivProtocol!",
    "(SNMPv3USM) Address error!",
};

// Index = -code - 401.
const LPCTSTR kClassMessages[] = {
    "(SNMPClass) Operation failed!",
    "(SNMPClass) Resource unavailable!",
    "(SNMPClass) Internal error!",
    "(SNMPClass) Unsupported function!",
    "(SNMPClass) SNMP request timed out!",
    "(SNMPClass) Received SNMP Response!",
    "(SNMPClass) Received SNMP Notification (trap or inform)!",
    "(SNMPClass) Closing session with outstanding requests!",
    "(SNMPClass)Unknown error code!",
    "(SNMPClass) Class not valid!",
    "(SNMPClass) Invalid Pdu!",
    "(SNMPClass) Invalid Target!",
    "(SNMPClass) Invalid (null) Callback Function!",
    "(SNMPClass) Invalid Request Id!",
    "(SNMPClass) Invalid Notification Id!",
    "(SNMPClass) SNMP Operation not supported on specified Target!",
    "(SNMPClass) Invalid Object Identifier!",
    "(SNMPClass) Invalid Address!",
    "(SNMPClass) Agent indicates error in SNMP request!",
    "(SNMP Class) Transport is not supported!",
    "(SNMPClass) Transport is in use!",
    "(SNMPClass) Transport operation failed!",
    "(SNMPClass) Blocked Mode Shutdown!",
};

// Index = -code - 500; entry 0 is the success text a bound list reports.
const LPCTSTR kVarLayerMessages[] = {
    "(VeDUZA++) Ok!",
    "(VeDUZA++) Fail to read SNMP variables from file([FILENAME])!",
    "(VeDUZA++) Bad format at line([LINENO])in SNMP variables file([FILENAME])!",
    "(VeDUZA++) Bad item type at line([LINENO])in SNMP variables file([FILENAME])!",
    "(VeDUZA++) Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!",
    "(VeDUZA++) Bad access type at line([LINENO])in SNMP variables file([FILENAME])!",
    "(VeDUZA++) Cannot create the global VeDUZA++ session!",
    "(VeDUZA++) Error when loading SNMP engine boots counter!",
    "(VeDUZA++) Error when saving SNMP engine boots counter!",
    "(VeDUZA++) Invalid IP Address or DNS name!",
    "(VeDUZA++) Can't send get-next command for a SNMP variable list with single value!",
    "(VeDUZA++) Bad SNMP syntax!",
    "(VeDUZA++) Null value in the expression!",
    "(VeDUZA++) Bad SNMP syntax in the expression!",
    "(VeDUZA++) Bad key count of SNMP variable list!",
    "(VeDUZA++) Bad item type of SNMP variable list!",
    "(VeDUZA++) Bad item type of associated SNMP variable list!",
    "(VeDUZA++) Bad syntax of the associated SNMP variable's (partial) data!",
    "(VeDUZA++) Bad value of the associated SNMP variable's (partial) data!",
    "(VeDUZA++) Out of range for the bit(byte) index of the associated SNMP variable's (partial) data!",
    "(VeDUZA++) No reference option list for a SNMP variable's (partial) data associating with a optional visual "
    "control!",
    "(VeDUZA++) Bad type of the associated visual control!",
    "(VeDUZA++) Count of the associated visual controls is not enough!",
    "(VeDUZA++) No system start time for the time whose data source is the SNMP variable's (partial) data with "
    "syntax timeticks!",
    "(VeDUZA++) Count of the value items for the chart's history data is not enough!",
    "(VeDUZA++) Log database is not connected!",
    "(VeDUZA++) Log database field not found!",
    "(VeDUZA++) Bad syntax for the history chart of log!",
    "(VeDUZA++) Unknown error code!",
    "(VeDUZA++) Init the timer error!",
};

template <size_t N>
constexpr int CountOf(const LPCTSTR (&)[N]) {
  return static_cast<int>(N);
}

static_assert(CountOf(kCommonMessages) == 19);
static_assert(CountOf(kAgentMessages) == 18);
static_assert(CountOf(kV3MpMessages) == 17);
static_assert(CountOf(kUsmMessages) == 14);
static_assert(CountOf(kClassMessages) == 23);
static_assert(CountOf(kVarLayerMessages) == 30);

const int kVarLayerOk = 0;
const int kVarLayerUnknown = 28;

// One band: the codes from `first` down to `last` index `table` from `base`.
struct Band {
  int first;
  int last;
  int base;  // table index = base - code
  const LPCTSTR* table;
};

const Band kBands[] = {
    {0, -18, 0, kCommonMessages},
    {-101, -118, -101, kAgentMessages},
    {-201, -217, -201, kV3MpMessages},
    {-301, -314, -301, kUsmMessages},
    {-401, -423, -401, kClassMessages},
    {-501, -529, -500, kVarLayerMessages},
};

}  // namespace

const LPCTSTR VhReportTemplates[2] = {
    "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].",
    "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].",
};

CString VhErrorText(int code) {
  for (const Band& band : kBands) {
    if (code <= band.first && code >= band.last) return band.table[band.base - code];
  }
  return CString();
}

CString VhErrorMessage(int code, std::initializer_list<VhFill> fills) {
  CString text = VhErrorText(code);
  for (const VhFill& fill : fills) text = VhReplacePlaceholder(text, fill.placeholder, fill.value);
  return text;
}

void VhThrow(int code, std::initializer_list<VhFill> fills) {
  throw new CVHException(VhErrorMessage(code, fills), code);
}

void MapSnmpStatus(int status, int* code, CString* message) {
  if (status == 0 || status == -1401 || status == 1400) {
    *code = 0;
    *message = kVarLayerMessages[kVarLayerOk];
  } else if (status >= 1401 && status <= 1414) {
    *code = 1100 - status;
    *message = kUsmMessages[status - 1401];
  } else if (status >= -1418 && status <= -1402) {
    *code = status + 1201;
    *message = kV3MpMessages[-status - 1402];
  } else if (status >= 1 && status <= 18) {
    *code = -100 - status;
    *message = kAgentMessages[status - 1];
  } else if (status >= -23 && status <= -1) {
    *code = status - 400;
    *message = kClassMessages[-status - 1];
  } else {
    *code = SNMPCODE_UNKNOWN;
    *message = kVarLayerMessages[kVarLayerUnknown];
  }
}
