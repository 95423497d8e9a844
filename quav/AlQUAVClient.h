// The QUAV client: broadcasts requests to the devices, matches their answers
// to pending requests and reports every outcome to a callback. It lives on the
// thread that creates it: its socket notices and timer ticks arrive as
// messages of its own hidden window, and every callback runs there.
#pragma once

#include <vector>

#include "AfxWnd.h"
#include "QUAVVarlist.h"
#include "Winsock.h"

const int QUAV_REQUEST_PORT = 64512;
const int QUAV_LISTEN_PORT = 55000;
const UINT WM_QUAV_RECV = 0x819B;
// How often an unanswered Get or Set is sent again before its time-out, and
// the longest wait between two sends.
const int QUAV_RESENDS = 3;
const DWORD QUAV_RESEND_MAX_INTERVAL_MS = 2000;

// What a callback learns of one outcome. It is the library's and lives only
// for the call.
struct QUAV_API VhQUAVError {
  int code;
  int reserved;
  CString message;
  BYTE sequence;
  BYTE command;
  CString mac;  // the request's target, 12 upper-case hex digits
  CString extra;  // a device's answer with a failure status: the answering MAC
  int reserved2;
};

typedef void (*QUAVCallback)(VhQUAVError* error, basicVarList* list, void* user);

// 0: a broadcast socket; anything else a plain one.
typedef int RequestMode;

struct _QUAVReqData {
  BYTE sequence;
  BYTE mac[6];
  basicVarList* list;  // the caller's
  BYTE command;
  QUAVCallback callback;
  DWORD deadline;
  int reserved;
  BYTE done;
  void* user;
  // A Get or Set that is not answered goes out again, byte for byte (its
  // sequence number too), until its resends are used up or it is answered;
  // the deadline still ends it. Discover and announcement records collect
  // every answer and are not sent again.
  std::vector<BYTE> datagram;
  int resendsLeft;
  DWORD nextResend;
  DWORD resendInterval;
};

class QUAV_API AlQUAVClient : public CWnd {
 public:
  AlQUAVClient();
  ~AlQUAVClient() override;

  void SetRequestMode(RequestMode mode, CString localIp);
  void SetRequestMode_Listen(CString localIp, int port);
  // The time-out counts units of 10 ms.
  int SendRequest(CString mac, basicVarList* list, QUAVCallback callback, unsigned long timeout, void* user);
  int Listen(int port, CString mac, basicVarList* list, QUAVCallback callback, unsigned long timeout, void* user,
             RequestMode mode, CString unused);
  void StartListen();
  void StopListen();
  // Drops every pending request without calling back: for an owner that is
  // ending and must hear nothing more, and whose destruction must not wait.
  void CancelAll();

  // Pending requests, for tests and the destructor's wait.
  int PendingCount() const { return int(m_pending.GetCount()); }

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnQUAVRecv(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void CheckThread() const;
  void OpenSocket(BOOL broadcast, const CString& localIp, int port);
  void CloseSocket();
  void Register(const BYTE* mac, basicVarList* list, QUAVCallback callback, unsigned long timeout, void* user,
                std::vector<BYTE> datagram);
  void Resend(_QUAVReqData* record, DWORD now);
  void Report(POSITION pos, int code, const CString& answeringMac = CString());

  SOCKET m_socket;
  CPtrList m_pending;
  BYTE m_nSequence;
  UINT_PTR m_nTimer;
  BOOL m_bListenMode;
  BOOL m_bListening;
  DWORD m_threadId;
};
