// The device variables the wizard reads and writes over SNMP, one static table
// per group of variables that a page or the apply engine handles together, and
// the option lists that translate their enumerated values. The lists are built
// before main runs and destroyed after it ends, in reverse order; every list
// built from a table keeps pointers to them.
#pragma once

#include "SnmpVarList.h"
#include "VhOptionList.h"

// The maker's private subtree that every OID below lies under.
#define MIB_PREFIX "1.3.6.1.4.1.32473.10.37.40"

extern VhOptionList g_optAutoRekeyControl;
extern VhOptionList g_optAutoRekeyStartWeek;
extern VhOptionList g_optAPTrevakStatus;
extern VhOptionList g_optAPTrevakModeSelect;
extern VhOptionList g_optDeviceSettingApply;
extern VhOptionList g_optNetworkAccessProtection;
extern VhOptionList g_optRadiusSource;
extern VhOptionList g_optPrimaryAccountingStatus;
extern VhOptionList g_optCipherType;
extern VhOptionList g_optEncryption;
extern VhOptionList g_optKeyIndex;
extern VhOptionList g_optWepKeyEntryMethod;
extern VhOptionList g_optAutoChannelScan;
extern VhOptionList g_optAuthentication;
extern VhOptionList g_optBand;
extern VhOptionList g_optMssid;
extern VhOptionList g_optKeyIndex2;
extern VhOptionList g_optEncryption2;
extern VhOptionList g_optKeyEntryMethod;
extern VhOptionList g_optCipherType2;
extern VhOptionList g_optPrimaryAccountingStatus2;
extern VhOptionList g_optRadiusSource2;
extern VhOptionList g_optAPTrevakSyncSSIDStatus;
extern VhOptionList g_optAPTrevakSyncSsidHiddenStatus;
extern VhOptionList g_optAPTrevakSyncAutoChannelStatus;
extern VhOptionList g_optAPTrevakSyncSecurityStatus;
extern VhOptionList g_optAPTrevakSyncLoginStatus;
extern VhOptionList g_optDeviceRestart;
extern VhOptionList g_optApMode;

extern const SnmpVarItem g_mibAutoRekey[];
extern const SnmpVarItem g_mibApTrevak[];
extern const SnmpVarItem g_mibSettingApply[];
extern const SnmpVarItem g_mibRadius[];
extern const SnmpVarItem g_mibRadiusWpa[];
extern const SnmpVarItem g_mibPassPhrase[];
extern const SnmpVarItem g_mibWep[];
extern const SnmpVarItem g_mibWepKeyTable[];
extern const SnmpVarItem g_mibWireless[];
extern const SnmpVarItem g_mibBand[];
extern const SnmpVarItem g_mibCountry[];
extern const SnmpVarItem g_mibMssid[];
extern const SnmpVarItem g_mibApTrevakVersion[];
extern const SnmpVarItem g_mibWepKeyTable2[];
extern const SnmpVarItem g_mibPassPhrase2[];
extern const SnmpVarItem g_mibRadius2[];
extern const SnmpVarItem g_mibApTrevakSync[];
extern const SnmpVarItem g_mibRestart[];
extern const SnmpVarItem g_mibUsers[];
extern const SnmpVarItem g_mibApMode[];
extern const SnmpVarItem g_mibApModesSupported[];

// Every table with its name, in the order they lie: for listings and tests.
struct MibTableEntry {
  const char* name;
  const SnmpVarItem* rows;
};
extern const MibTableEntry g_mibTables[];  // ends with a null name

