#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "app_fixture.h"
#include "win/real_program.h"
#include "framework/dib_header.h"
#include "framework/wide.h"

namespace kelmar::test {

namespace {

class AppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
  void TearDown() override { OleUninitialize(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

std::wstring WinePath(const std::string& unix_path) {
  // Linux paths are reached through Wine's Z: drive.
  std::wstring p = L"Z:" + Wide(unix_path);
  for (auto& c : p)
    if (c == L'/') c = L'\\';
  return p;
}

std::wstring DataPath(const std::string& relative) { return WinePath(std::string(KELMAR_TEST_DATA) + "/" + relative); }

namespace {

// A white 32-bit top-down canvas; `draw` paints into its DC.
template <typename Draw>
std::vector<uint32_t> DrawOnWhite(int size, Draw draw) {
  const BITMAPINFO bi = TopDownDibInfo(size, size);
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  std::fill_n(static_cast<uint32_t*>(bits), size * size, 0x00FFFFFFu);
  draw(dc);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + size * size);
  for (auto& p : pixels) p &= 0x00FFFFFFu;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

}  // namespace

std::vector<uint32_t> ImageListPixels(HIMAGELIST list, int index, int size) {
  return DrawOnWhite(size, [&](HDC dc) { ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL); });
}

std::vector<uint32_t> ListedIconPixels(HICON icon) {
  TImageList reference(nullptr, "reference", 32, 32);
  reference.AddIcons(std::vector<HICON>{icon});
  return ImageListPixels(reference.Handle(), 0, 32);
}

void ExpectQuadrants(HIMAGELIST list, int index) {
  auto large = ImageListPixels(list, index, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const uint32_t want = (x < 4 && y < 4) ? 0xFFFFFF : y < 16 ? (x < 16 ? 0xFF0000 : 0x00FF00) : (x < 16 ? 0x0000FF : 0xFFFF00);
      ASSERT_EQ(large[size_t(y * 32 + x)], want) << "image " << index << " at " << x << "," << y;
    }
}

void ExpectNavy(HIMAGELIST list, int index) {
  auto navy = ImageListPixels(list, index, 32);
  EXPECT_EQ(std::count(navy.begin(), navy.end(), 0x000080u), 32 * 32) << "image " << index;
}

std::vector<uint32_t> IconPixels(HICON icon, int size) {
  return DrawOnWhite(size, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL); });
}

std::vector<IconHandle> SystemIcons(const std::wstring& path, int first, int count) {
  std::vector<HICON> raw(size_t(count), nullptr);
  std::vector<UINT> ids(raw.size(), 0);
  int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  UINT got = raw.empty() ? 0 : PrivateExtractIconsW(path.c_str(), first, cx, cy, raw.data(), ids.data(), UINT(count), 0);
  std::vector<IconHandle> icons;
  for (size_t i = 0; i < raw.size(); ++i)
    icons.emplace_back(i < got && raw[i] != INVALID_HANDLE_VALUE ? raw[i] : nullptr);
  return icons;
}

void WriteTextFile(const std::wstring& path, const std::string& text) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(f);
}

std::wstring MakeTempFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::filesystem::path folder = std::filesystem::path(temp) / (L"kelmar-test-" + name);
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder);
  return folder.wstring();
}


}  // namespace kelmar::test
