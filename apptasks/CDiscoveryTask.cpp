#include "CDiscoveryTask.h"

#include <cstdio>
#include <iterator>

#include "DelayPumpMessages.h"
#include "InputChecks.h"
#include "WizardTables.h"

namespace {

const unsigned long kBroadcastTimeout = 500;  // units of 10 ms
const unsigned long kListenTimeout = 2000;
const char kEveryDevice[] = "ffffffffffff";

// Where the sub-values of an answer go, in the order of the mode's response list.
typedef CString CDeviceRecord::*RecordField;
const RecordField kBroadcastFields[] = {
    &CDeviceRecord::m_strModel,    &CDeviceRecord::m_strFirmware, &CDeviceRecord::m_strMac,
    &CDeviceRecord::m_strIp,       &CDeviceRecord::m_strNetmask,  &CDeviceRecord::m_strLocation,
    &CDeviceRecord::m_strSnmpStatus,
};
const RecordField kListenFields[] = {
    &CDeviceRecord::m_strModel,           &CDeviceRecord::m_strFirmware,
    &CDeviceRecord::m_strMac,             &CDeviceRecord::m_strIp,
    &CDeviceRecord::m_strNetmask,         &CDeviceRecord::m_strLocation,
    &CDeviceRecord::m_strGroupFullStatus, &CDeviceRecord::m_strRole,
    &CDeviceRecord::m_strDiscoverNumber,  &CDeviceRecord::m_strCfgVersion,
    &CDeviceRecord::m_strGroupName,       &CDeviceRecord::m_strGroupStatus,
    &CDeviceRecord::m_strGroupPassword,   &CDeviceRecord::m_strOriginalRole,
    &CDeviceRecord::m_strSnmpStatus,
};

}  // namespace

BOOL RecordFromAnswer(basicVarList* list, int mode, CDeviceRecord& record, CString* why) {
  const RecordField* fields = mode == CDiscoveryTask::kBroadcast ? kBroadcastFields : kListenFields;
  const int fieldCount =
      mode == CDiscoveryTask::kBroadcast ? int(std::size(kBroadcastFields)) : int(std::size(kListenFields));
  const int n = list->GetResponseItemCount(0);
  CString reason;
  if (n < 0) reason = "no response list";
  // Texts that are shown go on one line; the group password is compared,
  // never shown, and is kept as it came.
  for (int i = 0; i < n && i < fieldCount; ++i) {
    const CString value = list->GetResponseItemValue(0, i);
    record.*fields[i] = fields[i] == &CDeviceRecord::m_strGroupPassword ? value : OneLineText(value);
  }
  // Each reason names the device's MAC first, as the scan page lists them.
  const CString& mac = record.m_strMac;
  if (reason.IsEmpty() && mac.IsEmpty()) reason = "no MAC";
  if (reason.IsEmpty() && !IsDeviceMacText(mac)) reason = mac + ": no device's MAC";
  if (reason.IsEmpty() && !IsUnicastAddressText(record.m_strIp)) reason = mac + ": " + record.m_strIp + " is no host address";
  // A device's netmask is a run of ones from the top, and its address a host
  // of that subnet; neither answer names a gateway.
  if (reason.IsEmpty() && !IsValidNetmaskText(record.m_strNetmask))
    reason = mac + ": netmask " + record.m_strNetmask + " is no netmask";
  if (reason.IsEmpty() && !IsValidHostIp(record.m_strIp, record.m_strNetmask))
    reason = mac + ": " + record.m_strIp + " is no host under " + record.m_strNetmask;
  if (why) *why = reason;
  return reason.IsEmpty();
}

CDiscoveryTask::CDiscoveryTask(int mode)
    : m_nTimeout(mode == kBroadcast ? kBroadcastTimeout : kListenTimeout),
      m_nMode(mode),
      m_pClient(new CQUAVTaskClient) {
  try {
    if (mode == kBroadcast)
      m_pClient->SetRequestMode(0, "");
    else
      m_pClient->SetRequestMode_Listen("", QUAV_LISTEN_PORT);
  } catch (CVHException*) {
    delete m_pClient;
    throw;
  }
}

// Pending requests are dropped, not awaited: their answers would be handled
// by a task that is going away.
CDiscoveryTask::~CDiscoveryTask() {
  m_pClient->CancelAll();
  m_list.Clear();
  delete m_pClient;
}

void CDiscoveryTask::ClearSeenMacs() { m_seenMacs.RemoveAll(); }

void CDiscoveryTask::AddSeenMac(const CString& mac) {
  if (!m_seenMacs.Find(mac)) m_seenMacs.AddTail(mac);
}

void CDiscoveryTask::Forget(void* owner) {
  if (m_pOwner != owner) return;
  m_pfnResult = nullptr;
  m_pOwner = nullptr;
}

void CDiscoveryTask::StartListen() { m_pClient->StartListen(); }
void CDiscoveryTask::StopListen() { m_pClient->StopListen(); }

void CDiscoveryTask::Run(DiscoveryResultProc proc, void* owner) {
  m_bDone = FALSE;
  m_pfnResult = proc;
  m_pOwner = owner;
  try {
    m_list = QUAVVarlist(m_nMode == kBroadcast ? kBroadcastDiscoveryTable : kListenDiscoveryTable);
    for (POSITION pos = m_seenMacs.GetHeadPosition(); pos;) {
      const CString& mac = m_seenMacs.GetNext(pos);
      if (mac.IsEmpty()) continue;
      int index = m_list.Append(1, "0007", "MacAddress", 14, QUAV_WRITE, nullptr, nullptr) - 1;
      m_list[index]->value = mac;
    }
    m_list.SetSecurityMode(QUAV_SECURITY_NONE, "");
    if (m_nMode == kBroadcast) {
      m_list.SetCommand(QUAV_CMD_DISCOVER);
      m_pClient->SendRequest(kEveryDevice, &m_list, OnResponse, m_nTimeout, this);
    } else {
      m_list.SetCommand(QUAV_CMD_ANNOUNCE);
      m_pClient->Listen(QUAV_LISTEN_PORT, kEveryDevice, &m_list, OnResponse, m_nTimeout, this, 0, "");
    }
  } catch (CVHException* e) {
    ShowQUAVFailure(e);
    End(-1);
    return;
  }
  while (!m_bAsync && !m_bDone) DelayPumpMessages(200);
}

void CDiscoveryTask::OnResponse(VhQUAVError* error, basicVarList* list, void* user) {
  auto* task = static_cast<CDiscoveryTask*>(user);
  // One device's refusal says nothing of the others: the scan goes on.
  if (error->code != 0 && error->code != QUAV_TIMEOUT && !error->extra.IsEmpty()) {
    task->Ignore(error->extra + ": answered " + QUAVFailureText(error->message));
    return;
  }
  task->HandleResponse(error->code, list);
}

void CDiscoveryTask::HandleResponse(int code, basicVarList* list) {
  if (code == QUAV_TIMEOUT) {
    if (m_nRetries > 0) {
      --m_nRetries;
      Run(m_pfnResult, m_pOwner);
    } else {
      End(1);
    }
  } else if (code != 0) {
    End(-1);
  } else {
    ReportDevice(list);
  }
}

void CDiscoveryTask::ReportDevice(basicVarList* list) {
  CDeviceRecord record;
  CString why;
  if (!RecordFromAnswer(list, m_nMode, record, &why)) {
    // Answers without a MAC at all are noise, not worth a line.
    if (!record.m_strMac.IsEmpty()) Ignore(why);
    return;
  }
  AddSeenMac(record.m_strMac);
  if (m_pfnResult) m_pfnResult(0, &record, m_pOwner);
}

void CDiscoveryTask::Ignore(const CString& line) {
  m_ignored.AddTail(line);
  std::fprintf(stderr, "Trellian: discovery: %s\n", line.GetString());
}

void CDiscoveryTask::End(int status) {
  m_bDone = TRUE;
  if (m_pfnResult) m_pfnResult(status, nullptr, m_pOwner);
}
