#include "AlQUAVClient.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <vector>

#include "CVHException.h"
#include "Clock.h"
#include "OctetStr.h"
#include "Threads.h"
#include "Winsock.h"

namespace {

const UINT_PTR kTimerId = 1;
const UINT kTickMs = 20;
const DWORD kDestroyWaitMs = 6000;
const int kSendBufferSize = 8192;
// Larger than any UDP payload, so that no datagram is ever cut.
const int kReceiveBufferSize = 65535;

bool MacBytes(const CString& text, BYTE mac[6]) {
  OctetStr bytes = OctetStr::from_hex_string(OctetStr(text));
  if (bytes.len() != 6) return false;
  std::memcpy(mac, bytes.data(), 6);
  return true;
}

CString MacText(const BYTE mac[6]) {
  CString text;
  text.Format("%02X%02X%02X%02X%02X%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
  return text;
}

// Ticks compared so that a wrap of the counter during a request does no harm.
bool Passed(DWORD deadline, DWORD now) { return LONG(now - deadline) > 0; }

}  // namespace

BEGIN_MESSAGE_MAP(AlQUAVClient, CWnd)
ON_WM_TIMER()
ON_MESSAGE(WM_QUAV_RECV, OnQUAVRecv)
END_MESSAGE_MAP()

AlQUAVClient::AlQUAVClient()
    : m_socket(INVALID_SOCKET),
      m_nSequence(0),
      m_nTimer(0),
      m_bListenMode(FALSE),
      m_bListening(FALSE),
      m_threadId(GetCurrentThreadId()) {
  if (!CreateEx(0, AfxRegisterWndClass(0), "AlQUAVClient Notice Windows", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
    QUAVThrow(QUAV_WINDOW_FAILED);
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
    WSACleanup();
    DestroyWindow();
    QUAVThrow(QUAV_SOCKET_NOT_READY);
  }
  m_nTimer = SetTimer(kTimerId, kTickMs, nullptr);
}

AlQUAVClient::~AlQUAVClient() {
  CheckThread();
  // Answers and time-outs keep coming while requests are pending; the timer
  // stays on for the wait, or pending time-outs would only end with it.
  DWORD start = GetTickCount();
  while (!m_pending.IsEmpty() && GetTickCount() - start < kDestroyWaitMs) {
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));
        break;
      }
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kTickMs, QS_ALLINPUT);
    }
  }
  if (m_hWnd && m_nTimer) KillTimer(kTimerId);
  CancelAll();
  CloseSocket();
  WSACleanup();
  m_bListenMode = FALSE;
  m_bListening = FALSE;
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow();
}

// The window, its timer and its socket belong to the creating thread; a call
// from elsewhere is a fault of the program, not of its input.
void AlQUAVClient::CheckThread() const {
  if (GetCurrentThreadId() != m_threadId) {
    std::fprintf(stderr, "AlQUAVClient used from thread %lu; it belongs to thread %lu\n",
                 static_cast<unsigned long>(GetCurrentThreadId()), static_cast<unsigned long>(m_threadId));
    std::abort();
  }
}

void AlQUAVClient::CloseSocket() {
  if (m_socket == INVALID_SOCKET) return;
  WSAAsyncSelect(m_socket, m_hWnd, 0, 0);
  closesocket(m_socket);
  m_socket = INVALID_SOCKET;
}

void AlQUAVClient::OpenSocket(BOOL broadcast, const CString& localIp, int port) {
  CloseSocket();
  m_socket = socket(AF_INET, SOCK_DGRAM, 0);
  bool ok = m_socket != INVALID_SOCKET;
  if (ok && broadcast) {
    BOOL on = TRUE;
    ok = setsockopt(m_socket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) == 0;
  }
  if (ok) {
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(u_short(port));
    local.sin_addr.s_addr = localIp.IsEmpty() ? htonl(INADDR_ANY) : inet_addr(localIp);
    ok = (localIp.IsEmpty() || local.sin_addr.s_addr != INADDR_NONE) &&
         bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
  }
  if (ok) ok = WSAAsyncSelect(m_socket, m_hWnd, WM_QUAV_RECV, FD_READ) == 0;
  if (!ok) {
    if (m_socket != INVALID_SOCKET) closesocket(m_socket);
    m_socket = INVALID_SOCKET;
    QUAVThrow(QUAV_WINSOCK_FAILED);
  }
}

void AlQUAVClient::SetRequestMode(RequestMode mode, CString localIp) {
  CheckThread();
  OpenSocket(mode == 0, localIp, 0);
}

void AlQUAVClient::SetRequestMode_Listen(CString localIp, int port) {
  CheckThread();
  m_bListenMode = TRUE;
  OpenSocket(FALSE, localIp, port);
}

void AlQUAVClient::StartListen() { m_bListening = TRUE; }

void AlQUAVClient::CancelAll() {
  CheckThread();
  while (!m_pending.IsEmpty()) delete static_cast<_QUAVReqData*>(m_pending.RemoveHead());
}
void AlQUAVClient::StopListen() { m_bListening = FALSE; }

void AlQUAVClient::Register(const BYTE* mac, basicVarList* list, QUAVCallback callback, unsigned long timeout,
                            void* user, std::vector<BYTE> datagram) {
  _QUAVReqData* record = new _QUAVReqData();
  record->sequence = m_nSequence;
  std::memcpy(record->mac, mac, 6);
  record->list = list;
  record->command = list->GetCommand();
  record->callback = callback;
  record->deadline = GetTickCount() + DWORD(timeout * 10);
  record->done = 0;
  record->user = user;
  const bool collects = record->command == QUAV_CMD_DISCOVER || record->command == QUAV_CMD_ANNOUNCE;
  record->resendsLeft = collects || datagram.empty() ? 0 : QUAV_RESENDS;
  record->datagram = std::move(datagram);
  record->resendInterval = std::min<DWORD>(DWORD(timeout * 10) / (QUAV_RESENDS + 1), QUAV_RESEND_MAX_INTERVAL_MS);
  record->nextResend = GetTickCount() + record->resendInterval;
  m_pending.AddTail(record);
  ++m_nSequence;
}

// A lost datagram, either way, costs one resend interval instead of the
// request. A send that fails now is as good as a lost one.
void AlQUAVClient::Resend(_QUAVReqData* record, DWORD now) {
  if (record->done || record->resendsLeft <= 0 || LONG(now - record->nextResend) < 0) return;
  if (LONG(now + record->resendInterval / 2 - record->deadline) > 0) {
    record->resendsLeft = 0;  // an answer would hardly come back before the deadline
    return;
  }
  --record->resendsLeft;
  record->nextResend = now + record->resendInterval;
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(QUAV_REQUEST_PORT);
  to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
  sendto(m_socket, reinterpret_cast<const char*>(record->datagram.data()), int(record->datagram.size()), 0,
         reinterpret_cast<sockaddr*>(&to), sizeof to);
}

int AlQUAVClient::SendRequest(CString mac, basicVarList* list, QUAVCallback callback, unsigned long timeout,
                              void* user) {
  CheckThread();
  m_bListenMode = FALSE;
  if (m_socket == INVALID_SOCKET) QUAVThrow(QUAV_SOCKET_NOT_READY);
  BYTE target[6];
  if (!MacBytes(mac, target)) QUAVThrow(QUAV_BAD_MAC);

  std::vector<BYTE> buffer(kSendBufferSize, 0);
  int head = list->FillHead(buffer.data(), m_nSequence, target);
  int items = list->PutValuesToBuff(buffer.data() + head, kSendBufferSize - head);
  // A request that cannot be encoded is not sent and not registered.
  if (items < 0) QUAVThrow(items);
  int total = head + items;
  buffer[6] = BYTE(total >> 8);
  buffer[7] = BYTE(total);
  list->DoAuthentication(buffer.data(), total);

  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(QUAV_REQUEST_PORT);
  to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
  if (sendto(m_socket, reinterpret_cast<const char*>(buffer.data()), total, 0, reinterpret_cast<sockaddr*>(&to),
             sizeof to) != total)
    QUAVThrow(QUAV_SOCKET_ERROR);
  buffer.resize(size_t(total));
  Register(target, list, callback, timeout, user, std::move(buffer));
  return 0;
}

int AlQUAVClient::Listen(int, CString mac, basicVarList* list, QUAVCallback callback, unsigned long timeout,
                         void* user, RequestMode, CString) {
  CheckThread();
  if (m_socket == INVALID_SOCKET) QUAVThrow(QUAV_SOCKET_NOT_READY);
  BYTE target[6];
  if (!MacBytes(mac, target)) QUAVThrow(QUAV_BAD_MAC);
  Register(target, list, callback, timeout, user, {});
  return 1;
}

void AlQUAVClient::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kTimerId) return;
  DWORD now = GetTickCount();
  if (m_socket != INVALID_SOCKET)
    for (POSITION pos = m_pending.GetHeadPosition(); pos;)
      Resend(static_cast<_QUAVReqData*>(m_pending.GetNext(pos)), now);
  for (POSITION pos = m_pending.GetHeadPosition(); pos;) {
    POSITION at = pos;
    _QUAVReqData* record = static_cast<_QUAVReqData*>(m_pending.GetNext(pos));
    if (!record->done && Passed(record->deadline, now)) {
      record->done = 1;
      Report(at, QUAV_TIMEOUT);  // last statement: the callback may end this client
      return;
    }
  }
}

LRESULT AlQUAVClient::OnQUAVRecv(WPARAM, LPARAM) {
  if (m_socket == INVALID_SOCKET) return 0;
  static thread_local std::vector<BYTE> buffer(kReceiveBufferSize);
  sockaddr_in from = {};
  int fromLength = sizeof from;
  int length = recvfrom(m_socket, reinterpret_cast<char*>(buffer.data()), kReceiveBufferSize, 0,
                        reinterpret_cast<sockaddr*>(&from), &fromLength);
  if (length == SOCKET_ERROR) return 0;
  if (!m_bListenMode && ntohs(from.sin_port) != QUAV_REQUEST_PORT) return 0;
  QUAVHeader header;
  if (QUAVReadHeader(buffer.data(), length, header) != 0) return 0;
  int status = m_bListenMode ? 0 : header.status;

  POSITION pos = m_pending.GetHeadPosition();
  if (!m_bListenMode) {
    while (pos && static_cast<_QUAVReqData*>(m_pending.GetAt(pos))->sequence != header.sequence)
      m_pending.GetNext(pos);
  }
  if (!pos) return 0;
  _QUAVReqData* record = static_cast<_QUAVReqData*>(m_pending.GetAt(pos));
  bool collects = record->command == QUAV_CMD_DISCOVER || record->command == QUAV_CMD_ANNOUNCE;
  if (!collects) {
    if (std::memcmp(header.mac, record->mac, 6) != 0) return 0;
    // Discover and announcement records keep collecting answers until
    // their deadline; the others are answered once.
    record->done = 1;
  }

  int code;
  switch (status) {
    case 0:
      code = 0;
      if (record->command != QUAV_CMD_SET) {
        record->list->m_nListen = m_bListenMode;
        int result = record->list->GetValuesFromBuff(buffer.data() + QUAV_HEADER_SIZE, length - QUAV_HEADER_SIZE);
        code = result < 0 ? result : 0;
      }
      break;
    case 1:
      code = QUAV_PASSWORD_ERROR;
      break;
    case 2:
      code = QUAV_NOT_DONE;
      break;
    case 3:
      code = QUAV_BAD_COMMAND;
      break;
    default:
      code = QUAV_UNKNOWN_ERROR;
      break;
  }
  // A device that refuses a collecting request is named: the collector
  // learns who it was and can go on listening to the others.
  Report(pos, code, code != 0 && collects ? MacText(header.mac) : CString());  // last statement: see Report
  return 0;
}

// Everything the callback needs is taken, and the record removed, before the
// call: the callback may send new requests, pump messages that re-enter these
// handlers, or delete this client. Nothing of `this` is touched after it.
void AlQUAVClient::Report(POSITION pos, int code, const CString& answeringMac) {
  _QUAVReqData* record = static_cast<_QUAVReqData*>(m_pending.GetAt(pos));
  VhQUAVError error;
  error.code = code;
  error.reserved = 0;
  error.message = QUAVErrorText(code);
  error.sequence = record->sequence;
  error.command = record->command;
  error.mac = MacText(record->mac);
  error.extra = answeringMac;
  error.reserved2 = 0;
  basicVarList* list = record->list;
  QUAVCallback callback = record->callback;
  void* user = record->user;
  bool collects = record->command == QUAV_CMD_DISCOVER || record->command == QUAV_CMD_ANNOUNCE;
  if (!collects || code == QUAV_TIMEOUT) {
    m_pending.RemoveAt(pos);
    delete record;
  }
  if (callback) callback(&error, list, user);
}
