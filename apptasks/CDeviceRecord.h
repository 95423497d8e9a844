// One access point as the wizard knows it: what a discovery answer reported
// and what the pages plan for it. Records sit in the pages' pointer lists and
// are shared between them; the page base frees them. Every field starts empty
// or 0, so a record read through a shared list never shows an unset int.
#pragma once

#include "afx.h"

class CDeviceRecord {
 public:
  // Where a device stands to the group the wizard makes or changes: it
  // stays or becomes a member, it leaves, or it has no part in the group.
  enum Membership { kMember = 0, kLeaving = 1, kNotMember = -1 };

  CString m_strModel;
  CString m_strFirmware;
  CString m_strMac;  // 12 upper-case hex digits
  CString m_strIp;
  CString m_strNetmask;
  CString m_strLocation;
  // Only announcements (listen mode) carry these eight.
  CString m_strGroupFullStatus;
  CString m_strRole;
  CString m_strDiscoverNumber;
  CString m_strCfgVersion;
  CString m_strGroupName;
  CString m_strGroupStatus;
  CString m_strGroupPassword;
  CString m_strOriginalRole;
  // Planned by the wizard pages.
  int m_nAutoIp = 0;            // 1: the address comes from the automatic plan
  int m_nManualIp = 0;          // 1: the address was typed by hand
  int m_nMembership = kMember;  // a Membership
  CString m_strNewIp;
  CString m_strNewNetmask;
  CString m_strNewGateway;
  CString m_strSnmpStatus;  // "1": SNMP on
  CString m_strReadCommunity;
  CString m_strWriteCommunity;
  CString m_strDevicePassword;
  int m_nConfirmed = 0;  // a group record whose device also answered the broadcast
};
