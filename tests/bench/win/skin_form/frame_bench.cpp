// The skinned frame of the real main window: one non-client paint (compose
// the strips, draw the objects, copy to the window) at two sizes, and one
// resize step with everything repainted, next to the same step of a bare
// window with the system's own frame. Needs a screen of at least 1920 x 1080
// (the frame never grows past the work area).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <vector>

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
    SetBounds(900, 0, 704, 420);  // beside the main window, not under it
    CreateHandle();
  }
};

void Resize(HWND hwnd, int w, int h) {
  SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// One step to the other of two sizes, so that every step changes the size.
void Step(HWND hwnd, int i) { Resize(hwnd, i % 2 ? 760 : 800, i % 2 ? 460 : 500); }

double Seconds(HWND hwnd, int i) {
  return bench::Time([&] { Step(hwnd, i); });
}

}  // namespace

int main() {
  bench::StartProgram(L"Kelmar");
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
  auto* bare = new BareForm;
  bare->Show();
  PumpMessages();
  // The two windows take turns in rounds of two steps each, and the second
  // step of a round is the one timed. A step that follows the other window's
  // step costs the main window some 6 ms more and the bare one 1-2 ms less
  // (the system still settling the other window's change): timing every
  // step of a strict alternation moves that cost from one window onto the
  // other. The first steps are reported too, for comparison.
  std::vector<double> skinned, plain, ratios, skinnedFirst, plainFirst;
  for (int i = 0; i < 10; ++i) {
    Seconds(hwnd, i);
    Seconds(bare->Handle(), i);
  }
  for (int i = 0; i < 101; ++i) {
    skinnedFirst.push_back(Seconds(hwnd, 2 * i));
    skinned.push_back(Seconds(hwnd, 2 * i + 1));
    plainFirst.push_back(Seconds(bare->Handle(), 2 * i));
    plain.push_back(Seconds(bare->Handle(), 2 * i + 1));
    ratios.push_back(skinned.back() / plain.back());
  }
  const double main = bench::Summarise(skinned).median, other = bench::Summarise(plain).median;
  std::printf("%-34s median %8.3f ms\n", "resize step, main window", main * 1e3);
  std::printf("%-34s median %8.3f ms\n", "resize step, bare system frame", other * 1e3);
  std::printf("ratio of medians: %.2f, median of step ratios: %.2f\n", main / other, bench::Summarise(ratios).median);
  std::printf("first steps of the rounds: main %.3f ms, bare %.3f ms, ratio %.2f\n", bench::Summarise(skinnedFirst).median * 1e3,
              bench::Summarise(plainFirst).median * 1e3,
              bench::Summarise(skinnedFirst).median / bench::Summarise(plainFirst).median);
  delete bare;
  delete form;
  PumpMessages();
  OleUninitialize();
  return 0;
}
