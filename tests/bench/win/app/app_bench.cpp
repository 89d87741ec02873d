// The main form's heavy commands, on the real form: a full 1000-icon batch of
// real library icons dropped on it (next to the system's extraction of the
// same icons, and one ExtractIconW call per index), and Save all of that
// batch as icon files, as bitmap files and as PNG pictures. Also reports the process's GDI and
// USER object counts.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/form_kelmar.h"
#include "app/icon_source.h"
#include "imageio/file_output_win32.h"
#include "imageio/png_icon.h"
#include "bench/win/harness.h"
#include "framework/application.h"
#include "win/shell_files.h"

using namespace kelmar;
using kelmar::bench::PumpMessages;
using kelmar::test::DropFiles;
using kelmar::test::SystemFile;

namespace {

// Answers the folder browser with one folder, the question before replacing
// files with Yes (each timed save replaces the files of the one before) and
// every other message box with OK.
class BenchServices : public TPlatformServices {
 public:
  std::wstring folder;
  PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW&) override { return ILCreateFromPathW(folder.c_str()); }
  int ShowMessageBox(HWND, const std::wstring&, const std::wstring&, UINT type) override {
    return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? IDYES : IDOK;
  }
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

// Save all as PNG pictures (largest) against the same encoder writing the
// same images in a bare loop: each item's largest image (the most colours
// among equals) found and decoded beforehand, untimed; timed, a stored PNG
// stream's bytes or the encoder's, written to the same name (create, write,
// close). Alternated run by run, each from settled files.
void ComparePngSaveWithBareEncoding(TFormKelmar* form, const std::wstring& folder) {
  struct Chosen {
    std::wstring path;
    std::vector<uint8_t> stored;  // a PNG stream as the file holds it
    Image pixels;                 // else the decoded image
  };
  std::vector<Chosen> chosen;
  std::wstring last;
  std::optional<FileIcons> icons;
  int index = 0;  // the item's index in its file: a file's items follow one another, all of them
  for (int i = 0; i < form->ListView1->Count(); ++i) {
    const std::wstring caption = form->ListView1->ItemCaption(i), source = caption.substr(caption.find(L':') + 1);
    if (source != last) icons = FileIcons::Read(source), last = source, index = 0;
    if (index == icons->Count()) index = 0;  // the same file dropped again
    const std::shared_ptr<const IconGroup> group = icons->Group(index);
    const IconEntry* best = nullptr;
    IconImageFacts best_facts;
    for (const IconEntry& e : group->entries) {
      const std::optional<IconImageFacts> f = ReadIconImageFacts(e.Image());
      if (!f) continue;
      const long area = long(f->width) * f->height, best_area = long(best_facts.width) * best_facts.height;
      if (!best || area > best_area || (area == best_area && f->bitCount > best_facts.bitCount)) best = &e, best_facts = *f;
    }
    Chosen c{folder + L"\\" + MakeSaveName(caption, i + 1) + L".png", {}, {}};
    if (best_facts.png)
      c.stored.assign(best->Image().begin(), best->Image().end());
    else
      c.pixels = DecodeStoredIconImage(best->Image());
    chosen.push_back(std::move(c));
    ++index;
  }
  size_t stored = 0;
  for (const Chosen& c : chosen) stored += !c.stored.empty();

  std::vector<double> save, bare, writer;
  size_t total_bytes = 0;
  for (int run = 0; run < 5; ++run) {
    Settle(ReadFiles(folder, L".png"));
    save.push_back(bench::Time([&] { form->BTNSaveAllClick(); }));
    const auto files = ReadFiles(folder, L".png");
    total_bytes = 0;
    for (const auto& file : files) total_bytes += file.second.size();
    Settle(files);
    bare.push_back(bench::Time([&] {
      for (const Chosen& c : chosen) {
        const std::vector<uint8_t> bytes = c.stored.empty() ? EncodePng(c.pixels) : c.stored;
        HANDLE h = CreateFileW(c.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
      }
    }));
    // The program's whole-file writing alone, same bytes and names: what
    // a save costs beyond making the pictures.
    Settle(files);
    writer.push_back(bench::Time([&] {
      WholeFileWriter whole;
      for (const auto& [path, bytes] : files)
        whole.Write(path, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }));
    if (files.size() != 1000) std::printf("(%zu files of the type in the folder)\n", files.size());
  }
  const bench::Timing s = bench::Summarise(save), b = bench::Summarise(bare), w = bench::Summarise(writer);
  bench::Report("save all: 1000 PNG pictures (largest)", s, 1000, "files");
  bench::Report("  whole-file writing alone, same bytes", w, 1000, "files");
  bench::Report("  the same encoder, same images, bare loop", b, 1000, "files");
  std::printf("  ratio save all / bare loop: %.2f (medians); %zu bytes in all; %zu of the images stored as PNG\n",
              s.median / b.median, total_bytes, stored);
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
  form->CombPicType->SetItemIndex(3);
  form->BTNSaveAllClick();
  ComparePngSaveWithBareEncoding(form, services.folder);
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
