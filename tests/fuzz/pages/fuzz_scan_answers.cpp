// The road from a datagram on the LAN to what a scan page lists: each
// datagram decoded as a Discover answer or an announcement, made a record
// (refused when it names no device), handed to the create and the modify
// scan pages, merged, and the group names and device texts collected. Any
// record that reaches a list must have a device's MAC, a host address under
// its own netmask (whatever its last part) and texts without control
// characters.
//
// Input: datagrams, each preceded by its length in two bytes (big-endian).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "CDeviceRecord.h"
#include "CDiscoveryTask.h"
#include "InputChecks.h"
#include "ScanPages.h"
#include "WizardTables.h"

namespace {

// The pages' merge, reached from outside.
struct NewApScan : CScanNewApPage {
  void MergeNow() { Merge(); }
};
struct ModifyScan : CModifyScanPage {
  void MergeNow() { Merge(); }
};

bool OneLine(const CString& text) { return OneLineText(text) == text; }

void Check(const CDeviceRecord& r) {
  if (!IsDeviceMacText(r.m_strMac) || !IsUnicastAddressText(r.m_strIp) || !IsValidNetmaskText(r.m_strNetmask) ||
      !IsValidHostIp(r.m_strIp, r.m_strNetmask) || r.m_strMac != CString(r.m_strMac).MakeUpper())
    std::abort();
  for (const CString* text : {&r.m_strModel, &r.m_strFirmware, &r.m_strLocation, &r.m_strGroupName, &r.m_strRole,
                              &r.m_strNetmask, &r.m_strSnmpStatus})
    if (!OneLine(*text)) std::abort();
}

void CheckList(const CPtrList& list) {
  for (POSITION pos = list.GetHeadPosition(); pos;) Check(*static_cast<CDeviceRecord*>(list.GetNext(pos)));
}

template <class Page>
void Feed(Page& page, const uint8_t* data, size_t size) {
  static const QUAResponseVar* const kTables[] = {kListenResponseTable, kBroadcastResponseTable};
  while (size >= 2) {
    size_t length = (size_t(data[0]) << 8) | data[1];
    data += 2;
    size -= 2;
    if (length > size) length = size;
    QUAVHeader header;
    if (QUAVReadHeader(data, int(length), header) == 0) {
      const int mode = header.command == QUAV_CMD_ANNOUNCE ? CDiscoveryTask::kListen : CDiscoveryTask::kBroadcast;
      QUAVResponseVarList response(kTables[mode == CDiscoveryTask::kListen ? 0 : 1]);
      QUAVVarlist list;
      list.Append(0, "00", "Discovery", 0, 1, nullptr, &response);
      list.m_nListen = mode == CDiscoveryTask::kListen;
      list.GetValuesFromBuff(data + QUAV_HEADER_SIZE, int(length) - QUAV_HEADER_SIZE);
      CDeviceRecord record;
      if (RecordFromAnswer(&list, mode, record, nullptr)) {
        if (mode == CDiscoveryTask::kListen)
          Page::OnGroupFound(0, &record, &page);
        else
          Page::OnDeviceFound(0, &record, &page);
      }
    }
    data += length;
    size -= length;
  }
  CheckList(page.m_groupList);
  CheckList(page.m_deviceList);
  page.MergeNow();
  CheckList(page.m_groupList);
  CheckList(page.m_deviceList);
  page.CollectGroupNames();
  for (POSITION pos = page.m_groupNames.GetHeadPosition(); pos;)
    if (!OneLine(page.m_groupNames.GetNext(pos))) std::abort();
  CWizardPage::FreeRecordList(&page.m_groupList);
  CWizardPage::FreeRecordList(&page.m_deviceList);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    NewApScan page;
    page.m_strGroupName = "Lobby";
    Feed(page, data, size);
  }
  {
    ModifyScan page;
    Feed(page, data, size);
  }
  return 0;
}
