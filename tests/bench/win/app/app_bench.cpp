// The main form's heavy commands, on the real form: a full 1000-icon batch of
// real library icons dropped on it (next to reading the same icons one
// ExtractIconW call per index), and Save all of that batch as icon files and as
// bitmap files. Also reports the process's GDI and USER object counts.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/form_kelmar.h"
#include "bench/win/harness.h"
#include "framework/application.h"
#include "win/shell_files.h"

using namespace kelmar;
using kelmar::bench::PumpMessages;
using kelmar::test::DropFiles;
using kelmar::test::SystemFile;

namespace {

// Answers the folder browser with one folder and every message box with OK.
class BenchServices : public TPlatformServices {
 public:
  std::wstring folder;
  PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW&) override { return ILCreateFromPathW(folder.c_str()); }
  int ShowMessageBox(HWND, const std::wstring&, const std::wstring&, UINT) override { return IDOK; }
};

}  // namespace

int main() {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  Application().SetTitle(L"Kelmar");
  BenchServices services;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  services.folder = std::wstring(temp) + L"kelmar-bench-save";
  CreateDirectoryW(services.folder.c_str(), nullptr);
  auto* form = Application().CreateForm<TFormKelmar>(nullptr, &services);
  form->Show();
  PumpMessages();

  // 5 x 184 + 8 x 10 = 1000 icons.
  std::vector<std::wstring> files(5, SystemFile(L"shell32.dll"));
  for (int i = 0; i < 8; ++i) files.push_back(SystemFile(L"comdlg32.dll"));

  HANDLE self = GetCurrentProcess();
  DWORD gdi_before = GetGuiResources(self, GR_GDIOBJECTS), user_before = GetGuiResources(self, GR_USEROBJECTS);
  bench::Timing batch = bench::Measure(5, [&] {
    DropFiles(form->Handle(), files);
    PumpMessages();
  });
  bench::Report("intake: 1000-icon batch (drop)", batch, 1000, "icons");
  std::printf("list holds %d items, %d large and %d small images\n", form->ListView1->Count(),
              form->LargeImage->Count(), form->SmallImage->Count());
  // Files of other types: one shell icon each.
  std::wstring others = services.folder + L"\\others";
  CreateDirectoryW(others.c_str(), nullptr);
  std::vector<std::wstring> other_files;
  const wchar_t* extensions[] = {L".txt", L".ico", L".bmp", L".doc", L".zip"};
  for (int i = 0; i < 300; ++i) {
    other_files.push_back(others + L"\\f" + std::to_wstring(i) + extensions[i % 5]);
    CloseHandle(CreateFileW(other_files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  bench::Timing shell_icons = bench::Measure(3, [&] { DropFiles(form->Handle(), other_files); });
  bench::Report("intake: 300 files of other types", shell_icons, 300, "files");
  DropFiles(form->Handle(), files);

  bench::Timing save_icons = bench::Measure(3, [&] { form->BTNSaveAllClick(); });
  bench::Report("save all: 1000 icon files", save_icons, 1000, "files");
  form->CombPicType->SetItemIndex(1);
  bench::Timing save_bitmaps = bench::Measure(3, [&] { form->BTNSaveAllClick(); });
  bench::Report("save all: 1000 bitmap files", save_bitmaps, 1000, "files");
  form->CombPicType->SetItemIndex(0);
  DWORD gdi_full = GetGuiResources(self, GR_GDIOBJECTS), user_full = GetGuiResources(self, GR_USEROBJECTS);
  form->ListView1->Clear();
  form->LargeImage->Clear();
  form->SmallImage->Clear();
  DWORD gdi_after = GetGuiResources(self, GR_GDIOBJECTS), user_after = GetGuiResources(self, GR_USEROBJECTS);
  std::printf("GDI objects: %lu before, %lu with a full batch after 5 batches, %lu after clearing\n",
              gdi_before, gdi_full, gdi_after);
  std::printf("USER objects: %lu before, %lu with a full batch, %lu after clearing\n", user_before, user_full,
              user_after);

  // The per-index way, for the ratio: one ExtractIconW per icon.
  std::wstring shell32 = SystemFile(L"shell32.dll");
  bench::Timing per_index = bench::Measure(3, [&] {
    for (UINT i = 0; i < 184; ++i) DestroyIcon(ExtractIconW(GetModuleHandleW(nullptr), shell32.c_str(), i));
  });
  bench::Report("ExtractIconW per index (shell32)", per_index, 184, "icons");
  std::printf("ratio: batch intake is %.1fx the per-index extraction alone\n",
              (1000 / batch.median) / (184 / per_index.median));

  delete form;
  OleUninitialize();
  return 0;
}
