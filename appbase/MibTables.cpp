#include "MibTables.h"

namespace {

// Option-list tables: {value, text}, ended by a null text.
const OptionListItem kAutoRekeyControl[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kAutoRekeyStartWeek[] = {{0, "Sun"}, {1, "Mon"}, {2, "Tue"}, {3, "Wed"},
                                              {4, "Thu"}, {5, "Fri"}, {6, "Sat"}, {0, nullptr}};
const OptionListItem kAPTrevakStatus[] = {{0, "disable"}, {1, "enable"}, {0, nullptr}};
const OptionListItem kAPTrevakModeSelect[] = {{1, "master"}, {2, "masterbackup"}, {3, "slave"}, {0, nullptr}};
const OptionListItem kDeviceSettingApply[] = {{0, "nothing"}, {1, "apply"}, {0, nullptr}};
const OptionListItem kNetworkAccessProtection[] = {{0, "disable"}, {1, "enable"}, {0, nullptr}};
const OptionListItem kRadiusSource[] = {{1, "remote"}, {2, "local"}, {0, nullptr}};
const OptionListItem kPrimaryAccountingStatus[] = {{0, "disabled"}, {1, "enabled"}, {0, nullptr}};
const OptionListItem kCipherType[] = {{1, "Auto"}, {2, "AES"}, {3, "TKIP"}, {0, nullptr}};
const OptionListItem kEncryption[] = {{0, "disabled"}, {1, "enabled"}, {0, nullptr}};
const OptionListItem kKeyIndex[] = {{1, "first"}, {2, "second"}, {3, "third"}, {4, "fourth"}, {0, nullptr}};
const OptionListItem kWepKeyEntryMethod[] = {{1, "ascii"}, {2, "hex"}, {0, nullptr}};
const OptionListItem kAutoChannelScan[] = {{0, "disabled"}, {1, "enabled"}, {0, nullptr}};
const OptionListItem kAuthentication[] = {{1, "Open System"},       {2, "Shared Key"},
                                          {4, "WPA-Personal"},      {5, "WPA-Enterprise"},
                                          {6, "WPA2-Personal"},     {7, "WPA2-Enterprise"},
                                          {8, "WPA-Auto-Personal"}, {9, "WPA-Auto-Enterprise"},
                                          {10, "802.1x"},           {0, nullptr}};
const OptionListItem kBand[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};
const OptionListItem kMssid[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kKeyIndex2[] = {{1, "First"}, {2, "Second"}, {3, "Third"}, {4, "Fourth"}, {0, nullptr}};
const OptionListItem kEncryption2[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kKeyEntryMethod[] = {{1, "ASCII"}, {2, "HEX"}, {0, nullptr}};
const OptionListItem kCipherType2[] = {{1, "auto"}, {2, "aes"}, {3, "tkip"}, {0, nullptr}};
const OptionListItem kPrimaryAccountingStatus2[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kRadiusSource2[] = {{1, "External"}, {2, "Internal"}, {0, nullptr}};
const OptionListItem kAPTrevakSyncSSIDStatus[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kAPTrevakSyncSsidHiddenStatus[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kAPTrevakSyncAutoChannelStatus[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kAPTrevakSyncSecurityStatus[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kAPTrevakSyncLoginStatus[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const OptionListItem kDeviceRestart[] = {{0, "nothing"}, {1, "reboot"}, {0, nullptr}};
const OptionListItem kApMode[] = {{1, "Access Point"},    {2, "WDS With Ap"}, {3, "WDS"},
                                  {4, "Wireless Client"}, {5, "AP Repeater"}, {0, nullptr}};

}  // namespace

// One translation unit, so they are built in this order and destroyed in the reverse.
VhOptionList g_optAutoRekeyControl(kAutoRekeyControl, VHOPTION_INT, 0);
VhOptionList g_optAutoRekeyStartWeek(kAutoRekeyStartWeek, VHOPTION_INT, 0);
VhOptionList g_optAPTrevakStatus(kAPTrevakStatus, VHOPTION_INT, 0);
VhOptionList g_optAPTrevakModeSelect(kAPTrevakModeSelect, VHOPTION_INT, 0);
VhOptionList g_optDeviceSettingApply(kDeviceSettingApply, VHOPTION_INT, 0);
VhOptionList g_optNetworkAccessProtection(kNetworkAccessProtection, VHOPTION_INT, 0);
VhOptionList g_optRadiusSource(kRadiusSource, VHOPTION_INT, 0);
VhOptionList g_optPrimaryAccountingStatus(kPrimaryAccountingStatus, VHOPTION_INT, 0);
VhOptionList g_optCipherType(kCipherType, VHOPTION_INT, 0);
VhOptionList g_optEncryption(kEncryption, VHOPTION_INT, 0);
VhOptionList g_optKeyIndex(kKeyIndex, VHOPTION_INT, 0);
VhOptionList g_optWepKeyEntryMethod(kWepKeyEntryMethod, VHOPTION_INT, 0);
VhOptionList g_optAutoChannelScan(kAutoChannelScan, VHOPTION_INT, 0);
VhOptionList g_optAuthentication(kAuthentication, VHOPTION_INT, 0);
VhOptionList g_optBand(kBand, VHOPTION_INT, 0);
VhOptionList g_optMssid(kMssid, VHOPTION_INT, 0);
VhOptionList g_optKeyIndex2(kKeyIndex2, VHOPTION_INT, 0);
VhOptionList g_optEncryption2(kEncryption2, VHOPTION_INT, 0);
VhOptionList g_optKeyEntryMethod(kKeyEntryMethod, VHOPTION_INT, 0);
VhOptionList g_optCipherType2(kCipherType2, VHOPTION_INT, 0);
VhOptionList g_optPrimaryAccountingStatus2(kPrimaryAccountingStatus2, VHOPTION_INT, 0);
VhOptionList g_optRadiusSource2(kRadiusSource2, VHOPTION_INT, 0);
VhOptionList g_optAPTrevakSyncSSIDStatus(kAPTrevakSyncSSIDStatus, VHOPTION_INT, 0);
VhOptionList g_optAPTrevakSyncSsidHiddenStatus(kAPTrevakSyncSsidHiddenStatus, VHOPTION_INT, 0);
VhOptionList g_optAPTrevakSyncAutoChannelStatus(kAPTrevakSyncAutoChannelStatus, VHOPTION_INT, 0);
VhOptionList g_optAPTrevakSyncSecurityStatus(kAPTrevakSyncSecurityStatus, VHOPTION_INT, 0);
VhOptionList g_optAPTrevakSyncLoginStatus(kAPTrevakSyncLoginStatus, VHOPTION_INT, 0);
VhOptionList g_optDeviceRestart(kDeviceRestart, VHOPTION_INT, 0);
VhOptionList g_optApMode(kApMode, VHOPTION_INT, 0);

// Rows: OID, name, syntax, access, option list; the expression texts, value and cursor stay null.
#define ROW(suffix, name, syntax, access, list) \
  { MIB_PREFIX "." suffix, name, syntax, access, list, nullptr, nullptr, nullptr, nullptr, nullptr }
// A table's key column, which has no OID of its own.
#define KEY_ROW(name) \
  { " ", name, SVS_INTEGER, SVA_NOTACCESS, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr }
#define END_ROW \
  { nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr }

// The RADIUS server and accounting rows that three tables share, in their order.
#define RADIUS_SERVER_ROWS(accountingStatusList) \
    ROW("2.1.3.3.2.1.1.8.1", "dot11PrimaryRadiusServer", SVS_IPADDRESS, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.9.1", "dot11PrimaryRadiusPort", SVS_INTEGER, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.10.1", "dot11PrimaryRadiusSecret", SVS_DISPLAYSTR, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.11.1", "dot11SecondaryRadiusServer", SVS_IPADDRESS, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.12.1", "dot11SecondaryRadiusPort", SVS_INTEGER, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.13.1", "dot11SecondaryRadiusSecret", SVS_DISPLAYSTR, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.14.1", "dot11PrimaryAccountingStatus", SVS_INTEGER, SVA_READWRITE, \
      accountingStatusList), \
    ROW("2.1.3.3.2.1.1.15.1", "dot11PrimaryAccountingServer", SVS_IPADDRESS, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.16.1", "dot11PrimaryAccountingServerPort", SVS_INTEGER, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.17.1", "dot11PrimaryAccountingPassPhrase", SVS_DISPLAYSTR, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.19.1", "dot11SecondaryAccountingServer", SVS_IPADDRESS, SVA_READWRITE, nullptr), \
    ROW("2.1.3.3.2.1.1.20.1", "dot11SecondaryAccountingServerPort", SVS_INTEGER, SVA_READWRITE, nullptr), \
  ROW("2.1.3.3.2.1.1.21.1", "dot11SecondaryAccountingPassPhrase", SVS_DISPLAYSTR, SVA_READWRITE, nullptr)

const SnmpVarItem g_mibAutoRekey[] = {
    ROW("2.1.3.3.2.1.1.29.1", "dot11AutoRekeyControl", SVS_INTEGER, SVA_READWRITE, &g_optAutoRekeyControl),
    ROW("2.1.3.3.2.1.1.30.1", "dot11AutoRekeyStartWeek", SVS_INTEGER, SVA_READWRITE, &g_optAutoRekeyStartWeek),
    ROW("2.1.3.3.2.1.1.31.1", "dot11AutoRekeyStartTime", SVS_DISPLAYSTR, SVA_READWRITE, nullptr),
    ROW("2.1.3.3.2.1.1.32.1", "dot11AutoRekeyTimeInterval", SVS_INTEGER, SVA_READWRITE, nullptr),
    ROW("2.1.3.3.2.1.1.33.1", "dot11AutoRekeyPassPhrase", SVS_DISPLAYSTR, SVA_READ, nullptr),
    END_ROW};

const SnmpVarItem g_mibApTrevak[] = {
    ROW("3.11.1.1.1", "dot11APTrevakStatus", SVS_INTEGER, SVA_READWRITE, &g_optAPTrevakStatus),
    ROW("3.11.1.1.2", "dot11APTrevakModeSelect", SVS_INTEGER, SVA_READWRITE, &g_optAPTrevakModeSelect),
    ROW("3.11.1.1.3", "dot11ApTrevakName", SVS_DISPLAYSTR, SVA_READWRITE, nullptr),
    ROW("3.11.1.1.4", "dot11ApTrevakPassword", SVS_DISPLAYSTR, SVA_READWRITE, nullptr), END_ROW};

const SnmpVarItem g_mibSettingApply[] = {
    ROW("4.2.3", "deviceSettingApply", SVS_INTEGER, SVA_READWRITE, &g_optDeviceSettingApply), END_ROW};

const SnmpVarItem g_mibRadius[] = {
    ROW("2.1.3.3.2.1.1.24.1", "dot11RadiusKeyUpdateInterval", SVS_INTEGER, SVA_READWRITE, nullptr),
    ROW("2.1.3.3.2.1.1.22.1", "dot11NetworkAccessProtection", SVS_INTEGER, SVA_READWRITE,
        &g_optNetworkAccessProtection),
    ROW("2.1.3.3.2.1.1.23.1", "dot11RadiusSource", SVS_INTEGER, SVA_READWRITE, &g_optRadiusSource),
    RADIUS_SERVER_ROWS(&g_optPrimaryAccountingStatus),
    END_ROW};

const SnmpVarItem g_mibRadiusWpa[] = {
    ROW("2.1.3.3.2.1.1.6.1", "dot11RadiusKeyUpdateInterval", SVS_INTEGER, SVA_READWRITE, nullptr),
    ROW("2.1.3.3.2.1.1.22.1", "dot11NetworkAccessProtection", SVS_INTEGER, SVA_READWRITE,
        &g_optNetworkAccessProtection),
    ROW("2.1.3.3.2.1.1.23.1", "dot11RadiusSource", SVS_INTEGER, SVA_READWRITE, &g_optRadiusSource),
    RADIUS_SERVER_ROWS(&g_optPrimaryAccountingStatus),
    ROW("2.1.3.3.2.1.1.5.1", "dot11CipherType", SVS_INTEGER, SVA_READWRITE, &g_optCipherType),
    END_ROW};

const SnmpVarItem g_mibPassPhrase[] = {
    ROW("2.1.3.3.2.1.1.4.1", "dot11PassPhrase", SVS_DISPLAYSTR, SVA_READWRITE, nullptr),
    ROW("2.1.3.3.2.1.1.5.1", "dot11CipherType", SVS_INTEGER, SVA_READWRITE, &g_optCipherType),
    ROW("2.1.3.3.2.1.1.6.1", "dot11GroupKeyUpdateInterval", SVS_INTEGER, SVA_READWRITE, nullptr), END_ROW};

const SnmpVarItem g_mibWep[] = {
    ROW("2.1.3.3.2.1.1.2.1", "dot11Encryption", SVS_INTEGER, SVA_READWRITE, &g_optEncryption),
    ROW("2.1.3.3.2.1.1.3.1", "dot11KeyIndex", SVS_INTEGER, SVA_READWRITE, &g_optKeyIndex), END_ROW};

const SnmpVarItem g_mibWepKeyTable[] = {
    KEY_ROW("ifIndex"), ROW("2.1.3.3.2.2.1.1", "dot11wepKeyIndex", SVS_INTEGER, SVA_NOTACCESS, nullptr),
    ROW("2.1.3.3.2.2.1.2", "dot11WepKeyEntryMethod", SVS_INTEGER, SVA_READWRITE, &g_optWepKeyEntryMethod),
    ROW("2.1.3.3.2.2.1.3", "dot11WepKey", SVS_DISPLAYSTR, SVA_READWRITE, nullptr), END_ROW};

const SnmpVarItem g_mibWireless[] = {
    ROW("2.1.3.3.1.1.1.1.1", "dot11Ssid", SVS_DISPLAYSTR, SVA_READWRITE, nullptr),
    ROW("2.1.3.3.1.1.1.3.1", "dot11Channel", SVS_INTEGER, SVA_READWRITE, nullptr),
    ROW("2.1.3.3.1.1.1.4.1", "dot11ChannelList", SVS_DISPLAYSTR, SVA_READ, nullptr),
    ROW("2.1.3.3.1.1.1.37.1", "dot11Band5GHzChannelList", SVS_DISPLAYSTR, SVA_READ, nullptr),
    ROW("2.1.3.3.1.1.1.24.1", "dot11AutoChannelScan", SVS_INTEGER, SVA_READWRITE, &g_optAutoChannelScan),
    ROW("2.1.3.3.2.1.1.1.1", "dot11Authentication", SVS_INTEGER, SVA_READWRITE, &g_optAuthentication),
    END_ROW};

const SnmpVarItem g_mibBand[] = {ROW("2.1.3.3.1.1.1.34.1", "dot11Band", SVS_INTEGER, SVA_READWRITE, &g_optBand),
                                 END_ROW};

const SnmpVarItem g_mibCountry[] = {ROW("2.1.3.3.1.1.1.39.1", "dot11Country", SVS_DISPLAYSTR, SVA_READWRITE, nullptr),
                                    END_ROW};

const SnmpVarItem g_mibMssid[] = {ROW("3.3.1.1.1.1", "dot11Mssid", SVS_INTEGER, SVA_READWRITE, &g_optMssid), END_ROW};

const SnmpVarItem g_mibApTrevakVersion[] = {
    ROW("3.11.1.1.5", "dot11APTrevakVersion", SVS_INTEGER, SVA_READWRITE, nullptr), END_ROW};

const SnmpVarItem g_mibWepKeyTable2[] = {
    KEY_ROW("ifIndex"),
    ROW("2.1.3.3.2.1.1.3.1", "dot11KeyIndex", SVS_INTEGER, SVA_READWRITE, &g_optKeyIndex2),
    ROW("2.1.3.3.2.1.1.2.1", "dot11Encryption", SVS_INTEGER, SVA_READWRITE, &g_optEncryption2),
    ROW("2.1.3.3.2.2.1.2.1.4", "dot11KeyEntryMethod", SVS_INTEGER, SVA_READWRITE, &g_optKeyEntryMethod),
    ROW("2.1.3.3.2.2.1.3.1.4", "dot11WepKey", SVS_DISPLAYSTR, SVA_READWRITE, nullptr),
    END_ROW};

const SnmpVarItem g_mibPassPhrase2[] = {
    ROW("2.1.3.3.2.1.1.4.1", "dot11PassPhrase", SVS_DISPLAYSTR, SVA_READWRITE, nullptr),
    ROW("2.1.3.3.2.1.1.5.1", "dot11CipherType", SVS_INTEGER, SVA_READWRITE, &g_optCipherType2),
    ROW("2.1.3.3.2.1.1.6.1", "dot11GroupKeyUpdateInterval", SVS_INTEGER, SVA_READWRITE, nullptr), END_ROW};

const SnmpVarItem g_mibRadius2[] = {
    RADIUS_SERVER_ROWS(&g_optPrimaryAccountingStatus2),
    ROW("2.1.3.3.2.1.1.23.1", "dot11RadiusSource", SVS_INTEGER, SVA_READWRITE, &g_optRadiusSource2),
    ROW("2.1.3.3.2.1.1.24.1", "dot11RadiusKeyUpdateInterval", SVS_INTEGER, SVA_READWRITE, nullptr),
    END_ROW};

const SnmpVarItem g_mibApTrevakSync[] = {
    ROW("3.11.3.1.1.2.1", "dot11APTrevakSyncSSIDStatus", SVS_INTEGER, SVA_READWRITE, &g_optAPTrevakSyncSSIDStatus),
    ROW("3.11.3.1.1.3.1", "dot11APTrevakSyncSsidHiddenStatus", SVS_INTEGER, SVA_READWRITE,
        &g_optAPTrevakSyncSsidHiddenStatus),
    ROW("3.11.3.1.1.4.1", "dot11APTrevakSyncAutoChannelStatus", SVS_INTEGER, SVA_READWRITE,
        &g_optAPTrevakSyncAutoChannelStatus),
    ROW("3.11.3.1.1.6.1", "dot11APTrevakSyncSecurityStatus", SVS_INTEGER, SVA_READWRITE,
        &g_optAPTrevakSyncSecurityStatus),
    ROW("3.11.3.1.1.32.1", "dot11APTrevakSyncLoginStatus", SVS_INTEGER, SVA_READWRITE, &g_optAPTrevakSyncLoginStatus),
    END_ROW};

const SnmpVarItem g_mibRestart[] = {ROW("4.2.1", "deviceRestart", SVS_INTEGER, SVA_READWRITE, &g_optDeviceRestart),
                                    END_ROW};

const SnmpVarItem g_mibUsers[] = {ROW("4.1.1.1.2.1", "usersName", SVS_DISPLAYSTR, SVA_READWRITE, nullptr),
                                  ROW("4.1.1.1.3.1", "usersPassword", SVS_DISPLAYSTR, SVA_READWRITE, nullptr), END_ROW};

const SnmpVarItem g_mibApMode[] = {ROW("2.1.3.3.1.1.1.28.1", "dot11ApMode", SVS_INTEGER, SVA_READWRITE, &g_optApMode),
                                   END_ROW};

const SnmpVarItem g_mibApModesSupported[] = {ROW("6.1.1.1.1.1", "apModesSupported", SVS_INTEGER, SVA_INVALID, nullptr),
                                             ROW("6.1.1.1.1.2", "apModesSupported", SVS_INTEGER, SVA_INVALID, nullptr),
                                             END_ROW};

const MibTableEntry g_mibTables[] = {{"g_mibAutoRekey", g_mibAutoRekey},
                                     {"g_mibApTrevak", g_mibApTrevak},
                                     {"g_mibSettingApply", g_mibSettingApply},
                                     {"g_mibRadius", g_mibRadius},
                                     {"g_mibRadiusWpa", g_mibRadiusWpa},
                                     {"g_mibPassPhrase", g_mibPassPhrase},
                                     {"g_mibWep", g_mibWep},
                                     {"g_mibWepKeyTable", g_mibWepKeyTable},
                                     {"g_mibWireless", g_mibWireless},
                                     {"g_mibBand", g_mibBand},
                                     {"g_mibCountry", g_mibCountry},
                                     {"g_mibMssid", g_mibMssid},
                                     {"g_mibApTrevakVersion", g_mibApTrevakVersion},
                                     {"g_mibWepKeyTable2", g_mibWepKeyTable2},
                                     {"g_mibPassPhrase2", g_mibPassPhrase2},
                                     {"g_mibRadius2", g_mibRadius2},
                                     {"g_mibApTrevakSync", g_mibApTrevakSync},
                                     {"g_mibRestart", g_mibRestart},
                                     {"g_mibUsers", g_mibUsers},
                                     {"g_mibApMode", g_mibApMode},
                                     {"g_mibApModesSupported", g_mibApModesSupported},
                                     {nullptr, nullptr}};
