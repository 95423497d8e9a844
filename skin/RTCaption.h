// The skinned non-client area shared by the skinned dialog, frame window and
// property sheet: frame rings, the title bar (image, small icon, text), the
// three caption buttons (close, maximize/restore, minimize) in their normal,
// hot, pressed and disabled looks, the menu-bar rows, and the press, track and
// release of the caption buttons. The three classes hand their window
// procedure's messages to CRTCaption::WindowProc; where they differ is said
// once, in each class's CaptionRules.
//
// Each skinned window class keeps its own class-wide images, switches and
// metrics and describes them in a SkinCaptionLook, made afresh at every step,
// so a skin loaded while a window exists shows at its next repaint. Per
// window, a CRTCaption keeps the active state and the buttons' states. The
// images are borrowed from the skin store, which outlives every window; a null
// image is an element left undrawn, and a missing title image leaves the
// caption in the system's caption colour with its icon, text and buttons.
//
// Hit testing stays the platform's (the window's default WM_NCHITTEST): the
// buttons are drawn exactly where it answers HTCLOSE, HTMAXBUTTON and
// HTMINBUTTON, and the pair of boxes only beside a system menu, as it has them.
// Non-client painting never reaches into the client area, so a borderless
// child page shows no rings.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "SkinImageSet.h"
#include "afxwin.h"

enum CaptionButton : int32_t { kNoCaptionButton = -1, kCloseButton = 0, kMaximizeButton = 1, kMinimizeButton = 2 };
enum CaptionButtonState : int32_t { kButtonNormal = 0, kButtonPressed = 1, kButtonHot = 2 };

// What one skinned window class draws its non-client area with.
struct SkinCaptionLook {
  int skinEnabled = 0;
  int borderEnabled = 0;
  int captionEnabled = 0;
  const SkinImageSet* titleBar = nullptr;  // 1 Active, 2 InActive
  const SkinImageSet* exitButton = nullptr;
  const SkinImageSet* maximizeButton = nullptr;
  const SkinImageSet* restoreButton = nullptr;
  const SkinImageSet* minimizeButton = nullptr;
  const COLORREF* borderColors = nullptr;  // four; rings past the fourth take the last
  int frameX = 0, frameY = 0;               // ring count and the caption's inset
  int captionHeight = 0;
  int captionRightInset = 0;                // from the window's right edge
  int iconLeft = 0;                         // small icon, from the caption's left end
  int textLeftWithIcon = 0;                 // text start beside an icon, from the caption's left end
  bool systemTextColors = false;            // text in the system caption text colours, else black

  bool CaptionSkinned() const { return skinEnabled && captionEnabled; }

  // The switches, images and colours of a skinned class's class-wide state
  // (its s_ members); the metrics stay the caller's.
  template <typename SkinnedClass>
  static SkinCaptionLook Of() {
    SkinCaptionLook look;
    look.skinEnabled = SkinnedClass::s_skinEnabled;
    look.borderEnabled = SkinnedClass::s_borderEnabled;
    look.captionEnabled = SkinnedClass::s_captionEnabled;
    look.titleBar = &SkinnedClass::s_titleBar;
    look.exitButton = &SkinnedClass::s_exitButton;
    look.maximizeButton = &SkinnedClass::s_maximizeButton;
    look.restoreButton = &SkinnedClass::s_restoreButton;
    look.minimizeButton = &SkinnedClass::s_minimizeButton;
    look.borderColors = SkinnedClass::s_borderColors;
    return look;
  }
};

// The class-wide caption images and border colours of the skinned window
// classes that take every caption section of the skin (the dialog and the
// frame window), with the setters the skin loader calls. A base of the class
// itself (`Owner`), so each class has its own copy and keeps its names
// (CRTDialog::SetTitleBarImages, CRTDialog::s_titleBar).
template <typename Owner>
class SkinCaptionImages {
 public:
  static int SetTitleBarImages(CBitmap* const images[5], const int32_t modes[5]) {
    return AssignImages(s_titleBar, images, modes);
  }
  static int SetMenuBarImages(CBitmap* const images[5], const int32_t modes[5]) {
    return AssignImages(s_menuBar, images, modes);
  }
  static int SetMaximizeButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    return AssignImages(s_maximizeButton, images, modes);
  }
  static int SetMinimizeButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    return AssignImages(s_minimizeButton, images, modes);
  }
  static int SetRestoreButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    return AssignImages(s_restoreButton, images, modes);
  }
  static int SetExitButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    return AssignImages(s_exitButton, images, modes);
  }
  static void SetBorderColors(const COLORREF colors[4]) {
    for (int i = 0; i < 4; ++i) s_borderColors[i] = colors[i];
  }

  static inline SkinImageSet s_titleBar;        // 1 Active, 2 InActive
  static inline SkinImageSet s_menuBar;
  static inline SkinImageSet s_maximizeButton;  // 1 Normal, 2 Focus, 3 Down, 4 Disable
  static inline SkinImageSet s_minimizeButton;
  static inline SkinImageSet s_restoreButton;
  static inline SkinImageSet s_exitButton;
  static inline COLORREF s_borderColors[4] = {kDefaultBorderColors[0], kDefaultBorderColors[1],
                                              kDefaultBorderColors[2], kDefaultBorderColors[3]};

 protected:
  // No images, and the default border colours.
  static void ResetCaptionImages() {
    for (SkinImageSet* set :
         {&s_titleBar, &s_menuBar, &s_maximizeButton, &s_minimizeButton, &s_restoreButton, &s_exitButton})
      *set = SkinImageSet();
    SetBorderColors(kDefaultBorderColors);
  }

 private:
  static int AssignImages(SkinImageSet& set, CBitmap* const images[5], const int32_t modes[5]) {
    set.Assign(images, modes);
    return 1;
  }
};

// Where a skinned window class's non-client handling differs from the
// skinned dialog's, which the defaults are. The class states its rules when
// it makes its CRTCaption; CRTCaption::WindowProc follows them.
struct CaptionRules {
  // Where the title bar's active look is taken from: WM_NCACTIVATE (the
  // dialog), or WM_ACTIVATE and WM_ACTIVATEAPP (the frame window and the
  // sheet; for them WM_NCACTIVATE stores nothing, and WM_ACTIVATE repaints
  // the whole non-client area with the look it stored).
  enum class ActiveLook { kFromNcActivate, kFromActivation };
  ActiveLook activeLook = ActiveLook::kFromNcActivate;
  // WM_NCACTIVATE repaints the caption and is kept from the default handling.
  // A frame window hands it on: the class layer's frame answers it, and its
  // WM_ACTIVATE that follows repaints the whole skinned area.
  bool ownNcActivate = true;
  // The menu-bar rows are painted with the frame and caption; a sheet has no
  // menu bar.
  bool menuBar = true;
  // The right button on the non-client area is the dialog's: the press is
  // swallowed and the release repaints the caption before the default
  // handling. The frame window and the sheet leave both to the default.
  bool rightButton = true;
  // After the hover, WM_NCMOUSEMOVE also takes the default handling, so that
  // a frame window's menu bar shows its hot item under the mouse.
  bool ncMouseMoveToDefault = false;
  // WM_MOUSEMOVE runs the mouse-capture step (hover while a button is held,
  // the buttons' looks cleared otherwise); the sheet leaves it to the default.
  bool clientMouseMove = true;
  // Only the close button acts: the maximize and minimize places are plain
  // caption (no hot look, no press, no action, also for the default
  // handling). The sheet, which draws only the close button.
  bool closeButtonOnly = false;
  // WM_SYSCOMMAND repaints the caption also for SC_CLOSE; a frame window does
  // not repaint the caption of a window that is closing.
  bool repaintOnSysClose = true;
};

// Per window, in the order the skinned classes keep it.
struct SkinCaptionState {
  int32_t active = 1;  // the look of the title bar: the last WM_NCACTIVATE
  int32_t buttons[3] = {kButtonNormal, kButtonNormal, kButtonNormal};  // by CaptionButton
  int32_t tracking = 0;                                                 // a button is held, mouse captured
  int32_t pressed = kNoCaptionButton;                                   // where the press began
};

class CRTCaption {
 public:
  // The owning class's base window procedure, for the parts left to the
  // default handling (frame strips, hit tests, clicks elsewhere).
  using DefaultProc = std::function<LRESULT(UINT, WPARAM, LPARAM)>;

  CRTCaption(CWnd* wnd, DefaultProc defaultProc, int32_t initialActive, CaptionRules rules = {});

  // The owning class's window procedure for the non-client messages: with
  // the skin on, WM_NCPAINT paints the skinned area; with the caption
  // skinned, activation, caption texts, the cursor and the mouse run the
  // steps below as the rules say. Every other message, and every message
  // while the caption is not skinned, takes the default handling.
  LRESULT WindowProc(const SkinCaptionLook& look, UINT message, WPARAM wParam, LPARAM lParam);

  SkinCaptionState& State() { return m_state; }
  const SkinCaptionState& State() const { return m_state; }

  // Window coordinates of the caption band and of a button (laid out from the
  // close button's place whether or not it is drawn).
  static CRect CaptionRect(const SkinCaptionLook& look, int windowWidth);
  static CRect ButtonRect(const SkinCaptionLook& look, int windowWidth, CaptionButton button);
  // The caption button a hit code names, or kNoCaptionButton.
  static CaptionButton ButtonOfHit(WPARAM hit);

  // Painting steps on a window context (window coordinates). `update` is the
  // WM_NCPAINT region in screen coordinates, or null for everything; it stays
  // the caller's.
  void DrawBorder(CDC* dc, const SkinCaptionLook& look, HRGN update);
  // 0 when the title image of the active state is missing (the caption then
  // shows the system caption colour), else 1.
  int DrawCaption(CDC* target, const SkinCaptionLook& look, int32_t active, HRGN update);
  void DrawCaptionButtons(CDC* dc, const SkinCaptionLook& look);
  void DrawMenuBar(CDC* dc, const SkinCaptionLook& look);
  // A whole WM_NCPAINT on a window context of its own: border, caption and,
  // when asked, the menu bar, never reaching into the client area. `update`
  // (screen coordinates) stays the sender's, and 0 or 1 mean the whole area.
  void PaintNonClient(const SkinCaptionLook& look, HRGN update, bool withMenuBar = true);

  // What releasing the close button does; by default WM_CLOSE is sent.
  void SetCloseAction(std::function<void(LPARAM point)> close) { m_close = std::move(close); }
  // Where the caption text comes from; by default the window text.
  void SetTitleSource(std::function<CString()> title) { m_title = std::move(title); }

  // The same on a window context of their own.
  void RepaintCaption(const SkinCaptionLook& look);
  void RepaintCaptionButtons(const SkinCaptionLook& look);

  // The caption buttons' cycle. Hover takes the hit code under the mouse.
  void Hover(const SkinCaptionLook& look, WPARAM hit);
  // True when the press began tracking a button (the mouse is then captured);
  // a box the style lacks is like any other place.
  bool Press(const SkinCaptionLook& look, WPARAM hit);
  // Ends tracking. Returns the button to act on (released over the one that
  // was pressed), else kNoCaptionButton; `elsewhere` tells that the release
  // was over no button, which the default handling then gets.
  CaptionButton Release(const SkinCaptionLook& look, WPARAM hit, bool* elsewhere);
  // The capture went to another window while a button was held: as a release
  // over no button.
  void CaptureLost(const SkinCaptionLook& look);
  // Mouse-capture step: the platform's hit code at a client point.
  WPARAM HitAtClientPoint(LPARAM clientPoint, LPARAM* screenPoint);
  // WM_NCLBUTTONDOWN: a press on a button, else the default handling; then
  // the caption repainted.
  LRESULT PressStep(const SkinCaptionLook& look, WPARAM hit, LPARAM point);
  // WM_MOUSEMOVE: while a button is held, the hover of the point's hit code;
  // else the buttons' looks cleared and the default handling.
  LRESULT MouseMoveStep(const SkinCaptionLook& look, WPARAM flags, LPARAM point);
  // WM_NCLBUTTONUP: a held button released over itself sends its command (the
  // close action, maximize/restore, minimize); a release over no button, or
  // with nothing held, gets the default handling.
  LRESULT ReleaseStep(const SkinCaptionLook& look, WPARAM hit, LPARAM point);
  // WM_LBUTTONUP while a button is held (the mouse is captured): the release
  // step at the point's hit code; else the default handling.
  LRESULT LButtonUpStep(const SkinCaptionLook& look, WPARAM flags, LPARAM point);
  // Clears hot and pressed looks (the mouse went into the client area).
  void ClearButtonStates(const SkinCaptionLook& look);

 private:
  LRESULT NcActivateStep(const SkinCaptionLook& look, WPARAM wParam, LPARAM lParam);
  LRESULT ActivateStep(const SkinCaptionLook& look, UINT message, WPARAM wParam, LPARAM lParam);
  // The default handling first, then the caption repainted while the window lives.
  LRESULT RepaintAfterDefault(const SkinCaptionLook& look, UINT message, WPARAM wParam, LPARAM lParam);
  // The hit code as the caption buttons take it (CaptionRules::closeButtonOnly).
  WPARAM ButtonHit(WPARAM hit) const;
  void DrawButton(CDC* dc, const CRect& rect, const SkinImageSet* images, int32_t state, bool disabled);
  void DrawTitleText(CDC* target, CDC* mem, const SkinCaptionLook& look, const CRect& caption, bool hasIcon,
                     COLORREF color);
  void DefaultNcPaint(const CRect& screenRect, HRGN update);
  bool AnyButtonState() const;

  CWnd* m_wnd;
  DefaultProc m_default;
  std::function<CString()> m_title;
  std::function<void(LPARAM)> m_close;
  CaptionRules m_rules;
  SkinCaptionState m_state;
};
