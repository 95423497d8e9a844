#include "CMainDlg.h"

#include <cstdio>

#include "CDiscoveryTask.h"
#include "CVHException.h"
#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "CWizardPage.h"
#include "DelayPumpMessages.h"
#include "Files.h"
#include "WizardFont.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace {

const COLORREF kDarkGrey = RGB(0x48, 0x48, 0x48);
const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
const int kSidePanelWidth = 160;

// Listen (mode 0) and broadcast (mode 1) discovery; the second is not built
// when the first throws, and a throw from the second frees the first. What
// failed is said by the key of the text the operator is shown.
void MakeDiscoveryTasks(CDiscoveryTask*& listen, CDiscoveryTask*& broadcast) {
  try {
    listen = new CDiscoveryTask(0);
  } catch (CVHException* e) {
    throw CMainDlg::StartFailure{"IDS_MSG_START_LISTEN", e};
  }
  try {
    broadcast = new CDiscoveryTask(1);
  } catch (CVHException* e) {
    delete listen;
    listen = nullptr;
    throw CMainDlg::StartFailure{"IDS_MSG_START_BROADCAST", e};
  }
}

}  // namespace

CAboutDlg::CAboutDlg() : CRTDialog(IDD_ABOUTBOX) {}

BEGIN_MESSAGE_MAP(CAboutDlg, CRTDialog)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
  CRTDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDOK, m_btnOk);
  DDX_Control(pDX, IDC_ABOUT_NAME, m_name);
  DDX_Control(pDX, IDC_ABOUT_PURPOSE, m_purpose);
}

BOOL CAboutDlg::OnInitDialog() {
  CRTDialog::OnInitDialog();
  m_name.SetTransparent(1);
  m_purpose.SetTransparent(1);
  // Escape and Enter close it at once, without a click first.
  GotoDlgCtrl(&m_btnOk);
  return FALSE;
}

// The lines stand on the skin's dark background, as in the main dialog.
HBRUSH CAboutDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CRTDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  if (nCtlColor == CTLCOLOR_STATIC) pDC->SetTextColor(kWhite);
  return brush;
}

CMainDlg::CMainDlg(CWnd* pParent) : CRTDialog(IDD_MAIN_DIALOG, pParent) {
  m_hIcon = ::LoadIcon(::AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
  MakeDiscoveryTasks(m_pDiscoveryA, m_pDiscoveryB);
}

CMainDlg::~CMainDlg() {
  delete m_pDiscoveryB;
  delete m_pDiscoveryA;
  if (m_hIcon) ::DestroyIcon(m_hIcon);
}

BEGIN_MESSAGE_MAP(CMainDlg, CRTDialog)
  ON_WM_SYSCOMMAND()
  ON_WM_CONTEXTMENU()
  ON_WM_LBUTTONDOWN()
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_WM_CTLCOLOR()
  ON_WM_CREATE()
  ON_WM_SETCURSOR()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_ACTIVATE()
  ON_BN_CLICKED(IDC_MAIN_CREATE, OnCreateFlow)
  ON_BN_CLICKED(IDC_MAIN_MODIFY, OnModifyFlow)
  ON_BN_CLICKED(IDC_MAIN_STATUS, OnStatusFlow)
  ON_REGISTERED_MESSAGE(WM_WIZARD_BUSY, OnWizardBusy)
  ON_REGISTERED_MESSAGE(WM_WIZARD_WAIT_CURSOR, OnWizardWaitCursor)
  ON_REGISTERED_MESSAGE(WM_WIZARD_CLOSED, OnWizardClosed)
END_MESSAGE_MAP()

void CMainDlg::DoDataExchange(CDataExchange* pDX) {
  CRTDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MAIN_PICTURE, m_picture);
  DDX_Control(pDX, IDC_MAIN_TITLE, m_title);
  DDX_Control(pDX, IDC_MAIN_SIDE_PANEL, m_sidePanel);
  DDX_Control(pDX, IDCANCEL, m_btnExit);
  DDX_Control(pDX, IDC_MAIN_STATUS, m_btnStatus);
  DDX_Control(pDX, IDC_MAIN_MODIFY, m_btnModify);
  DDX_Control(pDX, IDC_MAIN_CREATE, m_btnCreate);
  DDX_Control(pDX, IDC_MAIN_WELCOME, m_welcome);
  DDX_Control(pDX, IDC_MAIN_FRAME_AREA, m_frameArea);
}

BOOL CMainDlg::OnInitDialog() {
  CRTDialog::OnInitDialog();
  m_pApp = static_cast<CWizardApp*>(::AfxGetApp());

  if (CMenu* menu = GetSystemMenu(FALSE)) {
    CString about;
    about.LoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
      menu->AppendMenu(MF_SEPARATOR);
      menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  LoadSkin();

  CreateWizardFont(m_bigFont, 20, 10);
  CreateWizardFont(m_smallFont, 14, 6);
  for (CRTButton* button : {&m_btnModify, &m_btnCreate, &m_btnStatus, &m_btnExit}) button->SetFont(&m_smallFont);
  m_welcome.SetFont(&m_bigFont);
  m_welcome.SetTransparent(1);
  m_title.SetFont(&m_bigFont);

  CRect client;
  GetClientRect(&client);
  // Below the flow buttons it overlaps, so that its background never covers them.
  ::SetWindowPos(m_sidePanel.GetSafeHwnd(), HWND_BOTTOM, 0, 0, kSidePanelWidth, client.Height(), SWP_NOACTIVATE);

  if (m_pApp) {
    m_btnCreate.SetWindowText(m_pApp->Text("IDS_UI_ARRAY_CREATE"));
    m_btnModify.SetWindowText(m_pApp->Text("IDS_UI_ARRAY_MODIFY"));
    m_btnStatus.SetWindowText(m_pApp->Text("IDS_UI_ARRAY_STATUS"));
    m_btnExit.SetWindowText(m_pApp->Text("IDS_UI_ARRAY_EXIT"));
    m_welcome.SetWindowText(m_pApp->Text("IDS_UI_WEL_WELUSE"));
    m_title.SetWindowText(m_pApp->Text("IDS_UI_WEL_WELCOME"));
  }

  CreateFrames();

  m_darkBrush.CreateSolidBrush(kDarkGrey);
  m_hInitialCursor = ::GetCursor();
  SetWindowText("RIZ-4410 AP Vezovi Setup Tool v1.10");
  return TRUE;
}

void LoadProgramSkin(CRTSkin& skin) {
  const CString path = ProgramFolderOf(ProgramPath()) + "Skin/vAdev/skin.ini";
  if (!skin.LoadSkin(path) && !ReportUnreadableFile("skin file", path, "the windows are drawn without the skin"))
    std::fprintf(stderr, "Trellian: the skin file %s cannot be used; the windows are drawn without the skin.\n",
                 static_cast<LPCTSTR>(path));
  skin.EnableSkin(1);
}

void CMainDlg::LoadSkin() { LoadProgramSkin(m_skin); }

void CMainDlg::CreateFrames() {
  m_frames[kCreateFlow] = new CCreateWizard(m_pDiscoveryA, m_pDiscoveryB, nullptr);
  m_frames[kModifyFlow] = new CModifyWizard(m_pDiscoveryA, m_pDiscoveryB, nullptr);
  m_frames[kStatusFlow] = new CStatusWizard(m_pDiscoveryA, m_pDiscoveryB, nullptr);
  for (CWizardFrame* frame : m_frames) frame->Create(IDD_WIZARD_FRAME, this);
}

int CMainDlg::SetTitle(CString text, BOOL showPictures) {
  m_title.SetWindowText(text);
  m_welcome.ShowWindow(showPictures ? SW_SHOW : SW_HIDE);
  m_picture.ShowWindow(showPictures ? SW_SHOW : SW_HIDE);
  m_title.Invalidate();
  m_title.UpdateWindow();
  return 1;
}

void CMainDlg::SwitchFlow(int flow, LPCTSTR titleKey) {
  if (!LeaveShownFlow()) return;
  SetTitle(m_pApp ? m_pApp->Text(titleKey) : CString(), FALSE);
  if (CWizardFrame* current = m_frames[m_nCurrentFlow]) current->ShowWindow(SW_HIDE);
  m_nCurrentFlow = flow;
  ShowCurrentFrame();
}

void CMainDlg::OnCreateFlow() { SwitchFlow(kCreateFlow, "IDS_UI_ARRAY_CREATE"); }
void CMainDlg::OnModifyFlow() { SwitchFlow(kModifyFlow, "IDS_UI_ARRAY_MODIFY"); }
void CMainDlg::OnStatusFlow() { SwitchFlow(kStatusFlow, "IDS_UI_STATUS_TITLE"); }

void CMainDlg::ShowCurrentFrame() {
  CWizardFrame* frame = m_frames[m_nCurrentFlow];
  if (!frame) return;
  CRect area;
  m_frameArea.GetWindowRect(&area);
  ScreenToClient(&area);
  frame->SetWindowPos(nullptr, area.left + 2, area.top + 5, area.Width() - 1, area.Height() - 1,
                      SWP_NOZORDER | SWP_SHOWWINDOW);
  frame->ShowWindow(SW_SHOW);
  frame->Activate();
}

BOOL CMainDlg::IsBusy() const {
  for (CWizardFrame* frame : m_frames)
    if (frame && (frame->IsBusy() || frame->IsLeaving())) return TRUE;
  return FALSE;
}

BOOL CMainDlg::LeaveShownFlow() {
  HWND self = m_hWnd;
  CWizardFrame* frame = m_frames[m_nCurrentFlow];
  if (frame && frame->IsWindowVisible() && !frame->LeaveFlow()) return FALSE;
  return ::IsWindow(self);
}

void CMainDlg::SetBusyLook(BOOL busy) {
  for (CRTButton* button : {&m_btnCreate, &m_btnModify, &m_btnStatus, &m_btnExit})
    if (button->GetSafeHwnd()) button->EnableWindow(!busy);
}

LRESULT CMainDlg::OnWizardBusy(WPARAM busy, LPARAM) {
  SetBusyLook(static_cast<BOOL>(busy));
  return 0;
}

LRESULT CMainDlg::OnWizardWaitCursor(WPARAM wait, LPARAM atOnce) {
  m_nWaitCursor = wait ? 1 : 0;
  if (atOnce) SendMessage(WM_SETCURSOR, 0, 0);
  return 0;
}

LRESULT CMainDlg::OnWizardClosed(WPARAM, LPARAM) {
  SetTitle(m_pApp ? m_pApp->Text("IDS_UI_WEL_WELCOME") : CString(), TRUE);
  return 0;
}

BOOL CMainDlg::RefuseWhileBusy() {
  if (!IsBusy()) return FALSE;
  ::MessageBeep(MB_ICONEXCLAMATION);
  if (CWizardFrame* frame = m_frames[m_nCurrentFlow]) frame->RefusedWhileBusy();
  return TRUE;
}

BOOL CMainDlg::PreTranslateMessage(MSG* pMsg) {
  const CWizardFrame* frame = m_frames[m_nCurrentFlow];
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && frame && frame->IsWindowVisible()) return TRUE;
  return CRTDialog::PreTranslateMessage(pMsg);
}

void CMainDlg::OnCancel() {
  if (RefuseWhileBusy() || !LeaveShownFlow()) return;
  CRTDialog::OnCancel();
}

// Before the dialog's own handling, which would only beep at the disabled
// Exit button while busy.
void CMainDlg::OnClose() {
  if (RefuseWhileBusy()) return;
  CRTDialog::OnClose();
}

void CMainDlg::OnLButtonDown(UINT nFlags, CPoint point) {
  CRect exit;
  m_btnExit.GetWindowRect(&exit);
  ScreenToClient(&exit);
  if (exit.PtInRect(point) && RefuseWhileBusy()) return;
  CRTDialog::OnLButtonDown(nFlags, point);
}

void CMainDlg::OnContextMenu(CWnd* pWnd, CPoint point) {
  const LRESULT hit = SendMessage(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  if ((hit == HTCAPTION || hit == HTSYSMENU) && RefuseWhileBusy()) return;
  CRTDialog::OnContextMenu(pWnd, point);
}

void CMainDlg::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CRTDialog::OnActivate(nState, pWndOther, bMinimized);
  CWizardFrame* frame = m_frames[m_nCurrentFlow];
  if (nState != WA_INACTIVE && !bMinimized && frame) frame->OnMainActivated();
}

void CMainDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  const UINT command = nID & 0xFFF0;
  const bool byKeyboard = (nID & 0x000F) == 0;
  const bool waitsForTheOperator = command == IDM_ABOUTBOX || command == SC_KEYMENU || command == SC_MOUSEMENU ||
                                   ((command == SC_MOVE || command == SC_SIZE) && byKeyboard);
  if (waitsForTheOperator && RefuseWhileBusy()) return;
  if (command == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  CRTDialog::OnSysCommand(nID, lParam);
}

void CMainDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  const int iconWidth = ::GetSystemMetrics(SM_CXICON);
  const int iconHeight = ::GetSystemMetrics(SM_CYICON);
  CRect rect;
  GetClientRect(&rect);
  dc.DrawIcon((rect.Width() - iconWidth + 1) / 2, (rect.Height() - iconHeight + 1) / 2, m_hIcon);
}

HCURSOR CMainDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

HBRUSH CMainDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = static_cast<HBRUSH>(m_brush.GetSafeHandle());
  if (nCtlColor == CTLCOLOR_STATIC) pDC->SetTextColor(kWhite);
  if (pWnd && pWnd->GetDlgCtrlID() == IDC_MAIN_TITLE) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(kWhite);
    brush = static_cast<HBRUSH>(m_darkBrush.GetSafeHandle());
  }
  return brush;
}

int CMainDlg::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  return CRTDialog::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CMainDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_nWaitCursor) {
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    return TRUE;
  }
  return CRTDialog::OnSetCursor(pWnd, nHitTest, message);
}

void CMainDlg::OnDestroy() {
  // The pump below still runs the pages' posted steps and answers: an apply
  // run must not go on writing to devices from a vanished dialog.
  for (CWizardFrame* frame : m_frames)
    if (frame) frame->StopPages();
  CRTDialog::OnDestroy();
  if (m_pDiscoveryA) m_pDiscoveryA->StartListen();
  DelayPumpMessages(10);
  for (CWizardFrame*& frame : m_frames) {
    if (!frame) continue;
    frame->DestroyWindow();
    delete frame;
    frame = nullptr;
  }
}
