// The member store: the 20 text columns of the member lists. The member
// pages show and plan the members in them, the apply page keeps each
// member's working state in them during its run, and the device tasks write
// their progress and outcome into the row of their device. Every cell holds
// text and every comparison is exact, so a state is the text itself: the
// marks below name those texts once for every writer and reader.
//
// The member list control (CRTListCtrlEx, on the controls' floor below this
// header) draws kColRole, kColAuto, kColManual and kColDelete in its own way
// under names of its own; the member page checks that the numbers agree.
#pragma once

enum MemberListColumn {
  kColIndex = 0,  // the member pages' row text: the position, or the model name
  kColRole = 1,
  // The address the device answers at; on the member pages a manual row
  // shows the typed address here instead (see kColNewIp).
  kColIp = 2,
  kColMac = 3,  // 12 hex digits; a device task finds its row by it
  kColLocation = 4,
  // The member pages' "Set IP" check box; in the store the automatic-address
  // flag, which then follows the device's set-IP task.
  kColAuto = 5,
  // The member pages' icon that opens the manual address dialog; in the store
  // the manual-address flag, and where a set-IP task writes why it failed.
  kColManual = 6,
  // The member pages' remove icon; in the store the record's membership.
  kColDelete = 7,
  // A device task's progress bar, then the outcome of its step; the member
  // pages mark a row that became a record here.
  kColAction = 8,
  kColMask = 9,
  kColIsManual = 10,  // an address typed by hand is set
  kColReadCommunity = 11,
  kColWriteCommunity = 12,
  kColIsAdd = 13,  // the operator dragged the device in
  // Two meanings, as the member pages put the typed address where it shows:
  // on the member pages a manual row's current address, which kColIp showed
  // before the typed one replaced it; in the store the new address that the
  // set-IP task gives the device, while kColIp holds the current one.
  kColNewIp = 14,
  kColNewMask = 15,
  kColNewGateway = 16,
  kColRetry = 17,
  kColPassword = 18,  // the device password
  // In the store whether SNMP is usable; the member pages show it as a word.
  kColSnmpStatus = 19,
  kMemberColumnCount = 20
};

// The header of one column. The apply page heads its store with the plain
// titles; the member pages take theirs from the language file where a key is
// given. A width of 0 hides the column.
struct MemberColumnHeader {
  const char* title;
  const char* titleKey;  // the member pages' title, a language key; null: `title`
  int storeWidth;        // on the apply page
  int memberPageWidth;   // on both member pages
};

inline constexpr MemberColumnHeader kMemberColumnHeaders[kMemberColumnCount] = {
    {"Index", "IDS_UI_LIST_INDEX", 0, 0},
    {"Role", "IDS_UI_LIST_ROLE", 80, 80},
    {"IPAddress", "IDS_UI_LIST_IP", 100, 95},
    {"MacAddress", "IDS_UI_LIST_MAC", 100, 100},
    {"Location", "IDS_UI_LIST_LOCATION", 80, 80},
    {"Automatically", "IDS_UI_LIST_AUTO", 100, 100},
    {"Manually", "IDS_UI_LIST_MANUALLY", 80, 65},
    {"Delete", "IDS_UI_LIST_DEL", 70, 55},
    {"Action", nullptr, 0, 0},
    {"Mask", nullptr, 0, 0},
    {"IsManu", nullptr, 0, 0},
    {"Snmp Pub", nullptr, 0, 0},
    {"Snmp Pri", nullptr, 0, 0},
    {"IsAdd", nullptr, 0, 0},
    {"NewIP", nullptr, 0, 0},
    {"NewMask", nullptr, 0, 0},
    {"NewGetWAY", nullptr, 0, 0},
    {"retry", nullptr, 0, 0},
    {"Password", nullptr, 0, 0},
    {"Snmp Status", "IDS_UI_LIST_SNMP", 0, 85},
};

// kColRole.
inline constexpr char kRoleMaster[] = "Master";
inline constexpr char kRoleBackupMaster[] = "Backup Master";
inline constexpr char kRoleSlave[] = "Slave";

// kColAuto and kColManual: the record's address flags as "%d". In the set-IP
// pass kColAuto is kFlagOn again once the task reported success or failure
// (a refused password leaves it pending for the retry), and kFlagOff when
// the operator cancelled the password prompt.
inline constexpr char kFlagOn[] = "1";
inline constexpr char kFlagOff[] = "0";
inline constexpr char kSetIpPending[] = "D";  // kColAuto: a set-IP task runs or waits for its retry
inline constexpr char kSetIpBoxText[] = "Set IP";  // the member pages' text beside the box

// kColDelete: the record's membership (CDeviceRecord::Membership) as "%d".
// Every step passes by a device outside the group: an unconfigured one, or
// another group's member.
inline constexpr char kStaysInGroup[] = "0";
inline constexpr char kLeavesGroup[] = "1";
inline constexpr char kNotInGroup[] = "-1";  // outside the group

// kColAction.
inline constexpr char kGetSnmpOk[] = "Get SNMP OK";
inline constexpr char kGetSnmpFailed[] = "Get SNMP Unsuccess!";
inline constexpr char kSetIpOk[] = "Set IP OK";
inline constexpr char kSetIpFailed[] = "Set IP Unsuccess!";
// A task's password was refused once: the next refusal gets its log line.
inline constexpr char kPasswordRefused[] = "A";
inline constexpr char kRowRecorded[] = "DONE";  // the member pages turned the row into a record

// kColIsManual: set while an address typed by hand stands, cleared once the
// automatic plan took the row back; empty before either.
inline constexpr char kManualSet[] = "YES";
inline constexpr char kManualCleared[] = "NO";

// kColIsAdd.
inline constexpr char kFromGroup[] = "0";
inline constexpr char kAddedByOperator[] = "1";

// kColSnmpStatus in the store, as a device record holds it: kSnmpOn once the
// device's SNMP is usable, kSnmpOff when it failed, was given up, or was
// switched off by the last pass.
inline constexpr char kSnmpOn[] = "1";
inline constexpr char kSnmpOff[] = "0";
inline constexpr char kSnmpPending[] = "A";  // a community task runs or must be retried
// kColSnmpStatus on the member pages.
inline constexpr char kSnmpShownOn[] = "Enable";
inline constexpr char kSnmpShownOff[] = "Disable";

// The communities the community task gives every member, which the store then
// holds for the SNMP steps.
inline constexpr char kDefaultReadCommunity[] = "quorin";
inline constexpr char kDefaultWriteCommunity[] = "velmont";
