// A listen-mode request for announcements to port 55000, each decoded into the
// fields an announcement carries. For tests that link the QUAV library.
#pragma once

#include "AlQUAVClient.h"
#include "WizardTables.h"

struct AnnouncementListen {
  QUAVResponseVarList response{kListenResponseTable};
  QUAVVarlist list;
  // Puts the client in listen mode; the caller starts and stops listening.
  explicit AnnouncementListen(AlQUAVClient& client) {
    client.SetRequestMode_Listen("", QUAV_LISTEN_PORT);
    list.Append(0, "00", "Discovery", 0, 1, nullptr, &response);
    list.SetCommand(QUAV_CMD_ANNOUNCE);
  }
};
