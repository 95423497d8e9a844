// A full repaint of a skinned 640 x 480 dialog: frame rings, the caption
// (title image, icon, text, three buttons) composed off screen, and the client
// area erased with the stretched "Dialog" image, then every child painted.
// The dialog's controls come from a template table, so the skinned controls
// join the measurement by adding their rows (and their class's skin) to a
// scene of their own.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "RTDialog.h"
#include "SkinDraw.h"

namespace {

// A skin with images of the sizes skins are drawn at.
class BenchSkin {
 public:
  BenchSkin() {
    CBitmap* titles[5] = {nullptr, Image(200, 19, RGB(40, 90, 170)), Image(200, 19, RGB(120, 128, 140)), nullptr,
                          nullptr};
    const int32_t titleModes[5] = {0, kSkinStretch, kSkinStretch, 0, 0};
    CRTDialog::SetTitleBarImages(titles, titleModes);
    for (auto setter : {CRTDialog::SetExitButtonImages, CRTDialog::SetMaximizeButtonImages,
                        CRTDialog::SetRestoreButtonImages, CRTDialog::SetMinimizeButtonImages}) {
      CBitmap* images[5] = {nullptr, Image(17, 15, RGB(70, 120, 200)), Image(17, 15, RGB(110, 160, 230)),
                            Image(17, 15, RGB(40, 70, 140)), Image(17, 15, RGB(160, 166, 176))};
      const int32_t modes[5] = {};
      setter(images, modes);
    }
    CRTDialog::SetBackImage(Image(320, 240, RGB(232, 238, 248)), kSkinStretch);
    CRTDialog::SetSkinFlags(1, 1, 1, 1);
  }
  ~BenchSkin() { CRTDialog::ResetSkin(); }

 private:
  // A picture with some detail, so no blit can take a shortcut over one colour.
  CBitmap* Image(int w, int h, COLORREF base) {
    m_images.push_back(std::make_unique<CBitmap>());
    CBitmap* bm = m_images.back().get();
    bm->Attach(::CreateBitmap(w, h, 1, 32, nullptr));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc.SelectObject(static_cast<HGDIOBJ>(bm->GetSafeHandle()));
    for (int y = 0; y < h; ++y)
      dc.FillSolidRect(0, y, w, 1, RGB(GetRValue(base), (GetGValue(base) + y) & 0xFF, GetBValue(base)));
    dc.SelectObject(old);
    return bm;
  }
  std::vector<std::unique_ptr<CBitmap>> m_images;
};

// A shown, active skinned dialog of 640 x 480 with the given controls.
class Scene {
 public:
  explicit Scene(std::vector<DialogItemTemplate> controls) {
    DialogTemplate tpl;
    tpl.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME | DS_SETFONT;
    tpl.cx = 400;
    tpl.cy = 280;
    tpl.caption = "Create an AP Vezovi group";
    tpl.fontFace = "MS Sans Serif";
    tpl.items = std::move(controls);
    m_dialog.CreateIndirect(&tpl, nullptr);
    m_dialog.SetIcon(::LoadIcon(nullptr, IDI_APPLICATION), FALSE);
    m_dialog.MoveWindow(20, 20, 640, 480);
    m_dialog.ShowWindow(SW_SHOW);
    m_dialog.SetActiveWindow();
    Repaint();
  }
  void Repaint() {
    m_dialog.RedrawWindow(nullptr, nullptr,
                          RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }

 private:
  CRTDialog m_dialog;
};

void Repaint(benchmark::State& state, std::vector<DialogItemTemplate> controls) {
  BenchSkin skin;
  Scene scene(std::move(controls));
  for (auto _ : state) scene.Repaint();
}

// Caption, frame and background alone.
void SkinnedDialogFullRepaint(benchmark::State& state) { Repaint(state, {}); }
BENCHMARK(SkinnedDialogFullRepaint)->Unit(benchmark::kMicrosecond);

// With the plain controls a wizard page holds, until their skinned forms exist.
void SkinnedDialogWithPlainControlsFullRepaint(benchmark::State& state) {
  Repaint(state, {rc::LText("Group name:", -1, 10, 12, 60, 8), rc::EditText(1001, 75, 10, 130, 13),
                  rc::LText("Password:", -1, 10, 30, 60, 8), rc::EditText(1002, 75, 28, 130, 13, ES_PASSWORD),
                  rc::DefPushButton("Next >", IDOK, 280, 255, 50, 14),
                  rc::PushButton("Cancel", IDCANCEL, 340, 255, 50, 14)});
}
BENCHMARK(SkinnedDialogWithPlainControlsFullRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
