// Where a 1000-icon intake spends its time, phase by phase, next to the whole
// drop on the real form and the system's extraction of the same icons; and
// the process's memory with a full batch, batch after batch.
//
// Every round times each phase once, in the order of the intake, so that the
// machine's other load weighs on all of them alike; the figures are medians
// over the rounds.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/form_kelmar.h"
#include "app/icon_source.h"
#include "bench/win/harness.h"
#include "framework/application.h"
#include "win/shell_files.h"

using namespace kelmar;
using kelmar::bench::PumpMessages;
using kelmar::test::DropFiles;
using kelmar::test::SystemFile;

namespace {

struct Memory {
  double resident_mb, private_mb;
};

Memory ProcessMemory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
  return {counters.WorkingSetSize / 1048576.0, counters.PrivateUsage / 1048576.0};
}

// The files' whole bytes, read and dropped: what the disk (or its cache)
// gives at best.
size_t ReadWhole(const std::vector<std::wstring>& files) {
  size_t total = 0;
  std::vector<char> buffer;
  for (const auto& path : files) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    buffer.resize(size_t(size.QuadPart));
    DWORD read = 0;
    ReadFile(h, buffer.data(), DWORD(buffer.size()), &read, nullptr);
    CloseHandle(h);
    total += read;
  }
  return total;
}

struct Phases {
  std::vector<double> read_whole, read_parse, decode, draw, items, paint, drop, system;
};

void Line(const char* name, const std::vector<double>& seconds, double whole) {
  const bench::Timing t = bench::Summarise(seconds);
  std::printf("%-44s %7.1f ms  (%.1f .. %.1f)  %5.2f of the drop\n", name, t.median * 1000, t.fastest * 1000,
              t.slowest * 1000, t.median / whole);
}

}  // namespace

int main() {
  bench::StartProgram(L"Kelmar");
  const Memory at_start = ProcessMemory();
  auto* form = Application().CreateForm<TFormKelmar>();
  form->Show();
  PumpMessages();
  const Memory empty_form = ProcessMemory();

  // 5 x 184 + 8 x 10 = 1000 icons.
  std::vector<std::wstring> files(5, SystemFile(L"shell32.dll"));
  for (int i = 0; i < 8; ++i) files.push_back(SystemFile(L"comdlg32.dll"));

  TListView* list = form->ListView1;
  // Memory first, before the rounds below leave freed blocks in the heap:
  // the same batch dropped again and again.
  std::printf("memory (MB, resident / private): at start %.1f / %.1f, empty form %.1f / %.1f\n", at_start.resident_mb,
              at_start.private_mb, empty_form.resident_mb, empty_form.private_mb);
  for (int batch = 1; batch <= 10; ++batch) {
    DropFiles(form->Handle(), files);
    PumpMessages();
    const Memory m = ProcessMemory();
    std::printf("  after batch %2d: %.1f / %.1f (%d items)\n", batch, m.resident_mb, m.private_mb, list->Count());
  }
  const int large_size = form->LargeImage->Width(), small_size = form->SmallImage->Width();
  Phases p;
  const int rounds = 7;
  size_t whole_bytes = 0;
  for (int round = 0; round < rounds; ++round) {
    size_t read = 0;
    p.read_whole.push_back(bench::Time([&] { read = ReadWhole(files); }));
    bench::Require(read > 0 && (round == 0 || read == whole_bytes), "the files read whole, the same bytes each round");
    whole_bytes = read;

    // Reading and parsing: the groups with every image's bytes.
    std::vector<FileIcons> icons;
    p.read_parse.push_back(bench::Time([&] {
      FileIcons::ReadScope one_buffer;
      for (const auto& path : files) icons.push_back(FileIcons::Read(path));
    }));
    int groups = 0;
    for (const auto& file : icons) groups += file.Count();
    bench::Require(groups == 1000, "the 1000 icon groups read");

    // Choosing and decoding what both lists show.
    std::vector<ExtractedIcon> large, small;
    p.decode.push_back(bench::Time([&] {
      const int bits = DisplayBits();
      for (const auto& file : icons)
        for (int i = 0; i < file.Count(); ++i) {
          large.push_back(ExtractGroupIcon(*file.Group(i), large_size, bits));
          small.push_back(OwnGroupIcon(*file.Group(i), small_size, bits));
        }
    }));
    bench::Require(large.size() == 1000 && std::all_of(large.begin(), large.end(), [](const auto& icon) { return bool(icon); }),
                   "an image of every icon decoded");

    // Drawing into fresh image lists of the form's sizes, in slices of 64.
    TImageList large_list(nullptr, "", large_size, large_size), small_list(nullptr, "", small_size, small_size);
    p.draw.push_back(bench::Time([&] {
      auto image = [](const ExtractedIcon& icon) {
        return TIconImage{icon.handle, icon.pixels ? &*icon.pixels : nullptr};
      };
      for (size_t first = 0; first < large.size(); first += 64) {
        std::vector<TIconImage> l, s;
        for (size_t i = first; i < std::min(first + 64, large.size()); ++i) {
          l.push_back(image(large[i]));
          s.push_back(image(small[i] ? small[i] : large[i]));
        }
        small_list.AddIcons(s);
        large_list.AddIcons(l);
      }
    }));
    bench::Require(large_list.Count() == 1000 && small_list.Count() == 1000, "1000 images in each list");

    // The list items, redraw held, on the form's list (emptied first).
    list->Clear();
    form->LargeImage->Clear();
    form->SmallImage->Clear();
    PumpMessages();
    std::vector<std::wstring> captions;
    for (size_t f = 0, n = 0; f < files.size(); ++f)
      for (int i = 0; i < icons[f].Count(); ++i) captions.push_back(std::to_wstring(++n) + L":" + files[f]);
    p.items.push_back(bench::Time([&] {
      TListView::UpdateScope no_redraw(*list);
      for (size_t i = 0; i < captions.size(); ++i) list->AddItem(captions[i], int(i));
    }));
    bench::Require(list->Count() == 1000, "1000 items in the list");
    // The list's paint once it is full (its images blank: the lists are empty).
    p.paint.push_back(bench::Time([&] { PumpMessages(); }));

    // The whole drop on the form: everything above, as the program does it.
    p.drop.push_back(bench::Time([&] {
      DropFiles(form->Handle(), files);
      PumpMessages();
    }));
    // The form's image lists were emptied above: full again, the drop did it.
    bench::Require(list->Count() == 1000 && form->LargeImage->Count() == 1000 && form->SmallImage->Count() == 1000,
                   "the drop filled the list and both image lists");

    // The system's extraction of the same icons alone (64 per call, the
    // handles destroyed again).
    int extracted = 0;
    p.system.push_back(bench::Time([&] {
      for (const auto& file : files)
        for (int first = 0;; first += 64) {
          HICON handles[64] = {};
          UINT ids[64] = {};
          UINT got = PrivateExtractIconsW(file.c_str(), first, large_size, large_size, handles, ids, 64, 0);
          for (UINT k = 0; k < got && k < 64; ++k)
            if (handles[k]) DestroyIcon(handles[k]), ++extracted;
          if (got < 64) break;
        }
    }));
    bench::Require(extracted == 1000, "the system's extraction gave the 1000 icons");
  }

  const double drop = bench::Summarise(p.drop).median;
  std::printf("1000 icons of 5 x shell32.dll and 8 x comdlg32.dll; medians of %d rounds, fastest .. slowest\n",
              rounds);
  Line("read the files whole (no parsing)", p.read_whole, drop);
  Line("read + parse (headers, sections, groups)", p.read_parse, drop);
  Line("choose and decode both lists' images", p.decode, drop);
  Line("draw into both image lists (slices of 64)", p.draw, drop);
  Line("insert 1000 list items (redraw held)", p.items, drop);
  Line("paint the full list", p.paint, drop);
  Line("whole drop on the form (drop -> painted list)", p.drop, drop);
  Line("system extraction alone, same icons", p.system, drop);
  std::printf("ratio drop / system extraction: %.2f\n", drop / bench::Summarise(p.system).median);

  delete form;
  OleUninitialize();
  return 0;
}
