// What the QUAV device tasks share.
//
// A task's QUAV client belongs to the thread that created the task (the GUI
// thread): its window, timer and socket live there and every answer handler
// runs there. The set-IP and community tasks also run a progress thread,
// which reports the outcome through TaskDoneProc. Ending such a task is the
// GUI thread's job, in this order:
//   1. the worker's last act is to post "finished" to a hidden window of this
//      module on the task's GUI thread (after its report, so past every send
//      it makes to the list);
//   2. that window marks the task closing, drops the client's pending
//      requests (CancelAll), joins the worker and deletes the task, whose
//      client then has nothing to wait for.
// The GUI thread therefore never waits for a worker that may still be sending
// to it. Answer handlers look at the closing flag first: once the outcome is
// decided, a late answer changes nothing. While a handler of the task runs
// (it may pump messages in a message box), the end waits for it to return.
// Every live task is listed under a lock, so that an owner or a test can see
// that none is left behind.
#pragma once

#include <atomic>

#include "AlQUAVClient.h"
#include "CVHException.h"
#include "windows_sys.h"

class CExtListCtrl;

// A device task's report: ok, the device's MAC, one of the three texts
// below or the text of a failure, and the owner given with the callback.
typedef void (*TaskDoneProc)(BOOL ok, CString mac, CString message, void* owner);
inline constexpr char kTaskOk[] = " OK!";
inline constexpr char kTaskError[] = " Error!";
inline constexpr char kTaskPasswordError[] = "PASSWORDERROR";  // the device refused the password
// A success whose answers never came: asked afterwards, the device showed
// that it holds what was written.
inline constexpr char kTaskOkAnswerLost[] = "OKANSWERLOST";

// The tasks' own client class.
class CQUAVTaskClient : public AlQUAVClient {
 public:
  ~CQUAVTaskClient() override;
};

// The text of a QUAV failure as the wizard shows it: without the library's
// "(VhQUAV) " in front.
CString QUAVFailureText(const CString& text);
// TRUE for a text the QUAV library gave (it starts with "(VhQUAV) "): a task
// reports such a text when a request could not be made or sent.
BOOL IsQUAVFailureText(const CString& text);

// Shows a failure of the QUAV library in a message box (the shower set
// below, else a plain box) and deletes the exception; returns its text. Only
// for failures outside an apply run (a scan that cannot start): a run goes on
// unattended, and its failures are log lines.
CString ShowQUAVFailure(CVHException* e);
// How the program shows such a failure: the exception's code and its text
// as QUAVFailureText gives it. Null goes back to the plain box.
using QUAVFailureShower = void (*)(int code, const CString& text);
void SetQUAVFailureShower(QUAVFailureShower shower);

class CDeviceTask;

// Stops the device tasks when it goes (CDeviceTask::StopAll) and waits for
// their end, pumping messages, for at most `waitMs` of the platform's clock.
// Declared after what the tasks write to (a list, a report collector), it
// goes first, also when a failed assertion leaves a test early.
class TaskStopGuard {
 public:
  explicit TaskStopGuard(DWORD waitMs = 60000) : m_nWaitMs(waitMs) {}
  ~TaskStopGuard();
  TaskStopGuard(const TaskStopGuard&) = delete;
  TaskStopGuard& operator=(const TaskStopGuard&) = delete;

 private:
  DWORD m_nWaitMs;
};

class CDeviceTask {
 public:
  CDeviceTask(const CDeviceTask&) = delete;
  CDeviceTask& operator=(const CDeviceTask&) = delete;

  void SetCallback(TaskDoneProc proc, void* owner);
  // The first row of the progress list whose MAC cell (kColMac) is `mac`;
  // -1 when there is none, or no list. GUI thread.
  int FindRow(const CString& mac) const;
  // Tasks constructed and not yet deleted, in every thread.
  static int LiveCount();
  // Asks every live task to stop: a progress thread stops waiting and ends
  // without its report, and no report starts after this. A report already
  // running finishes; the owner waits, pumping messages, until LiveCount()
  // is 0 before what the tasks write to goes (TaskStopGuard).
  static void StopAll();

 protected:
  // Creates the client in broadcast mode on any local address; its failure
  // passes to the creator. The list may be null.
  explicit CDeviceTask(CExtListCtrl* list);
  // Only the end (the module's window, or a failed Start) deletes a task.
  virtual ~CDeviceTask();

  // The progress thread's body; its report is the thread's last use of the
  // list. Runs with the task alive until it returns.
  virtual void Progress() = 0;
  // Starts the progress thread; it posts "finished" when Progress returns.
  BOOL StartProgress();
  // Ends a task that has no progress thread, from its GUI thread.
  void EndWithoutProgress();
  // Reports through the callback, when one is set.
  void Report(BOOL ok, const CString& mac, const CString& message);
  // A cell of the progress list, when there is one (GUI thread).
  void SetCell(int row, int column, const CString& text);
  // The progress thread's course up to its report: the progress fills in
  // `duration` (units of 10 ms; row `progressRow` of the list shows it, none
  // for -1) unless `failed` is set first; a full progress is no outcome, so
  // the thread then waits until `failed` or `succeeded` is set. WhileAwaiting
  // runs on this thread at every step and every wait. Ends with the task
  // closing: no answer handler changes the outcome after it.
  void AwaitOutcome(unsigned long duration, int progressRow, const std::atomic<int>& failed,
                    const std::atomic<int>& succeeded);
  virtual void WhileAwaiting() {}
  // From the progress thread: OnGuiCall(what) runs on the task's GUI thread.
  // The task lives until it has run (the end is posted after it).
  void CallOnGuiThread(int what);
  virtual void OnGuiCall(int /*what*/) {}
  bool Closing() const { return m_closing.load() != 0; }
  bool Stopped() const { return m_stopped.load() != 0; }
  void SetClosing() { m_closing.store(1); }

  // Held by every answer handler: the end waits until the last one returns.
  class HandlerScope {
   public:
    explicit HandlerScope(CDeviceTask* task) : m_pTask(task) { ++task->m_nInHandler; }
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

   private:
    CDeviceTask* m_pTask;
  };

  CExtListCtrl* m_pList;
  CQUAVTaskClient* m_pClient;
  QUAVVarlist m_list;
  TaskDoneProc m_pfnDone = nullptr;
  void* m_pOwner = nullptr;

 private:
  static DWORD WINAPI ThreadMain(LPVOID parameter);
  // Sleeps until step `n` of a progress that began at `begin`, so that the
  // time the steps take does not add up.
  static void SleepUntilStep(DWORD begin, int n, DWORD step);
  static LRESULT CALLBACK EndWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void PostEnd();
  void EndOnGuiThread();

  std::atomic<int> m_closing{0};
  std::atomic<int> m_stopped{0};
  HANDLE m_hThread = nullptr;
  HWND m_hEndWnd = nullptr;
  int m_nInHandler = 0;
  bool m_bEndDeferred = false;
};
