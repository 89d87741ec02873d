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
  size_t sink = 0;
  bench::Report("icon file bytes (memory only)", bench::Measure(kRepetitions, [&] {
                  for (HICON icon : icons) sink += IconFileBytes(icon).size();
                }), kIcons, "icons");
  // The program's own path: the whole list's bitmaps read once, each file
  // made from the picture the list drew.
  TImageList list(nullptr, "LargeImage", 32, 32);
  list.AddIcons(icons);
  bench::Report("icon file bytes from a list (memory only)", bench::Measure(kRepetitions, [&] {
                  ImageListIconFiles files(list.Handle());
                  for (int i = 0; i < kIcons; ++i) sink += files.Bytes(i, list.DrawnImage(i)).size();
                }), kIcons, "icons");
  bench::Report("bitmap file bytes (memory only)", bench::Measure(kRepetitions, [&] {
                  for (HICON icon : icons) sink += BitmapFileBytes(RenderIconOnWhite(icon)).size();
                }), kIcons, "icons");
  bench::Report("save as .ico", bench::Measure(kRepetitions, [&] {
                  for (int i = 0; i < kIcons; ++i) SaveIconToFile(icons[i], name(i, L".ico"));
                }), kIcons, "files");
  bench::Report("save as .bmp", bench::Measure(kRepetitions, [&] {
                  for (int i = 0; i < kIcons; ++i) SaveIconAsBitmapFile(icons[i], name(i, L".bmp"));
                }), kIcons, "files");

  for (int i = 0; i < kIcons; ++i) {
    DeleteFileW(name(i, L".ico").c_str());
    DeleteFileW(name(i, L".bmp").c_str());
    DestroyIcon(icons[i]);
  }
  RemoveDirectoryW(folder.c_str());
  return sink == 0;
}
