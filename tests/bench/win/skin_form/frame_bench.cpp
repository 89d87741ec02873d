// The skinned frame of the real main window: one non-client paint (compose
// the strips, draw the objects, copy to the window) at two sizes, and one
// resize step with everything repainted, next to the same step of a bare
// window with the system's own frame. Needs a screen of at least 1920 x 1080
// (the frame never grows past the work area).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>

#include "app/form_kelmar.h"
#include "bench/win/harness.h"
#include "framework/application.h"

using namespace kelmar;
using kelmar::bench::PumpMessages;

namespace {

class BareForm : public TForm {
 public:
  BareForm() : TForm(nullptr, "Bare") {
    SetCaption(L"Bare");
    SetBounds(0, 0, 704, 420);
    CreateHandle();
  }
};

void Resize(HWND hwnd, int w, int h) {
  SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Alternating between two sizes, so that every step changes the size.
bench::Timing ResizeSteps(HWND hwnd, int repetitions) {
  int i = 0;
  return bench::Measure(repetitions, [&] {
    ++i;
    Resize(hwnd, i % 2 ? 760 : 800, i % 2 ? 460 : 500);
  });
}

}  // namespace

int main() {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  Application().SetTitle(L"Kelmar");
  auto* form = Application().CreateForm<TFormKelmar>();
  form->Show();
  SetActiveWindow(form->Handle());
  PumpMessages();
  HWND hwnd = form->Handle();

  std::printf("screen %d x %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  for (auto [w, h] : {std::pair{704, 420}, std::pair{1920, 1080}}) {
    SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    RECT rc;
    GetWindowRect(hwnd, &rc);
    char name[64];
    std::snprintf(name, sizeof name, "WM_NCPAINT %ld x %ld", rc.right - rc.left, rc.bottom - rc.top);
    for (int i = 0; i < 20; ++i) SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    const bench::Timing t = bench::Measure(301, [&] { SendMessageW(hwnd, WM_NCPAINT, 1, 0); });
    std::printf("%-34s median %8.3f ms  (%.3f .. %.3f)\n", name, t.median * 1e3, t.fastest * 1e3, t.slowest * 1e3);
  }

  SetWindowPos(hwnd, nullptr, 0, 0, 760, 460, SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
  ResizeSteps(hwnd, 10);
  const bench::Timing skinned = ResizeSteps(hwnd, 61);

  auto* bare = new BareForm;
  bare->Show();
  PumpMessages();
  ResizeSteps(bare->Handle(), 10);
  const bench::Timing plain = ResizeSteps(bare->Handle(), 61);
  std::printf("%-34s median %8.3f ms  (%.3f .. %.3f)\n", "resize step, main window", skinned.median * 1e3,
              skinned.fastest * 1e3, skinned.slowest * 1e3);
  std::printf("%-34s median %8.3f ms  (%.3f .. %.3f)\n", "resize step, bare system frame", plain.median * 1e3,
              plain.fastest * 1e3, plain.slowest * 1e3);
  std::printf("ratio main / bare: %.2f\n", skinned.median / plain.median);
  delete bare;
  delete form;
  PumpMessages();
  OleUninitialize();
  return 0;
}
