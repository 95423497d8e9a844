#include "DeviceTask.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "CExtListCtrl.h"
#include "DelayPumpMessages.h"
#include "MemberStore.h"
#include "afxwin.h"

namespace {

const char kQUAVPrefix[] = "(VhQUAV) ";
const char kEndWindowClass[] = "TrellianDeviceTaskEnd";
const UINT WM_DEVICE_TASK_END = WM_USER + 0x101;
const UINT WM_DEVICE_TASK_CALL = WM_USER + 0x102;
const DWORD kAnswerPollMs = 20;

std::mutex g_liveLock;
std::vector<CDeviceTask*>& LiveTasks() {
  static auto* tasks = new std::vector<CDeviceTask*>;
  return *tasks;
}

}  // namespace

CQUAVTaskClient::~CQUAVTaskClient() {}

CString QUAVFailureText(const CString& text) {
  CString out = text;
  if (out.Find(kQUAVPrefix) == 0) out = out.Mid(int(sizeof kQUAVPrefix) - 1);
  return out;
}

BOOL IsQUAVFailureText(const CString& text) { return text.Find(kQUAVPrefix) == 0; }

namespace {
std::atomic<QUAVFailureShower> g_failureShower{nullptr};
}  // namespace

void SetQUAVFailureShower(QUAVFailureShower shower) { g_failureShower = shower; }

CString ShowQUAVFailure(CVHException* e) {
  CString text = QUAVFailureText(e->GetMessage());
  const int code = e->GetCode();
  delete e;
  if (QUAVFailureShower shower = g_failureShower)
    shower(code, text);
  else
    AfxMessageBox(text);
  return text;
}

CDeviceTask::CDeviceTask(CExtListCtrl* list) : m_pList(list), m_pClient(new CQUAVTaskClient) {
  try {
    m_pClient->SetRequestMode(0, "");
  } catch (CVHException*) {
    delete m_pClient;
    throw;
  }
  // One end window per GUI thread; it is made again when a test has cleared
  // every window.
  static thread_local HWND endWindow = nullptr;
  if (!endWindow || !::IsWindow(endWindow)) {
    static std::once_flag registered;
    std::call_once(registered, [] {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = EndWindowProc;
      wc.lpszClassName = kEndWindowClass;
      ::RegisterClassA(&wc);
    });
    endWindow = ::CreateWindowExA(0, kEndWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  }
  m_hEndWnd = endWindow;
  std::lock_guard<std::mutex> lock(g_liveLock);
  LiveTasks().push_back(this);
}

CDeviceTask::~CDeviceTask() {
  {
    std::lock_guard<std::mutex> lock(g_liveLock);
    std::vector<CDeviceTask*>& tasks = LiveTasks();
    tasks.erase(std::remove(tasks.begin(), tasks.end(), this), tasks.end());
  }
  delete m_pClient;
}

int CDeviceTask::LiveCount() {
  std::lock_guard<std::mutex> lock(g_liveLock);
  return int(LiveTasks().size());
}

void CDeviceTask::StopAll() {
  std::lock_guard<std::mutex> lock(g_liveLock);
  for (CDeviceTask* task : LiveTasks()) task->m_stopped.store(1);
}

TaskStopGuard::~TaskStopGuard() {
  CDeviceTask::StopAll();
  const DWORD begin = GetTickCount();
  while (CDeviceTask::LiveCount() > 0 && GetTickCount() - begin < m_nWaitMs) DelayPumpMessages(1);
}

void CDeviceTask::SetCallback(TaskDoneProc proc, void* owner) {
  m_pfnDone = proc;
  m_pOwner = owner;
}

int CDeviceTask::FindRow(const CString& mac) const {
  if (!m_pList) return -1;
  const int rows = m_pList->GetItemCount();
  for (int row = 0; row < rows; ++row)
    if (m_pList->GetItemText(row, kColMac) == mac) return row;
  return -1;
}

void CDeviceTask::SetCell(int row, int column, const CString& text) {
  if (m_pList) m_pList->SetItemText(row, column, text);
}

void CDeviceTask::Report(BOOL ok, const CString& mac, const CString& message) {
  if (m_pfnDone && !Stopped()) m_pfnDone(ok, mac, message, m_pOwner);
}

BOOL CDeviceTask::StartProgress() {
  m_hThread = ::CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
  return m_hThread != nullptr;
}

DWORD CDeviceTask::ThreadMain(LPVOID parameter) {
  CDeviceTask* task = static_cast<CDeviceTask*>(parameter);
  task->Progress();
  task->SetClosing();
  task->PostEnd();  // last act: the task may be gone from here on
  return 0;
}

void CDeviceTask::SleepUntilStep(DWORD begin, int n, DWORD step) {
  const LONG left = LONG(begin + DWORD(n) * step - GetTickCount());
  if (left > 0) Sleep(DWORD(left));
}

void CDeviceTask::AwaitOutcome(unsigned long duration, int progressRow, const std::atomic<int>& failed,
                               const std::atomic<int>& succeeded) {
  const DWORD step = DWORD(duration / 10);
  const DWORD begin = GetTickCount();
  for (int n = 1; n <= 100 && !failed && !Stopped(); ++n) {
    SleepUntilStep(begin, n, step);
    WhileAwaiting();
    if (progressRow >= 0 && m_pList) m_pList->UpdateProgress(progressRow, kColAction, n);
  }
  while (!failed && !succeeded && !Stopped()) {
    Sleep(kAnswerPollMs);
    WhileAwaiting();
  }
  SetClosing();
}

void CDeviceTask::CallOnGuiThread(int what) {
  ::PostMessage(m_hEndWnd, WM_DEVICE_TASK_CALL, WPARAM(what), reinterpret_cast<LPARAM>(this));
}

void CDeviceTask::EndWithoutProgress() {
  SetClosing();
  PostEnd();
}

void CDeviceTask::PostEnd() { ::PostMessage(m_hEndWnd, WM_DEVICE_TASK_END, 0, reinterpret_cast<LPARAM>(this)); }

CDeviceTask::HandlerScope::~HandlerScope() {
  if (--m_pTask->m_nInHandler == 0 && m_pTask->m_bEndDeferred) {
    m_pTask->m_bEndDeferred = false;
    m_pTask->PostEnd();
  }
}

void CDeviceTask::EndOnGuiThread() {
  if (m_nInHandler > 0) {
    // A handler of this task is pumping messages (a message box); the end
    // comes again once it has returned.
    m_bEndDeferred = true;
    return;
  }
  SetClosing();
  m_pClient->CancelAll();
  if (m_hThread) {
    // The worker posted the end as its last act: it sends nothing more.
    ::WaitForSingleObject(m_hThread, INFINITE);
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
  }
  delete this;
}

LRESULT CALLBACK CDeviceTask::EndWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DEVICE_TASK_END) {
    reinterpret_cast<CDeviceTask*>(lParam)->EndOnGuiThread();
    return 0;
  }
  if (msg == WM_DEVICE_TASK_CALL) {
    auto* task = reinterpret_cast<CDeviceTask*>(lParam);
    if (!task->Closing()) task->OnGuiCall(int(wParam));
    return 0;
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}
