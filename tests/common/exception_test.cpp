#include <gtest/gtest.h>

#include <string>

#include "CVHException.h"

namespace {

struct CodeText {
  int code;
  const char* text;
};

// Every text of every band, as the program shows it.
const CodeText kTexts[] = {
    {0, "(VhCommon) Ok!"},
    {-1, "(VhCommon) Bad logic operand!"},
    {-2, "(VhCommon) Bad format specifier of edit's constraint!"},
    {-3, "(VhCommon) Empty value is not allowed!"},
    {-4, "(VhCommon) Please enter a string whose length is less than [MAXLEN]!"},
    {-5, "(VhCommon) Please enter a string whose length is [LEN]!"},
    {-6, "(VhCommon) Please enter a hex string whose length is less than [MAXLEN]!"},
    {-7, "(VhCommon) Please enter a hex string whose length is [LEN]!"},
    {-8, " Please enter a number between [MIN] and [MAX]!"},
    {-9, "(VhCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the "
         "number is less than [MAXCOUNT]!"},
    {-10, "(VhCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the "
          "number is equal to [COUNT]!"},
    {-11, "(VhCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,each number is "
          "between [MIN] and [MAX]!"},
    {-12, "(VhCommon) Out of range at index of array or list!"},
    {-13, "(VhCommon) Destination buffer is undersize!"},
    {-14, "(VhCommon) The source to dncrypt is not encrypted!"},
    {-15, "(VhCommon) Fail to read data from file([FILENAME])!"},
    {-16, "(VhCommon) Fail to write data to file([FILENAME])!"},
    {-17, "(VhCommon) Fail to write value in ini file([FILENAME])!"},
    {-18, "(VhCommon) Fail to read option data from file([FILENAME])!"},

    {-101, "(SNMP) Response PDU Too Big!"},
    {-102, "(SNMP) Variable does not exist!"},
    {-103, "(SNMP) Cannot modify variable: Bad Value!"},
    {-104, "(SNMP) Cannot modify object, Read Only!"},
    {-105, "(SNMP) Cannot perform operation, General Error!"},
    {-106, "(SNMP) Cannot access variable, No Access!"},
    {-107, "(SNMP) Cannot create/modify variable, Wrong Type!"},
    {-108, "(SNMP) Cannot create/set variable, Wrong Length!"},
    {-109, "(SNMP) Cannot create/set variable, Wrong Encoding!"},
    {-110, "(SNMP) Cannot create/set variable, Wrong Value!"},
    {-111, "(SNMP) Cannot create variable, Creation Not Allowed!"},
    {-112, "(SNMP) Cannot create/set variable, Inconsistent Value!"},
    {-113, "(SNMP) Cannot create/set variable, Resource Unavailable!"},
    {-114, "(SNMP) Cannot create/set variable, Commit Failed!"},
    {-115, "(SNMP) Cannot create/set variable, Undo Failed!"},
    {-116, "(SNMP) Cannot perform operation, Authorization Error!"},
    {-117, "(SNMP) Cannot create/set variable, Not Writable!"},
    {-118, "(SNMP) Cannot create variable, Inconsistent Name!"},

    {-201, "(SNMPv3) Unsupported Security Model!"},
    {-202, "(SNMPv3) Message not in Time Window!"},
    {-203, "(SNMPv3) Received same Message twice!"},
    {-204, "(SNMPv3) Invalid Message!"},
    {-205, "(SNMPv3) Invalid EngineID!"},
    {-206, "(SNMPv3) v3MP not initialized!"},
    {-207, "(SNMPv3) Parse Error!"},
    {-208, "(SNMPv3) Received Message with unknown MsgID!"},
    {-209, "(SNMPv3) Message does not match known message!"},
    {-210, "(SNMPv3) Community format error!"},
    {-211, "(SNMPv3) Unknown UserName!"},
    {-212, "(SNMPv3) Build error!"},
    {-213, "(SNMPv3) USM: error!"},
    {-214, "(SNMPv3) Unknown pdu handlers!"},
    {-215, "(SNMPv3) Unavailable Context!"},
    {-216, "(SNMPv3) Unknown Context!"},
    {-217, "(SNMPv3) Report sent!"},

    {-301, "(SNMPv3USM) error!"},
    {-302, "(SNMPv3USM) Configfile write error!"},
    {-303, "(SNMPv3USM) Unsupported SecurityLevel!"},
    {-304, "(SNMPv3USM) Unknown SecurityName!"},
    {-305, "(SNMPv3USM) Encryption error!"},
    {-306, "(SNMPv3USM) Decryption error!"},
    {-307, "(SNMPv3USM) Authentication error!"},
    {-308, "(SNMPv3USM) Authentication failure!"},
    {-309, "(SNMPv3USM) Parse error!"},
    {-310, "(SNMPv3USM) Unknown EngineID!"},
    {-311, "(SNMPv3USM) Message not in TimeWindow!"},
    {-312, "(SNMPv3USM) Unsupported AuthProtocol!"},
    {-313, "(SNMPv3USM) Unsupported PrivProtocol!"},
    {-314, "(SNMPv3USM) Address error!"},

    {-401, "(SNMPClass) Operation failed!"},
    {-402, "(SNMPClass) Resource unavailable!"},
    {-403, "(SNMPClass) Internal error!"},
    {-404, "(SNMPClass) Unsupported function!"},
    {-405, "(SNMPClass) SNMP request timed out!"},
    {-406, "(SNMPClass) Received SNMP Response!"},
    {-407, "(SNMPClass) Received SNMP Notification (trap or inform)!"},
    {-408, "(SNMPClass) Closing session with outstanding requests!"},
    {-409, "(SNMPClass)Unknown error code!"},
    {-410, "(SNMPClass) Class not valid!"},
    {-411, "(SNMPClass) Invalid Pdu!"},
    {-412, "(SNMPClass) Invalid Target!"},
    {-413, "(SNMPClass) Invalid (null) Callback Function!"},
    {-414, "(SNMPClass) Invalid Request Id!"},
    {-415, "(SNMPClass) Invalid Notification Id!"},
    {-416, "(SNMPClass) SNMP Operation not supported on specified Target!"},
    {-417, "(SNMPClass) Invalid Object Identifier!"},
    {-418, "(SNMPClass) Invalid Address!"},
    {-419, "(SNMPClass) Agent indicates error in SNMP request!"},
    {-420, "(SNMP Class) Transport is not supported!"},
    {-421, "(SNMPClass) Transport is in use!"},
    {-422, "(SNMPClass) Transport operation failed!"},
    {-423, "(SNMPClass) Blocked Mode Shutdown!"},

    {-501, "(VeDUZA++) Fail to read SNMP variables from file([FILENAME])!"},
    {-502, "(VeDUZA++) Bad format at line([LINENO])in SNMP variables file([FILENAME])!"},
    {-503, "(VeDUZA++) Bad item type at line([LINENO])in SNMP variables file([FILENAME])!"},
    {-504, "(VeDUZA++) Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!"},
    {-505, "(VeDUZA++) Bad access type at line([LINENO])in SNMP variables file([FILENAME])!"},
    {-506, "(VeDUZA++) Cannot create the global VeDUZA++ session!"},
    {-507, "(VeDUZA++) Error when loading SNMP engine boots counter!"},
    {-508, "(VeDUZA++) Error when saving SNMP engine boots counter!"},
    {-509, "(VeDUZA++) Invalid IP Address or DNS name!"},
    {-510, "(VeDUZA++) Can't send get-next command for a SNMP variable list with single value!"},
    {-511, "(VeDUZA++) Bad SNMP syntax!"},
    {-512, "(VeDUZA++) Null value in the expression!"},
    {-513, "(VeDUZA++) Bad SNMP syntax in the expression!"},
    {-514, "(VeDUZA++) Bad key count of SNMP variable list!"},
    {-515, "(VeDUZA++) Bad item type of SNMP variable list!"},
    {-516, "(VeDUZA++) Bad item type of associated SNMP variable list!"},
    {-517, "(VeDUZA++) Bad syntax of the associated SNMP variable's (partial) data!"},
    {-518, "(VeDUZA++) Bad value of the associated SNMP variable's (partial) data!"},
    {-519, "(VeDUZA++) Out of range for the bit(byte) index of the associated SNMP variable's (partial) data!"},
    {-520, "(VeDUZA++) No reference option list for a SNMP variable's (partial) data associating with a optional "
           "visual control!"},
    {-521, "(VeDUZA++) Bad type of the associated visual control!"},
    {-522, "(VeDUZA++) Count of the associated visual controls is not enough!"},
    {-523, "(VeDUZA++) No system start time for the time whose data source is the SNMP variable's (partial) data "
           "with syntax timeticks!"},
    {-524, "(VeDUZA++) Count of the value items for the chart's history data is not enough!"},
    {-525, "(VeDUZA++) Log database is not connected!"},
    {-526, "(VeDUZA++) Log database field not found!"},
    {-527, "(VeDUZA++) Bad syntax for the history chart of log!"},
    {-528, "(VeDUZA++) Unknown error code!"},
    {-529, "(VeDUZA++) Init the timer error!"},
};

TEST(VhErrorText, EveryCodeOfEveryBandHasItsText) {
  for (const CodeText& c : kTexts) {
    EXPECT_STREQ(VhErrorText(c.code), c.text) << "code " << c.code;
  }
}

TEST(VhErrorText, CodesBesideTheBandsHaveNoText) {
  for (int code : {1, 100, -19, -100, -119, -200, -218, -300, -315, -400, -424, -500, -530, -1000, -1029}) {
    EXPECT_STREQ(VhErrorText(code), "") << "code " << code;
  }
}

TEST(VhErrorText, ReportTemplatesGetThenSet) {
  EXPECT_STREQ(VhReportTemplates[0], "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].");
  EXPECT_STREQ(VhReportTemplates[1], "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].");
}

TEST(VhErrorMessage, FillsEveryPlaceholderGiven) {
  EXPECT_STREQ(VhErrorMessage(-18, {{"[FILENAME]", "/tmp/a b.opt"}}),
               "(VhCommon) Fail to read option data from file(/tmp/a b.opt)!");
  EXPECT_STREQ(VhErrorMessage(-502, {{"[LINENO]", "7"}, {"[FILENAME]", "vars.txt"}}),
               "(VeDUZA++) Bad format at line(7)in SNMP variables file(vars.txt)!");
  EXPECT_STREQ(VhErrorMessage(-8, {{"[MIN]", "1"}, {"[MAX]", "14"}}), " Please enter a number between 1 and 14!");
  // A value that looks like a placeholder is not replaced again.
  EXPECT_STREQ(VhErrorMessage(-11, {{"[MIN]", "[MAX]"}, {"[MAX]", "9"}, {"[DELIMITER]", "."}}),
               "(VhCommon) Please enter a delimited number string with delimiter '.'.\nHere,each number is between "
               "9 and 9!");
}

TEST(CVHException, DefaultIsEmptySuccess) {
  CVHException e;
  EXPECT_EQ(e.GetCode(), 0);
  EXPECT_STREQ(e.GetMessage(), "");
}

TEST(CVHException, ThrownByPointerCarriesCodeAndFilledText) {
  try {
    VhThrow(-15, {{"[FILENAME]", "x.dat"}});
    FAIL() << "nothing thrown";
  } catch (CVHException* e) {
    EXPECT_EQ(e->GetCode(), -15);
    EXPECT_STREQ(e->GetMessage(), "(VhCommon) Fail to read data from file(x.dat)!");
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    delete e;
  }
}

TEST(CVHException, DynamicCreationGivesAnEmptyInstance) {
  CObject* made = RUNTIME_CLASS(CVHException)->CreateObject();
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, "CVHException");
  CVHException* e = DYNAMIC_DOWNCAST(CVHException, made);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->GetCode(), 0);
  delete made;
}

struct StatusCase {
  int status;
  int code;
  const char* text;
};

TEST(MapSnmpStatus, EverySourceLandsInItsBand) {
  const StatusCase cases[] = {
      {0, 0, "(VeDUZA++) Ok!"},
      {-1401, 0, "(VeDUZA++) Ok!"},
      {1400, 0, "(VeDUZA++) Ok!"},
      {1401, -301, "(SNMPv3USM) error!"},
      {1408, -308, "(SNMPv3USM) Authentication failure!"},
      {1414, -314, "(SNMPv3USM) Address error!"},
      {-1402, -201, "(SNMPv3) Unsupported Security Model!"},
      {-1418, -217, "(SNMPv3) Report sent!"},
      {1, -101, "(SNMP) Response PDU Too Big!"},
      {2, -102, "(SNMP) Variable does not exist!"},
      {18, -118, "(SNMP) Cannot create variable, Inconsistent Name!"},
      {-1, -401, "(SNMPClass) Operation failed!"},
      {-5, -405, "(SNMPClass) SNMP request timed out!"},
      {-23, -423, "(SNMPClass) Blocked Mode Shutdown!"},
      // Nothing of any source: the unknown code.
      {-1400, -528, "(VeDUZA++) Unknown error code!"},
      {19, -528, "(VeDUZA++) Unknown error code!"},
      {1399, -528, "(VeDUZA++) Unknown error code!"},
      {1415, -528, "(VeDUZA++) Unknown error code!"},
      {-24, -528, "(VeDUZA++) Unknown error code!"},
      {-1399, -528, "(VeDUZA++) Unknown error code!"},
      {-1419, -528, "(VeDUZA++) Unknown error code!"},
      {INT32_MIN, -528, "(VeDUZA++) Unknown error code!"},
      {INT32_MAX, -528, "(VeDUZA++) Unknown error code!"},
  };
  for (const StatusCase& c : cases) {
    int code = 12345;
    CString message = "stale";
    MapSnmpStatus(c.status, &code, &message);
    EXPECT_EQ(code, c.code) << "status " << c.status;
    EXPECT_STREQ(message, c.text) << "status " << c.status;
  }
}

TEST(MapSnmpStatus, EveryMappedCodeCarriesItsOwnTableText) {
  for (int status = -1420; status <= 1420; ++status) {
    int code = 0;
    CString message;
    MapSnmpStatus(status, &code, &message);
    if (code != 0) {
      EXPECT_STREQ(message, VhErrorText(code)) << "status " << status;
    }
  }
}

}  // namespace
