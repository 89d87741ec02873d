// Writing 1000 icons as icon files and as bitmap files, the largest batch the
// program saves at once. Icons: shell32.dll's own, through a 32 x 32 image
// list as the program takes them.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/win/harness.h"
#include "framework/list_view.h"
#include "imageio/icon_bitmap_win32.h"
#include "imageio/icon_writer_win32.h"

namespace {

constexpr int kIcons = 1000;
constexpr int kRepetitions = 7;

std::vector<HICON> LoadIcons() {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring dll = std::wstring(system) + L"\\shell32.dll";
  const int count = int(UINT_PTR(ExtractIconW(GetModuleHandleW(nullptr), dll.c_str(), UINT(-1))));
  HIMAGELIST list = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 16);
  std::vector<HICON> icons;
  for (int i = 0; i < kIcons && count > 0; ++i) {
    HICON extracted = ExtractIconW(GetModuleHandleW(nullptr), dll.c_str(), UINT(i % count));
    const int index = ImageList_ReplaceIcon(list, -1, extracted);
    DestroyIcon(extracted);
    icons.push_back(ImageList_GetIcon(list, index, ILD_NORMAL));
  }
  ImageList_Destroy(list);
  return icons;
}

}  // namespace

int main() {
  using namespace kelmar;
  std::vector<HICON> icons = LoadIcons();
  if (icons.size() != size_t(kIcons)) {
    std::fprintf(stderr, "could not load %d icons\n", kIcons);
    return 1;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"kelmar-writers-bench";
  CreateDirectoryW(folder.c_str(), nullptr);
  auto name = [&](int i, const wchar_t* ext) { return folder + L"\\" + std::to_wstring(i + 1) + L"_shell32" + ext; };

  std::printf("%d icons of 32 x 32, %d runs each\n", kIcons, kRepetitions);
  // Every run must make kIcons non-empty results, or no figure is given.
  auto timed = [&](auto&& one) {
    return bench::Measure(kRepetitions, [&] {
      int made = 0;
      for (int i = 0; i < kIcons; ++i) made += one(i) > 0;
      bench::Require(made == kIcons, "the bytes of every icon");
    });
  };
  bench::Report("icon file bytes (memory only)", timed([&](int i) { return IconFileBytes(icons[i]).size(); }), kIcons,
                "icons");
  // The program's own path: the whole list's bitmaps read once, each file
  // made from the picture the list drew.
  TImageList list(nullptr, "LargeImage", 32, 32);
  list.AddIcons(icons);
  bench::Require(list.Count() == kIcons, "the icons in the image list");
  bench::Report("icon file bytes from a list (memory only)", bench::Measure(kRepetitions, [&] {
                  ImageListIconFiles files(list.Handle());
                  int made = 0;
                  for (int i = 0; i < kIcons; ++i) made += !files.Bytes(i, list.DrawnImage(i)).empty();
                  bench::Require(made == kIcons, "the bytes of every icon in the list");
                }), kIcons, "icons");
  bench::Report("bitmap file bytes (memory only)",
                timed([&](int i) { return BitmapFileBytes(RenderIconOnWhite(icons[i])).size(); }), kIcons, "icons");
  // Each save run rewrites the files of the run before (untimed: the first
  // one makes them); all of them must be written again, as many bytes.
  auto save = [&](const wchar_t* ext, auto&& write) {
    for (int i = 0; i < kIcons; ++i) write(i, name(i, ext));
    const bench::NamedFiles first = bench::ReadFilesIn(folder, ext);
    bench::Require(first.size() == size_t(kIcons), "one file per icon");
    std::vector<double> seconds;
    for (int run = 0; run < kRepetitions; ++run) {
      bench::SettleAndAge(first);
      seconds.push_back(bench::Time([&] {
        for (int i = 0; i < kIcons; ++i) write(i, name(i, ext));
      }));
      bench::Require(bench::RewroteAll(folder, ext, first), "every file written again with the same bytes");
    }
    return bench::Summarise(seconds);
  };
  bench::Report("save as .ico", save(L".ico", [&](int i, const std::wstring& path) { SaveIconToFile(icons[i], path); }),
                kIcons, "files");
  bench::Report("save as .bmp",
                save(L".bmp", [&](int i, const std::wstring& path) { SaveIconAsBitmapFile(icons[i], path); }), kIcons,
                "files");

  for (int i = 0; i < kIcons; ++i) {
    DeleteFileW(name(i, L".ico").c_str());
    DeleteFileW(name(i, L".bmp").c_str());
    DestroyIcon(icons[i]);
  }
  RemoveDirectoryW(folder.c_str());
  return 0;
}
