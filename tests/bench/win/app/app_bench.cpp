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
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/form_kelmar.h"
#include "app/icon_source.h"
#include "bench/win/harness.h"
#include "bench/win/save_services.h"
#include "framework/application.h"
#include "imageio/file_output_win32.h"
#include "imageio/png_icon.h"
#include "win/shell_files.h"

using namespace kelmar;
using kelmar::bench::PumpMessages;
using kelmar::test::DropFiles;
using kelmar::test::SystemFile;

namespace {

// A file as the program saves it: an icon file of one image (directory of
// one entry, the image right after it, to the file's end) or a bitmap file
// whose header gives the file's size.
bool WellFormed(const std::vector<uint8_t>& bytes, const wchar_t* extension) {
  auto u16 = [&](size_t at) { return uint32_t(bytes[at] | bytes[at + 1] << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (std::wstring(extension) == L".bmp") return bytes.size() > 54 && bytes[0] == 'B' && bytes[1] == 'M' && u32(2) == bytes.size();
  return bytes.size() > 22 && u16(0) == 0 && u16(2) == 1 && u16(4) == 1 && u32(18) == 22 &&
         u32(14) == bytes.size() - 22;
}

// The same bytes to the same names, written whole by hand the usual way: a
// temporary file beside the target, then moved over it.
void WriteByMove(const bench::NamedFiles& files) {
  for (const auto& [path, bytes] : files) {
    const std::wstring temp = path + L".tmp";
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = h != INVALID_HANDLE_VALUE && WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    bench::Require(ok && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING), "a moved file");
  }
}

// One file, nothing whole: create, write, close.
void WritePlainFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (h != INVALID_HANDLE_VALUE) WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr), CloseHandle(h);
}

// The same bytes to the same names, nothing whole.
void WritePlain(const bench::NamedFiles& files) {
  for (const auto& [path, bytes] : files) WritePlainFile(path, bytes);
}

// One way of writing the files again, and its runs' times.
struct Way {
  const char* name;
  std::function<void()> write;
  std::vector<double> seconds;
};

// Save all, which must ask once whether to replace the files (answered Yes).
Way SaveAllWay(TFormKelmar* form, bench::BenchServices& services) {
  return {"  save all", [form, &services] {
            const int questions = services.replace_questions;
            form->BTNSaveAllClick();
            bench::Require(services.replace_questions == questions + 1, "the question to replace the files, answered Yes");
          }, {}};
}

// The files' bytes through the program's own whole-file writer alone.
Way WholeFileWay(const char* name, const bench::NamedFiles& files) {
  return {name, [&files] {
            WholeFileWriter writer;
            for (const auto& [path, bytes] : files) writer.Write(path, bytes);
          }, {}};
}

// Runs the ways in rounds, each round starting with the next one (so that
// none is always first after the previous way's files, and all see the same
// load); every run starts from settled files and must leave all of
// `reference` rewritten with the same bytes, or nothing is reported. Reports
// each way and the ratio of the first to the second, of the medians and per
// round; returns the medians.
std::vector<double> RunInRounds(std::span<Way> ways, const bench::NamedFiles& reference, const std::wstring& folder,
                                const wchar_t* extension, const char* what, const char* second) {
  const int n = int(ways.size());
  for (int round = 0; round < 2 * n; ++round)
    for (int k = 0; k < n; ++k) {
      Way& way = ways[size_t((round + k) % n)];
      bench::SettleAndAge(reference);
      way.seconds.push_back(bench::Time(way.write));
      bench::Require(bench::RewroteAll(folder, extension, reference), "all 1000 files rewritten with the same bytes");
    }
  std::printf("%s: 1000 files, %llu bytes, %d runs each, each run checked\n", what,
              static_cast<unsigned long long>(bench::TotalBytes(reference)), 2 * n);
  std::vector<double> medians;
  for (const Way& way : ways) {
    const bench::Timing t = bench::Summarise(way.seconds);
    bench::Report(way.name, t, 1000, "files");
    medians.push_back(t.median);
  }
  // The load of this shared machine drifts over a run by more than the
  // difference looked for: each round's own ratio compares runs made within
  // seconds of each other.
  std::vector<double> rounds;
  for (size_t r = 0; r < ways[0].seconds.size(); ++r) rounds.push_back(ways[0].seconds[r] / ways[1].seconds[r]);
  const bench::Timing per_round = bench::Summarise(rounds);
  std::printf("  ratio save all / %s: %.2f (medians); per round: median %.2f (%.2f .. %.2f)\n", second,
              medians[0] / medians[1], per_round.median, per_round.fastest, per_round.slowest);
  return medians;
}

// Save all of the batch (the files of the first save there already, so every
// run replaces them) against the same bytes written to the same names: by
// the program's own whole-file writer alone (the same safe way), by a
// temporary file moved by name, and plainly, in rounds (RunInRounds).
void CompareSaveWithBareWriting(TFormKelmar* form, bench::BenchServices& services, const wchar_t* extension,
                                const char* what) {
  const std::wstring& folder = services.folder;
  const bench::NamedFiles reference = bench::ReadFilesIn(folder, extension);
  bench::Require(reference.size() == 1000, "1000 files from the first save");
  for (const auto& file : reference) bench::Require(WellFormed(file.second, extension), "well-formed saved files");
  Way ways[] = {
      SaveAllWay(form, services),
      WholeFileWay("  same bytes, whole-file writer", reference),
      {"  same bytes, temporary file moved", [&] { WriteByMove(reference); }, {}},
      {"  same bytes, create-write-close", [&] { WritePlain(reference); }, {}},
  };
  const std::vector<double> m = RunInRounds(ways, reference, folder, extension, what, "whole-file writer");
  std::printf("  ratio save all / temporary file moved: %.2f, / create-write-close: %.2f\n", m[0] / m[2], m[0] / m[3]);
}

// Each item's largest image (the most colours among equals), read from the
// item's file and decoded, with the name Save all gives its picture: the
// work of the bare loop below, done beforehand.
struct ChosenImage {
  std::wstring path;
  std::vector<uint8_t> stored;  // a PNG stream as the file holds it
  Image pixels;                 // else the decoded image
};
std::vector<ChosenImage> LargestImages(TFormKelmar* form, const std::wstring& folder) {
  std::vector<ChosenImage> chosen;
  std::wstring last;
  std::optional<FileIcons> icons;
  int index = 0;  // the item's index in its file: a file's items follow one another, all of them
  for (int i = 0; i < form->ListView1->Count(); ++i, ++index) {
    const std::wstring caption = form->ListView1->ItemCaption(i), source = caption.substr(caption.find(L':') + 1);
    if (source != last) icons = FileIcons::Read(source), last = source, index = 0;
    if (index == icons->Count()) index = 0;  // the same file dropped again
    const std::shared_ptr<const IconGroup> group = icons->Group(index);
    bench::Require(group != nullptr, "every item's group read again");
    const IconEntry* best = nullptr;
    IconImageFacts best_facts;
    for (const IconEntry& e : group->entries) {
      const std::optional<IconImageFacts> f = ReadIconImageFacts(e.Image());
      if (!f) continue;
      const long area = long(f->width) * f->height, best_area = long(best_facts.width) * best_facts.height;
      if (!best || area > best_area || (area == best_area && f->bitCount > best_facts.bitCount)) best = &e, best_facts = *f;
    }
    bench::Require(best != nullptr, "an image of every group");
    ChosenImage c{folder + L"\\" + MakeSaveName(caption, i + 1) + L".png", {}, {}};
    if (best_facts.png)
      c.stored.assign(best->Image().begin(), best->Image().end());
    else
      c.pixels = DecodeStoredIconImage(best->Image());
    chosen.push_back(std::move(c));
  }
  std::sort(chosen.begin(), chosen.end(), [](const ChosenImage& a, const ChosenImage& b) { return a.path < b.path; });
  return chosen;
}

// Save all as PNG pictures (largest) against the same encoder writing the
// same images in a bare loop (each image found and decoded beforehand; timed,
// a stored PNG's bytes or the encoder's, created, written, closed), and the
// saved bytes through the whole-file writer alone. Rounds as above, each run
// checked to have rewritten all 1000 files with the first save's bytes.
void ComparePngSaveWithBareEncoding(TFormKelmar* form, bench::BenchServices& services) {
  const std::wstring& folder = services.folder;
  const bench::NamedFiles reference = bench::ReadFilesIn(folder, L".png");
  bench::Require(reference.size() == 1000, "1000 PNG files from the first save");
  const std::vector<ChosenImage> chosen = LargestImages(form, folder);
  size_t stored = 0;
  for (const ChosenImage& c : chosen) stored += !c.stored.empty();
  Way ways[] = {
      SaveAllWay(form, services),
      {"  same encoder, same images, bare loop", [&] {
         for (const ChosenImage& c : chosen) WritePlainFile(c.path, c.stored.empty() ? EncodePng(c.pixels) : c.stored);
       }, {}},
      WholeFileWay("  saved bytes, whole-file writer alone", reference),
  };
  std::printf("(%zu of the 1000 largest images are stored as PNG)\n", stored);
  const std::vector<double> m = RunInRounds(ways, reference, folder, L".png", "PNG pictures (largest)", "bare loop");
  std::printf("  ratio save all / whole-file writer alone: %.2f\n", m[0] / m[2]);
}

}  // namespace

int main() {
  bench::StartProgram(L"Kelmar");
  bench::BenchServices services;
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
  // Each drop starts from an empty form, so the full lists afterwards are
  // this drop's work.
  auto empty_form = [&] {
    form->ListView1->Clear();
    form->LargeImage->Clear();
    form->SmallImage->Clear();
  };
  auto require_full = [&](int items, const char* what) {
    bench::Require(form->ListView1->Count() == items && form->LargeImage->Count() == items &&
                       form->SmallImage->Count() == items,
                   what);
  };
  std::vector<double> drops;
  for (int run = 0; run < 5; ++run) {
    empty_form();
    drops.push_back(bench::Time([&] {
      DropFiles(form->Handle(), files);
      PumpMessages();
    }));
    require_full(1000, "the drop filled the list and both image lists with 1000 icons");
  }
  const bench::Timing batch = bench::Summarise(drops);
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
  bench::Require(system_icons == 1000, "the system's extraction gave the 1000 icons");
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
  std::vector<double> other_drops;
  for (int run = 0; run < 3; ++run) {
    empty_form();
    other_drops.push_back(bench::Time([&] { DropFiles(form->Handle(), other_files); }));
    require_full(300, "the drop of 300 files of other types filled the lists");
  }
  bench::Report("intake: 300 files of other types", bench::Summarise(other_drops), 300, "files");
  empty_form();
  DropFiles(form->Handle(), files);
  require_full(1000, "the batch to save");

  // The first save makes the names; every timed run replaces them.
  form->BTNSaveAllClick();
  CompareSaveWithBareWriting(form, services, L".ico", "icon files");
  form->CombPicType->SetItemIndex(1);
  form->BTNSaveAllClick();
  CompareSaveWithBareWriting(form, services, L".bmp", "bitmap files");
  form->CombPicType->SetItemIndex(3);
  form->BTNSaveAllClick();
  ComparePngSaveWithBareEncoding(form, services);
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
  int extracted = 0;
  bench::Timing per_index = bench::Measure(3, [&] {
    for (UINT i = 0; i < 184; ++i)
      if (HICON icon = ExtractIconW(GetModuleHandleW(nullptr), shell32.c_str(), i)) DestroyIcon(icon), ++extracted;
  });
  bench::Require(extracted == 3 * 184, "ExtractIconW gave each of shell32's 184 icons");
  bench::Report("ExtractIconW per index (shell32)", per_index, 184, "icons");
  std::printf("ratio: batch intake is %.1fx the per-index extraction alone\n",
              (1000 / batch.median) / (184 / per_index.median));

  delete form;
  OleUninitialize();
  return 0;
}
