// The main form's heavy commands, on the real form: a full 1000-icon batch of
// real library icons dropped on it (next to the system's extraction of the
// same icons, and one ExtractIconW call per index), and Save all of that
// batch as icon files and as bitmap files. Also reports the process's GDI and
// USER object counts.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <utility>
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

// Answers the folder chooser with one folder and every message box with OK.
class BenchServices : public TPlatformServices {
 public:
  std::wstring folder;
  TFolderPick PickFolder(HWND, const std::wstring&, const std::wstring&) override {
    return {TFolderPick::TResult::kChosen, folder};
  }
  std::wstring ReadSetting(const std::wstring&) override { return {}; }
  void WriteSetting(const std::wstring&, const std::wstring&) override {}
  int ShowMessageBox(HWND, const std::wstring&, const std::wstring&, UINT) override { return IDOK; }
};

// The files of one type in a folder, with their bytes.
std::vector<std::pair<std::wstring, std::vector<char>>> ReadFiles(const std::wstring& folder, const wchar_t* extension) {
  std::vector<std::pair<std::wstring, std::vector<char>>> files;
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((folder + L"\\*" + extension).c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    const std::wstring path = folder + L"\\" + fd.cFileName;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<char> bytes(fd.nFileSizeLow);
    DWORD read = 0;
    ReadFile(h, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    CloseHandle(h);
    files.emplace_back(path, std::move(bytes));
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  return files;
}

// Waits until the files' bytes are on the disk. Untimed, before each timed
// run: rewriting a file whose pages are still being written back waits for
// them, so without it each run would pay for the one before.
void Settle(const std::vector<std::pair<std::wstring, std::vector<char>>>& files) {
  for (const auto& file : files) {
    HANDLE h = CreateFileW(file.first.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FlushFileBuffers(h);
    CloseHandle(h);
  }
}

// Save all of the batch against the bare writing of the same bytes to the
// same names (create, write, close: no temporary file, nothing whole),
// alternated run by run so that both see the same load, each from settled
// files.
void CompareSaveWithBareWriting(TFormKelmar* form, const std::wstring& folder, const wchar_t* extension,
                                const char* what) {
  std::vector<double> save, bare;
  for (int run = 0; run < 5; ++run) {
    Settle(ReadFiles(folder, extension));
    save.push_back(bench::Time([&] { form->BTNSaveAllClick(); }));
    const auto files = ReadFiles(folder, extension);
    Settle(files);
    bare.push_back(bench::Time([&] {
      for (const auto& [path, bytes] : files) {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
      }
    }));
    if (files.size() != 1000) std::printf("(%zu files of the type in the folder)\n", files.size());
  }
  const bench::Timing s = bench::Summarise(save), b = bench::Summarise(bare);
  const std::string name = std::string("save all: 1000 ") + what;
  bench::Report(name.c_str(), s, 1000, "files");
  bench::Report("  bare writing of the same bytes", b, 1000, "files");
  std::printf("  ratio save all / bare writing: %.2f (medians)\n", s.median / b.median);
}

}  // namespace

int main() {
  bench::StartProgram(L"Kelmar");
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
  // The same 1000 icons from the system's extraction alone (icon handles at
  // the large size, 64 per call, destroyed again): what the intake did
  // before it read the resources itself, without the lists.
  int system_icons = 0;
  bench::Timing system = bench::Measure(5, [&] {
    system_icons = 0;
    for (const auto& file : files)
      for (int first = 0;; first += 64) {
        HICON icons[64] = {};
        UINT ids[64] = {};
        UINT got = PrivateExtractIconsW(file.c_str(), first, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                        icons, ids, 64, 0);
        for (UINT k = 0; k < got && k < 64; ++k)
          if (icons[k]) DestroyIcon(icons[k]), ++system_icons;
        if (got < 64) break;
      }
  });
  bench::Report("system extraction, same 1000 icons", system, 1000, "icons");
  std::printf("(the system's extraction gave %d icons)\n", system_icons);
  std::printf("ratio: the whole intake takes %.2fx the time of the system's extraction alone\n",
              batch.median / system.median);
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

  // The first save makes the names; every timed run replaces them.
  form->BTNSaveAllClick();
  CompareSaveWithBareWriting(form, services.folder, L".ico", "icon files");
  form->CombPicType->SetItemIndex(1);
  form->BTNSaveAllClick();
  CompareSaveWithBareWriting(form, services.folder, L".bmp", "bitmap files");
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
