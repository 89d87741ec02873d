// A live switch between the light and the dark skin, as Windows asks for it
// (WM_SETTINGCHANGE "ImmersiveColorSet"), against one full repaint of the
// same window in the same run: the real form with shell32's icons listed.
// The switch loads the other skin's package and repaints every piece; the
// full repaint is the whole window, frame and children, invalidated and
// painted at once. The two alternate, 15 times each.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/form_kelmar.h"
#include "bench/win/harness.h"
#include "bench/win/save_services.h"
#include "framework/application.h"
#include "win/shell_files.h"

using namespace kelmar;

namespace {

class ColourServices : public bench::BenchServices {
 public:
  bool dark = false;
  bool AppsUseDarkTheme() override { return dark; }
};

}  // namespace

int main() {
  bench::StartProgram(L"Kelmar");
  ColourServices services;
  auto* form = Application().CreateForm<TFormKelmar>(nullptr, &services);
  form->Show();
  bench::PumpMessages();
  test::DropFiles(form->Handle(), {test::SystemFile(L"shell32.dll")});
  bench::PumpMessages();
  bench::Require(form->ListView1->Count() == 184, "shell32's 184 icons listed");

  auto repaint = [&] {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  bool switched_every_time = true;
  auto change = [&] {
    services.dark = !services.dark;
    SendMessageW(form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    switched_every_time &= form->ksSkinData1->Skin().SkinName == (services.dark ? "Kelmar Dark" : "Kelmar Light");
  };
  repaint();
  change();
  change();
  std::vector<double> repaints, switches;
  for (int round = 0; round < 15; ++round) {
    repaints.push_back(bench::Time(repaint));
    switches.push_back(bench::Time(change));
    bench::PumpMessages();
  }
  bench::Require(switched_every_time, "every switch showed the skin asked for");
  bench::Require(form->ListView1->Count() == 184, "the icons still listed");
  const bench::Timing r = bench::Summarise(repaints), s = bench::Summarise(switches);
  std::printf("shell32's icons listed, median of %zu, fastest .. slowest\n", repaints.size());
  std::printf("  full repaint of the window  %6.1f ms (%.1f .. %.1f)\n", r.median * 1000, r.fastest * 1000, r.slowest * 1000);
  std::printf("  live switch of the skin     %6.1f ms (%.1f .. %.1f)\n", s.median * 1000, s.fastest * 1000, s.slowest * 1000);
  std::printf("  ratio switch / repaint: %.2f\n", s.median / r.median);
  delete form;
  return 0;
}
