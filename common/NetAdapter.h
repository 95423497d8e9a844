// The computer's Ethernet adapters with their IPv4 settings, read from and
// written to the registry. Offered by the library; the wizard does not use it.
#pragma once

#include "afx.h"

struct NetAdapterEntry {
  CString instanceId;
  CString description;
  CString ipAddress;
  CString subnetMask;
  CString defaultGateway;
};

// The adapters found by the last EnumAdapters, in registry order; the list owns them.
const CPtrList& GetAdapterList();

// Refills the adapter list; 0 when the adapter class key cannot be opened.
BOOL EnumAdapters();
// Reads the IPv4 settings of one adapter into `entry`; a value that cannot be
// read leaves its field as it was. 0 when the interface key cannot be opened.
BOOL ReadAdapterIp(NetAdapterEntry& entry, const CString& instanceId);
// Writes fixed IPv4 settings for one adapter; 0 when its key cannot be opened for writing.
BOOL WriteAdapterIp(const CString& instanceId, const CString& ipAddress, const CString& subnetMask,
                    const CString& gateway);
// WriteAdapterIp, then tells the system; 1 when both succeed.
BOOL SetAdapterIp(const CString& instanceId, const CString& ipAddress, const CString& subnetMask,
                  const CString& gateway);
