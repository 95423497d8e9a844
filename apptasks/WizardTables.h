// The QUAV variables that the wizard reads and writes, as its requests carry
// them: the device tasks copy these tables into their request lists, quavctl
// sends the same requests, and the tests build theirs from here. Needs nothing
// of the program but the QUAV library.
#pragma once

#include "QUAVVarlist.h"

inline const VhQUAVVar kSetIpTable[] = {
    {1, "0008", "IP Address", 13, 3, nullptr, nullptr, nullptr},
    {1, "0009", "IP Netmask", 13, 3, nullptr, nullptr, nullptr},
    {1, "000a", "GateWay Address", 13, 3, nullptr, nullptr, nullptr},
    {10, "0103", "Save Config", 2, 3, nullptr, nullptr, nullptr},
    {10, "0104", "Apply", 2, 3, nullptr, nullptr, nullptr},
    {0, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr},
};

inline const VhQUAVVar kRebootTable[] = {
    {10, "0101", "System Reboot", 2, 3, nullptr, nullptr, nullptr},
    {0, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr},
};

inline const VhQUAVVar kCommunityTable[] = {
    {10, "020104", "Public Community String", 17, 3, nullptr, nullptr, nullptr},
    {10, "020105", "Private Community String", 17, 3, nullptr, nullptr, nullptr},
    {10, "020101", "SNMP Status", 8, 3, nullptr, nullptr, nullptr},
    {0, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr},
};

// What an announcement carries.
inline const QUAResponseVar kListenResponseTable[] = {
    {1, "0005", "Model Name", 17, 3, nullptr, nullptr},
    {1, "0006", "F/W version", 17, 3, nullptr, nullptr},
    {1, "0007", "System MAC Address", 14, 3, nullptr, nullptr},
    {1, "0008", "System IP (v4) Address", 13, 3, nullptr, nullptr},
    {1, "0009", "System IP (v4) Netmask", 13, 3, nullptr, nullptr},
    {1, "000D", "Location Description", 17, 3, nullptr, nullptr},
    {12, "0101", "Array full status", 17, 3, nullptr, nullptr},
    {12, "0102", "Role", 17, 3, nullptr, nullptr},
    {12, "0103", "Discover number", 17, 3, nullptr, nullptr},
    {12, "0104", "CFG Version", 17, 3, nullptr, nullptr},
    {12, "0105", "Array name", 17, 3, nullptr, nullptr},
    {12, "0106", "Array status", 17, 3, nullptr, nullptr},
    {12, "0107", "Array password", 17, 3, nullptr, nullptr},
    {12, "0108", "original Array Role", 17, 3, nullptr, nullptr},
    {10, "020101", "SNMP Status", 8, 3, nullptr, nullptr},
    {0, nullptr, nullptr, 0, 0, nullptr, nullptr},
};

// What a Discover answer carries.
inline const QUAResponseVar kBroadcastResponseTable[] = {
    {1, "0005", "Model Name", 17, 3, nullptr, nullptr},
    {1, "0006", "F/W version", 17, 3, nullptr, nullptr},
    {1, "0007", "System MAC Address", 14, 3, nullptr, nullptr},
    {1, "0008", "System IP (v4) Address", 13, 3, nullptr, nullptr},
    {1, "0009", "System IP (v4) Netmask", 13, 3, nullptr, nullptr},
    {1, "000D", "Location Description", 17, 3, nullptr, nullptr},
    {10, "020101", "SNMP Status", 8, 3, nullptr, nullptr},
    {0, nullptr, nullptr, 0, 0, nullptr, nullptr},
};

// The answers of the two discovery modes are split by these two lists. They
// live for the whole program: the discovery tables below point at them, and
// every list copied from those tables copies them.
inline QUAVResponseVarList g_listenResponseList{kListenResponseTable};
inline QUAVResponseVarList g_broadcastResponseList{kBroadcastResponseTable};

// Listening for announcements (discovery mode 0).
inline const VhQUAVVar kListenDiscoveryTable[] = {
    {0, "00", "Discovery", 0, 1, nullptr, &g_listenResponseList, nullptr},
    {0, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr},
};

// A Discover broadcast (discovery mode 1).
inline const VhQUAVVar kBroadcastDiscoveryTable[] = {
    {0, "00", "Discovery", 0, 1, nullptr, &g_broadcastResponseList, nullptr},
    {0, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr},
};
