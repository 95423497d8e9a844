// CApplyPage: the wizard page that configures the members of a group. The
// create and the modify wizards hold two: the first gives every member SNMP
// access and its address over QUAV, then configures it over SNMP one device
// at a time; the second has the Master apply the wireless settings and ends
// with a last QUAV pass that switches SNMP off on every member.
//
// The member store (list 1104, MemberStore.h) is the
// working state of the run: it is filled on entry from the group list the
// frame hands forward, written by the engine and by the device tasks'
// reports, and written back into the records. Every step adds a line to the
// log (1030) from a language text used as a format (FormatLangText).
//
// Threads: everything runs on the GUI thread except the reports of the
// device tasks (TaskDoneProc), which run on the tasks' worker threads. They
// write store cells and log lines (the controls carry such calls to the GUI
// thread), remove their task from one of the three task lists (one lock,
// ApplyTaskLists.h) and post the page a retry message. The page waits for
// every listed task before its window goes.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "ApplyTaskLists.h"
#include "CExtListCtrl.h"
#include "CLogListBox.h"
#include "CWizardPage.h"
#include "FormatLangText.h"
#include "MemberStore.h"
#include "NotifyControls.h"

class CCommunityTask;
class CQUAVTaskClient;
class CSetIpTask;
class basicVarList;
struct VhQUAVError;
class SnmpBoundVarList;
class SnmpControlVarList;
struct SnmpRequestResult;

#define WM_APPLY_NEXTDEVICE (WM_USER + 201)
#define WM_APPLY_RETRY_SETIP (WM_USER + 211)
#define WM_APPLY_RETRY_GETSNMP (WM_USER + 212)
#define WM_APPLY_RETRY_SNMPSTEP (WM_USER + 213)

// The status text of a step a task reports as a success: its answers lost
// (kTaskOkAnswerLost) or not.
LPCTSTR OkKey(const CString& message);

// The automatic plan's address for one row: `prefix` + the counter, passing
// over numbers that `taken` names and numbers that are no valid host under
// `netmask`; the counter starts again at 0 after 254 and stands after the
// accepted number. Empty when none of the 255 numbers fits.
CString PickAutoAddress(const CString& prefix, int& counter, const CString& netmask,
                        const std::function<bool(const CString&)>& taken);

class CApplyPage : public CWizardPage {
 public:
  explicit CApplyPage(CWnd* pParent = nullptr);
  ~CApplyPage() override;

  // The group's SNMP target, which the second instance is given.
  void SetSnmpTarget(CString agentIp, CString readCommunity, CString writeCommunity) override;
  void OnEnterPage() override;
  int OnNextPage() override;
  int OnBackPage() override;
  // Ends the run where it stands: no further step is started and no answer
  // that still comes in moves it on.
  void StopWork() override;
  // After a first run that switched SNMP on: the page shows itself and
  // switches SNMP off again on every member whose status shows it on, a
  // line each, as the second run does at its end; the last line counts the
  // members left on, which a box names once the pass is over. With every
  // member off the flow is left once that line has been seen. The second
  // instance's run ends so itself.
  BOOL OnCancelFlow() override;
  void OnFlowLeft() override;
  // A line in the log: the wizard can be closed once the run has ended.
  void OnRefusedWhileBusy() override;
  BOOL IsStopped() const { return m_bStopped; }
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // The member store.
  int RowCount() const;
  CString Cell(int row, int column) const;
  void SetCell(int row, int column, const CString& text);
  // The first row whose MAC (kColMac) or IP (kColIp) is the text; -1 if none.
  int FindRowByMac(const CString& mac) const;
  int FindRowByIp(const CString& ip) const;
  // TRUE when a row other than `row` has `ip` in kColIp.
  BOOL IsIpInOtherRow(const CString& ip, int row) const;
  BOOL AreIpsUnique() const;
  // The automatic plan passes over `ip` for `row`: another row holds it or
  // is about to hold it. Held: any other row's current address (kColIp);
  // a device that is still to move may keep it when its set-IP fails, and a
  // leaving or skipped one stays on the LAN there. About to hold: the new
  // address (kColNewIp) of a group row whose set-IP is pending, planned (a
  // manual row) or done.
  BOOL IsHeldByAnother(const CString& ip, int row) const;
  static CString FormatMacText(const CString& mac);
  // Fills the store from the group list, and writes it back into the records.
  void FillStore();
  void WriteBack();
  // Looks for the Master row and makes it the SNMP target; TRUE when it is
  // found and its SNMP is usable.
  BOOL FindMaster();
  // Some row waits for its community task (kSnmpPending).
  BOOL IsPending();
  // The devices (MACs) that failed a step of this run, in the order seen.
  std::vector<CString> FailedDevices() const;
  // The log line of the first step `mac` failed in this run; empty if none.
  CString FailedStep(const CString& mac) const;
  // The row of the Master that stays in the group; -1 if none.
  int MasterRow() const;

  // The reports of the device tasks (worker threads); `owner` is the page.
  static void GetSnmpDone(BOOL ok, CString mac, CString message, void* owner);
  static void SetIpDone(BOOL ok, CString mac, CString message, void* owner);
  static void FinalPassDone(BOOL ok, CString mac, CString message, void* owner);

  CString m_strUserName;
  CString m_strUserPassword;
  CApplyTaskLists m_tasks;
  int m_nEntered = 0;
  SnmpControlVarList* m_pGroupSettingsList = nullptr;
  SnmpControlVarList* m_pApplyList = nullptr;
  SnmpControlVarList* m_pSyncFlagsList = nullptr;
  SnmpControlVarList* m_pRestartList = nullptr;
  SnmpControlVarList* m_pUserList = nullptr;
  SnmpControlVarList* m_pVersionList = nullptr;
  SnmpControlVarList* m_pApModeList = nullptr;

  CLogListBox m_log;
  CClickListCtrl m_store;
  CNotifyComboBox m_apMode;
  CNotifyComboBox m_groupStatus;
  CNotifyComboBox m_modeSelect;
  CNotifyEdit m_groupName;
  CNotifyEdit m_groupPassword;
  CNotifyComboBox m_settingApply;
  CNotifyEdit m_version;
  CNotifyComboBox m_restart;
  CNotifyEdit m_usersName;
  CNotifyEdit m_usersPassword;
  CButton m_syncSsid;
  CButton m_syncSsidVisible;
  CButton m_syncAutoChannel;
  CButton m_syncSecurity;
  CButton m_syncLogin;
  int m_nCurrentDevice = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

  // The device tasks of a row. Their QUAV client may fail to set up (no
  // socket to be had), which throws; a test can make that happen.
  virtual CCommunityTask* NewCommunityTask(int row, const CString& password);
  virtual CSetIpTask* NewSetIpTask(int row, const CString& newIp);

  afx_msg void OnDestroy();
  afx_msg LRESULT OnNextDevice(WPARAM, LPARAM);
  afx_msg LRESULT OnPageStart(WPARAM, LPARAM);
  afx_msg LRESULT OnRetrySetIp(WPARAM, LPARAM);
  afx_msg LRESULT OnRetryGetSnmp(WPARAM, LPARAM);
  afx_msg LRESULT OnRetrySnmpStep(WPARAM, LPARAM);
  afx_msg void OnTimer(UINT_PTR id);
  DECLARE_MESSAGE_MAP()

 private:
  // Texts and log lines. The texts are read once on the GUI thread, so that
  // the reports read them from their threads without touching the file.
  CString Text(LPCTSTR key) const;
  void LogLine(const CString& line);
  void Log(LPCTSTR key, std::initializer_list<LangArg> args);
  // A step line of a row: the key's text with the row's IP, MAC and status.
  void LogRow(LPCTSTR key, int row, LPCTSTR statusKey);
  void LogDevice(LPCTSTR key, const CString& ip, const CString& mac, LPCTSTR statusKey);
  // A step line of a row that names only its IP.
  void LogIpStep(LPCTSTR key, int row, LPCTSTR statusKey);
  // After a FAIL line: the QUAV library's text, when `message` is one (a
  // request that could not be made or sent), on a line of the row's own.
  void LogQUAVFailure(int row, const CString& message);
  // A device that ends the run with a failed step; the run's last line names it.
  void MarkFailed(const CString& mac, const CString& line);
  // "All steps are done.", or the count and MACs of the devices that failed.
  void LogLastLine();
  // The run's wait cursor: raised, it shows at the pointer's next move;
  // dropped, the ordinary cursor comes back at once.
  void SetMainBusy(int busy);
  // Waits n units of 10 ms; FALSE when the page's window went meanwhile.
  BOOL Wait(int n);
  static constexpr int kFiveSeconds = 500, kOneSecond = 100;  // units of Wait
  static constexpr int kRebootSeconds = 50;  // the time a device is given to restart
  // Leaving with every member switched off: the pass's last line stays in
  // sight this long before the flow closes.
  static constexpr int kLastLineShown = 300;
  BOOL AnyRowWithCell(int column, LPCTSTR text) const;
  void CreateColumns();
  void CreateVarLists();
  void DeleteVarLists();

  // The QUAV phase.
  void RunFirst();
  BOOL RetryGetSnmp(int row);
  BOOL SetIpForAllRows();
  BOOL StartSetIpTask(int row, const CString& newIp);
  BOOL RetrySetIp(int row);
  // Asks the device password of a row (the main dialog's wait cursor off
  // meanwhile); FALSE on Cancel.
  BOOL AskPassword(int row, CString& password);
  // A report's last acts: its task leaves the list `which`, and the page is
  // posted `retryMessage`.
  void EndReport(CApplyTaskLists::Which which, const CString& mac, UINT retryMessage);
  // A retry handler: once no task of `which` runs and something `waiting`
  // is left, `retry` for every row whose `column` shows `mark`, one after
  // the other (each may prompt). Asked again meanwhile, it posts `message`
  // again when done.
  void RetryPass(CApplyTaskLists::Which which, UINT message, BOOL waiting, int column, LPCTSTR mark,
                 BOOL (CApplyPage::*retry)(int row));
  // The community tasks of the first pass (kGetSnmp: read and enable SNMP)
  // and of the last (kFinalPass: switch it off). A task for the row's MAC
  // with `password`; one that cannot be made leaves the row failed (kSnmpOff)
  // with its line, and FALSE.
  BOOL StartCommunityTask(CApplyTaskLists::Which which, int row, const CString& password);
  // Every row that takes part, pending until its report; a row whose task
  // cannot be made fails with its line, and the pass goes on. The first
  // pass gives each device the password its row holds, the last the
  // group's, which the login step made the device's own.
  void CommunityPass(CApplyTaskLists::Which which);
  // One row of a pass: its lines, pending, its task.
  void StartCommunityStep(CApplyTaskLists::Which which, int row, const CString& password);
  BOOL RetryCommunity(CApplyTaskLists::Which which, int row);
  // The pass of a flow left after the first run: only the rows whose SNMP
  // is on, each with the password the device holds now (the group's once
  // its login step wrote it); waits for every report. FALSE when the page
  // went meanwhile.
  BOOL SwitchSnmpOffAgain();
  // Its last line, and the box that names each member left on.
  void LogStillOnLine(const std::vector<CString>& stillOn);
  void TellStillOn(const std::vector<CString>& stillOn);

  // The SNMP phase and the second run.
  void RunSecond();
  static void TargetApplied(SnmpBoundVarList* list, SnmpRequestResult* result, void* user);
  void MoveOn();
  void FinishChain();
  void PointAt(SnmpBoundVarList* list, const CString& ip, int row, BOOL port161);
  void GroupSettings(int row);
  void SyncFlags(int row);
  BOOL GroupVersion(int row);
  void Login(int row);
  void Apply(int row);
  void Restart(int row);
  BOOL RetryFinalPass(int row);
  static void ApModeRead(SnmpBoundVarList* list, SnmpRequestResult* result, void* user);
  static void ApModeWritten(SnmpBoundVarList* list, SnmpRequestResult* result, void* user);
  static void GroupSettingsWritten(SnmpBoundVarList* list, SnmpRequestResult* result, void* user);
  static void RestartSent(SnmpBoundVarList* list, SnmpRequestResult* result, void* user);

  // A restart whose answer never came may have been carried out, its answer
  // lost: the device is looked for by its MAC once it has had its time to
  // restart, while the chain goes on, and its restart line waits for what
  // the search finds. Each search ends after its last try, normally inside
  // the waits that follow; the run's last line waits for every one.
  struct RestartSearch;
  void SearchAfterRestart(int row);
  void ArmSearchTimer();
  void SendRestartSearch(RestartSearch* search);
  static void RestartSearchAnswered(VhQUAVError* error, basicVarList* list, void* user);
  // `found` is the address the device answered from; empty: not found, with
  // the QUAV library's text in `failure` when the search could not be sent.
  void SettleRestart(RestartSearch* search, const CString& found, const CString& failure = CString());
  BOOL RestartSearchesPending() const;
  // Drops every search without a line: the run is over or the page goes.
  void EndRestartSearches();

  // A synchronous Set of the whole list, settled by a read-back when its
  // answers never came, and written once more when the device answers
  // without holding it: the status key of its line (IDS_STR_OK,
  // IDS_STR_OK_LOST when the device holds what was written, IDS_STR_FAIL).
  LPCTSTR SetAndSettle(SnmpControlVarList* list);
  // `answered`, when given, is set when the device answered the read.
  static BOOL HoldsWhatWasWritten(SnmpControlVarList* list, BOOL* answered = nullptr);
  // A Get with more tries than a write has: a read changes nothing on the
  // device, and an unanswered one would fail a device that may be fine.
  static void GetPatiently(SnmpBoundVarList* list);
  // The lists the engine writes through: their failures become log lines.
  SnmpControlVarList* NewEngineVarList();
  // The AP-mode step of the device in work failed: its line, then the next device.
  void ApModeFailed();
  CString MasterMac() const;

  std::map<CString, CString> m_texts;
  BOOL m_bStopped = FALSE;
  // Written by the reports on their threads as well.
  mutable std::mutex m_failedLock;
  std::vector<CString> m_failed;
  std::map<CString, CString> m_failedSteps;  // MAC: the line of its first failed step
  std::vector<CString> m_loggedIn;           // MACs whose login step wrote the group password
  // The second instance's run came to its end, its last pass included.
  BOOL m_bRunEnded = FALSE;
  // The second run's apply to the target: -1 until its answer came, then
  // the answer's status.
  int m_nTargetApplyCode = -1;
  // A retry pass is running; a retry message that comes meanwhile is taken
  // up again once it ends, so that a refusal reported during the prompts is
  // not lost.
  BOOL m_bInRetry[CApplyTaskLists::kListCount] = {};
  BOOL m_bRetryAgain[CApplyTaskLists::kListCount] = {};
  // The searches after unanswered restarts, and their client (made at the
  // first); both the GUI thread's.
  std::vector<RestartSearch*> m_restartSearches;
  CQUAVTaskClient* m_pSearchClient = nullptr;
};
