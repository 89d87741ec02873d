// PNG pictures saved by the real form: the icon DLL of known pixels (one
// group per kind of image) comes out as the pixels its icons were drawn
// with, read back by the system's imaging component; a stored PNG image as
// the system's resource loader gives its bytes; sizes, names, the replace
// question, changed sources, damaged images and the items' tips.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app_fixture.h"
#include "base/little_endian.h"
#include "framework/wide.h"
#include "win/mouse_input.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;
using Rgba = std::array<int, 4>;

std::vector<uint8_t> ReadAll(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

// A PNG file as the system's imaging component decodes it: straight RGBA,
// rows top-down.
struct Picture {
  UINT width = 0, height = 0;
  std::vector<Rgba> pixels;
  Rgba At(UINT x, UINT y) const { return pixels[size_t(y) * width + x]; }
};
Picture DecodeWithWic(const std::wstring& path) {
  Picture p;
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                                 reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone, nullptr, 0,
                                      WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->GetSize(&p.width, &p.height))) {
    std::vector<uint8_t> bytes(size_t(p.width) * p.height * 4);
    if (SUCCEEDED(converter->CopyPixels(nullptr, p.width * 4, UINT(bytes.size()), bytes.data())))
      for (size_t i = 0; i < bytes.size(); i += 4) p.pixels.push_back({bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3]});
  }
  for (IUnknown* u : std::initializer_list<IUnknown*>{converter, frame, decoder, factory})
    if (u) u->Release();
  EXPECT_EQ(p.pixels.size(), size_t(p.width) * p.height) << Narrow(path);
  return p;
}

// Each pixel against a rule; colours only where it shows.
template <typename Rule>
void ExpectPixels(const Picture& p, UINT size, Rule rule, const char* what) {
  ASSERT_EQ(p.width, size) << what;
  ASSERT_EQ(p.height, size) << what;
  for (UINT y = 0; y < size; ++y)
    for (UINT x = 0; x < size; ++x) {
      const Rgba want = rule(int(x), int(y)), got = p.At(x, y);
      ASSERT_EQ(want[3], got[3]) << what << " alpha at " << x << "," << y;
      if (want[3]) {
        ASSERT_EQ(want, got) << what << " at " << x << "," << y;
      }
    }
}

// The 16 standard colours in the order the test icons' stripes use.
constexpr Rgba kVga[16] = {{0, 0, 0, 255},     {128, 0, 0, 255},     {0, 128, 0, 255},   {128, 128, 0, 255},
                           {0, 0, 128, 255},   {128, 0, 128, 255},   {0, 128, 128, 255}, {192, 192, 192, 255},
                           {128, 128, 128, 255}, {255, 0, 0, 255},   {0, 255, 0, 255},   {255, 255, 0, 255},
                           {0, 0, 255, 255},   {255, 0, 255, 255},   {0, 255, 255, 255}, {255, 255, 255, 255}};

// The RT_ICON bytes of the image of a size in a group of a library, as the
// system's loader gives them.
std::vector<uint8_t> LoadedImage(const std::wstring& library, UINT group, int size) {
  std::vector<uint8_t> out;
  HMODULE module = LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return out;
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(group), MAKEINTRESOURCEW(14));
  const auto* dir = found ? static_cast<const uint8_t*>(LockResource(LoadResource(module, found))) : nullptr;
  for (size_t i = 0, n = dir ? Le16(dir + 4) : 0; i < n && out.empty(); ++i) {
    const uint8_t* e = dir + 6 + 14 * i;
    if ((e[0] ? e[0] : 256) != size) continue;
    HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(Le16(e + 12)), MAKEINTRESOURCEW(3));
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, image)));
    out.assign(bytes, bytes + SizeofResource(module, image));
  }
  FreeLibrary(module);
  return out;
}

class PngSaveTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    kinds = WinePath(KELMAR_TESTKINDS_DLL);
    DropFiles(form->Handle(), {kinds});
    // The groups in the system's order: KINDS (4 bits), 1 (8 bits), 2 (alpha),
    // 3 (PNG), 4 (48 x 48 only), 5 (mixed).
    ASSERT_EQ(form->ListView1->Count(), 6);
    // The size is offered only while PNG pictures are the type.
    EXPECT_FALSE(form->CombPngSize->Enabled());
    form->CombPicType->SetItemIndex(3);
    EXPECT_TRUE(form->CombPngSize->Enabled());
  }
  void TearDown() override {
    FormTest::TearDown();
    CoUninitialize();
  }
  // Save all at size choice `size` (0 largest, 1..6 256..16, 7 every size).
  std::wstring SaveAllAt(int size, const std::wstring& name) {
    form->CombPngSize->SetItemIndex(size);
    const std::wstring out = MakeTempFolder(name);
    services.folder_answers.push_back(out);
    Click(form->BTNSaveAll);
    return out;
  }
  std::wstring File(const std::wstring& folder, int item, const std::wstring& suffix = L"") const {
    return folder + L"\\" + std::to_wstring(item) + L"_kelmar_testkinds" + suffix + L".png";
  }
  std::wstring LastSummary() const {
    const auto boxes = services.Of("MessageBox");
    return boxes.empty() ? L"" : boxes.back().text;
  }

  std::wstring kinds;
};

// The pictures the kinds were drawn with (tests/data/testicons/make_kinds.sh).
Rgba Four32(int x, int y) { return x >= 24 && y >= 24 ? Rgba{0, 0, 0, 0} : kVga[x / 2]; }
Rgba Eight32(int x, int y) { return x < 4 && y < 4 ? Rgba{0, 0, 0, 0} : Rgba{x / 2 * 17, y / 2 * 17, 128, 255}; }
Rgba Alpha32(int x, int y) {
  if (y < 16) return {200, 100, 50, 8 * x + 7};
  return x < 4 && y >= 28 ? Rgba{0, 0, 0, 0} : Rgba{200, 100, 50, 255};
}
Rgba Big48(int x, int y) { return {5 * x, 5 * y, 0, 255}; }

}  // namespace

TEST_F(PngSaveTest, TheLargestImageOfEachKindComesOutWithItsOwnPixels) {
  const std::wstring out = SaveAllAt(0, L"png-largest");
  ASSERT_EQ(FilesIn(out).size(), 6u);
  ExpectPixels(DecodeWithWic(File(out, 1)), 32, Four32, "4 bits");
  ExpectPixels(DecodeWithWic(File(out, 2)), 32, Eight32, "8 bits");
  ExpectPixels(DecodeWithWic(File(out, 3)), 32, Alpha32, "32 bits with alpha");
  ExpectPixels(DecodeWithWic(File(out, 5)), 48, Big48, "48 x 48");
  // The stored 256 x 256 PNG, byte for byte as the system's loader has it.
  const std::vector<uint8_t> stored = LoadedImage(kinds, 3, 256);
  ASSERT_GT(stored.size(), 8u);
  EXPECT_EQ(ReadAll(File(out, 4)), stored);
  ExpectPixels(DecodeWithWic(File(out, 6)), 48, Big48, "mixed");
  EXPECT_EQ(LastSummary().rfind(L"6个文件被保存\r", 0), 0u);
}

TEST_F(PngSaveTest, AFixedSizeTakesThatImageOrReducesTheNearestLargerOne) {
  const std::wstring out32 = SaveAllAt(5, L"png-32");
  // Of 4, 8 and 32 bits at 32 x 32, the 32-bit image; a stored PNG as it is.
  ExpectPixels(DecodeWithWic(File(out32, 6)), 32, Alpha32, "mixed at 32");
  EXPECT_EQ(ReadAll(File(out32, 4)), LoadedImage(kinds, 3, 32));
  // 48 x 48 only: each pixel the average of the 1.5 x 1.5 pixels it covers;
  // red 5x and green 5y average to their value at the area's centre.
  const Picture reduced = DecodeWithWic(File(out32, 5));
  ASSERT_EQ(reduced.width, 32u);
  for (UINT y = 0; y < 32; ++y)
    for (UINT x = 0; x < 32; ++x) {
      const Rgba p = reduced.At(x, y);
      ASSERT_NEAR(p[0], 5 * (1.5 * x + 0.25), 1.0) << x << "," << y;
      ASSERT_NEAR(p[1], 5 * (1.5 * y + 0.25), 1.0) << x << "," << y;
      ASSERT_EQ(p[3], 255);
    }

  // 256 of a group of 48 at most is its 48.
  const std::wstring out256 = SaveAllAt(1, L"png-256");
  ExpectPixels(DecodeWithWic(File(out256, 5)), 48, Big48, "48 for 256");
}

TEST_F(PngSaveTest, EverySizeIsOneFileEachNamedWithItsSize) {
  const std::wstring out = SaveAllAt(7, L"png-every");
  const std::vector<std::wstring> expected = {
      L"1_kelmar_testkinds_16x16.png",   L"1_kelmar_testkinds_32x32.png", L"2_kelmar_testkinds_32x32.png",
      L"3_kelmar_testkinds_16x16.png",   L"3_kelmar_testkinds_32x32.png", L"4_kelmar_testkinds_256x256.png",
      L"4_kelmar_testkinds_32x32.png",   L"5_kelmar_testkinds_48x48.png", L"6_kelmar_testkinds_16x16.png",
      L"6_kelmar_testkinds_32x32.png",   L"6_kelmar_testkinds_48x48.png"};
  EXPECT_EQ(FilesIn(out), expected);
  EXPECT_EQ(ReadAll(File(out, 4, L"_256x256")), LoadedImage(kinds, 3, 256));
  ExpectPixels(DecodeWithWic(File(out, 6, L"_16x16")), 16, [](int, int) { return Rgba{0, 0, 255, 255}; }, "16");
  ExpectPixels(DecodeWithWic(File(out, 2, L"_32x32")), 32, Eight32, "8 bits");
  EXPECT_EQ(LastSummary().rfind(L"11个文件被保存\r", 0), 0u);
  EXPECT_NE(LastSummary().find(L"[9999]_[filename]_[宽]x[高].png"), std::wstring::npos);
  // The choice stays for the next save.
  EXPECT_EQ(form->CombPngSize->ItemIndex(), 7);
}

TEST_F(PngSaveTest, OneReplaceQuestionPerSave) {
  form->CombPngSize->SetItemIndex(7);
  for (int answer : {IDNO, IDYES}) {
    const std::wstring out = MakeTempFolder(answer == IDNO ? L"png-keep" : L"png-replace");
    WriteTextFile(File(out, 6, L"_16x16"), "mine");
    WriteTextFile(File(out, 4, L"_32x32"), "mine");
    services.calls.clear();
    services.folder_answers.push_back(out);
    services.message_box_answers.push_back(answer);
    Click(form->BTNSaveAll);
    const auto boxes = services.Of("MessageBox");
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"已有 2 个同名文件，是否替换？");
    EXPECT_EQ(FilesIn(out).size(), 11u);
    const bool kept = ReadAll(File(out, 6, L"_16x16")) == std::vector<uint8_t>{'m', 'i', 'n', 'e'};
    EXPECT_EQ(kept, answer == IDNO);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text.rfind(answer == IDNO ? L"9个文件被保存，2个已存在未替换\r" : L"11个文件被保存\r", 0), 0u);
  }
}

TEST_F(PngSaveTest, AChangedSourceIsNotWrittenAndCounted) {
  const std::wstring folder = MakeTempFolder(L"png-changed-src");
  const std::wstring copy = folder + L"\\kinds.dll";
  ASSERT_TRUE(CopyFileW(kinds.c_str(), copy.c_str(), FALSE));
  DropFiles(form->Handle(), {copy});
  ASSERT_EQ(form->ListView1->Count(), 6);
  std::vector<uint8_t> bytes = ReadAll(copy);
  bytes.push_back(0);  // one byte more: another file
  std::ofstream(fs::path(copy), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  const std::wstring out = SaveAllAt(0, L"png-changed");
  EXPECT_TRUE(FilesIn(out).empty());
  EXPECT_NE(LastSummary().find(L"6 个图标未保存"), std::wstring::npos) << Narrow(LastSummary());
}

// An icon file whose 256 x 256 PNG is damaged: the 32 x 32 PNG stands in and
// the damaged image is counted.
TEST_F(PngSaveTest, ADamagedImageIsCountedAndWhatDecodesIsSaved) {
  std::vector<uint8_t> ico = ReadAll(DataPath("testicons/png.ico"));
  ASSERT_EQ(Le16(ico, 4), 2u);
  const size_t at = Le32(ico, 6 + 16 + 12), size = Le32(ico, 6 + 16 + 8);
  for (size_t i = at + 60; i < at + size - 20; ++i) ico[i] ^= 0x33;
  const std::wstring folder = MakeTempFolder(L"png-damaged-src"), file = folder + L"\\damaged.ico";
  std::ofstream(fs::path(file), std::ios::binary).write(reinterpret_cast<const char*>(ico.data()), long(ico.size()));
  DropFiles(form->Handle(), {file});
  ASSERT_EQ(form->ListView1->Count(), 1);
  const std::wstring out = SaveAllAt(0, L"png-damaged");
  ASSERT_EQ(FilesIn(out), std::vector<std::wstring>{L"1_damaged.png"});
  EXPECT_EQ(ReadAll(out + L"\\1_damaged.png"), LoadedImage(kinds, 3, 32));
  EXPECT_NE(LastSummary().find(L"1 个图像已损坏"), std::wstring::npos) << Narrow(LastSummary());
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(PngSaveTest, EachItemsTipListsItsImages) {
  auto tip = [this](int item) { return form->ListView1->OnItemHint(item); };
  EXPECT_NE(tip(3).find(L"\r\n256×256 PNG · 32×32 PNG"), std::wstring::npos) << Narrow(tip(3));
  EXPECT_NE(tip(5).find(L"\r\n48×48 32位 · 32×32 32位 · 32×32 8位 · 32×32 4位 · 16×16 32位"), std::wstring::npos)
      << Narrow(tip(5));
  EXPECT_NE(tip(0).find(L"\r\n32×32 4位 · 16×16 4位"), std::wstring::npos) << Narrow(tip(0));
}

}  // namespace kelmar::test

namespace kelmar::test {

// At the limit the whole batch is saved in the chosen type and size.
TEST_F(FormTest, TheLimitSavesTheWholeBatchAsPngPicturesOfTheChosenSize) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring shell32 = SystemFile(L"shell32.dll"), out = MakeTempFolder(L"png-limit");
  form->CombPicType->SetItemIndex(3);
  form->CombPngSize->SetItemIndex(6);  // 16
  services.message_box_answers = {IDOK, IDOK};  // the limit, then the summary
  services.folder_answers.push_back(out);
  DropFiles(form->Handle(), std::vector<std::wstring>(6, shell32));  // 1104 icons
  const std::vector<std::wstring> files = FilesIn(out);
  EXPECT_EQ(files.size(), 1000u);
  ASSERT_EQ(services.Of("MessageBox").size(), 2u);
  EXPECT_EQ(services.Of("MessageBox")[1].text.rfind(L"1000个文件被保存", 0), 0u);
  EXPECT_EQ(form->ListView1->Count(), 104);
  for (const wchar_t* name : {L"1_shell32.png", L"500_shell32.png", L"1000_shell32.png"}) {
    const Picture p = DecodeWithWic(out + L"\\" + name);
    EXPECT_EQ(p.width, 16u) << Narrow(name);
    EXPECT_EQ(p.height, 16u) << Narrow(name);
  }
  CoUninitialize();
}

}  // namespace kelmar::test
