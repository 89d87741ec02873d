#include "app/original_icon.h"

#include <commctrl.h>
#include <commoncontrols.h>
#include <shellapi.h>

#include <algorithm>
#include <tuple>

#include "app/icon_source.h"
#include "base/error.h"
#include "framework/dib_header.h"
#include "framework/handles.h"
#include "framework/wide.h"
#include "imageio/icon_group_file.h"
#include "framework/system_library.h"

namespace kelmar {

std::vector<uint8_t> ReadIconFileBytes(const std::wstring& path) {
  FileHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  auto fail = [&](DWORD code) { throw FileError("Cannot open file \"" + Narrow(path) + "\".", code); };
  if (!file || !GetFileSizeEx(file, &size)) fail(GetLastError());
  if (size.QuadPart > 0x7FFFFFFF) fail(ERROR_FILE_TOO_LARGE);
  std::vector<uint8_t> bytes(size_t(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr)) fail(GetLastError());
  if (read != bytes.size()) fail(ERROR_HANDLE_EOF);
  return bytes;
}

namespace {

// IImageList's interface ID ({46EB5926-582E-4017-9FDF-E8998DAA0950}); the
// cross tools' uuid library does not carry it.
constexpr IID kImageListId = {0x46EB5926, 0x582E, 0x4017, {0x9F, 0xDF, 0xE8, 0x99, 0x8D, 0xAA, 0x09, 0x50}};

// The icon's pixels, straight BGRA: the colour bitmap's alpha where it has
// any, else opaque where the mask is clear and transparent where it is set.
Image StraightPixels(HICON icon) {
  ICONINFO ii{};
  if (!GetIconInfo(icon, &ii)) return {};
  BitmapHandle color(ii.hbmColor), mask(ii.hbmMask);
  BITMAP bm{};
  if (!color || !GetObjectW(color, sizeof bm, &bm)) return {};
  const int w = bm.bmWidth, h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  if (w < 1 || h < 1 || w > 256 || h > 256) return {};
  Image image(w, h);
  BITMAPINFO info = TopDownDibInfo(w, h);
  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc || GetDIBits(dc, color, 0, UINT(h), image.Data(), &info, DIB_RGB_COLORS) != h) return {};
  bool alpha = false;
  for (int y = 0; y < h && !alpha; ++y)
    for (int x = 0; x < w; ++x) alpha = alpha || PixelA(image.At(x, y));
  if (!alpha) {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colors[2];
    } mask_info{TopDownDibHeader(w, h, 1), {}};
    const size_t row = (size_t(w) + 31) / 32 * 4;
    std::vector<uint8_t> bits(row * size_t(h));
    if (GetDIBits(dc, mask, 0, UINT(h), bits.data(), reinterpret_cast<BITMAPINFO*>(&mask_info), DIB_RGB_COLORS) != h)
      return {};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool clear = bits[size_t(y) * row + size_t(x) / 8] & (0x80 >> (x % 8));
        image.At(x, y) = clear ? 0 : image.At(x, y) | 0xFF000000u;
      }
  }
  return image;
}

}  // namespace

namespace {

// Each of the system's image lists (jumbo, extra large, large, small) of a
// size not had before, up to 256 x 256: the function gets the list and its
// size.
template <typename PerList>
void ForEachShellImageList(PerList per_list) {
  std::vector<int> sizes;
  for (int kind : {SHIL_JUMBO, SHIL_EXTRALARGE, SHIL_LARGE, SHIL_SMALL}) {
    IImageList* list = nullptr;
    if (FAILED(late::SHGetImageList(kind, kImageListId, reinterpret_cast<void**>(&list))) || !list) continue;
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(list), &cx, &cy);
    if (cx >= 1 && cx <= 256 && std::find(sizes.begin(), sizes.end(), cx) == sizes.end() &&
        per_list(reinterpret_cast<HIMAGELIST>(list), cx))
      sizes.push_back(cx);
    list->Release();
  }
}

}  // namespace

std::vector<int> ShellIconSizes() {
  std::vector<int> sizes;
  ForEachShellImageList([&](HIMAGELIST, int size) {
    sizes.push_back(size);
    return true;
  });
  std::sort(sizes.rbegin(), sizes.rend());
  return sizes;
}

std::vector<uint8_t> ShellIconFileBytes(const std::wstring& path) {
  SHFILEINFOW info{};
  // Where the shell cannot take the path itself, the icon of its type.
  if (!late::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX) &&
      !late::SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                      SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES))
    throw Error("Bitmap image is not valid");
  std::vector<Image> images;
  std::vector<std::vector<uint8_t>> encoded;
  ForEachShellImageList([&](HIMAGELIST list, int) {
    IconHandle icon(ImageList_GetIcon(list, info.iIcon, ILD_TRANSPARENT));
    Image pixels = icon ? StraightPixels(icon) : Image();
    if (pixels.IsEmpty()) return false;
    encoded.push_back(EncodeIconImage32(pixels));
    images.push_back(std::move(pixels));
    return true;
  });
  std::vector<IconFileImage> entries;
  for (size_t i = 0; i < images.size(); ++i)
    entries.push_back({uint8_t(images[i].Width()), uint8_t(images[i].Height()), 0, 1, 32, encoded[i]});
  return BuildIconFileOfImages(entries);
}

namespace {

// The same directory: name, ID and every entry's stored values, in order.
bool SameDirectory(const IconGroup& a, const IconGroup& b) {
  auto values = [](const IconEntry& e) {
    return std::tuple(e.width, e.height, e.colorCount, e.planes, e.bitCount, e.bytesInRes, e.id);
  };
  return a.name == b.name && a.id == b.id &&
         std::equal(a.entries.begin(), a.entries.end(), b.entries.begin(), b.entries.end(),
                    [&](const IconEntry& x, const IconEntry& y) { return values(x) == values(y); });
}

}  // namespace

std::optional<std::vector<uint8_t>> OriginalIcons::FileBytes(const std::wstring& path, const FileOrigin& origin,
                                                             const IconGroup* group, int index) {
  if (!Unchanged(path, origin)) return std::nullopt;
  if (group) {
    std::shared_ptr<const IconGroup> now = SameGroup(*group, index);
    if (!now) return std::nullopt;
    return BuildIconGroupFile(*now);
  }
  if (UpperExtension(path) == L".ICO") {
    // Only a picture the list could show (the intake made its icon the same way).
    if (std::shared_ptr<const IconGroup> picture = icons_->Picture(); picture && ExtractGroupIcon(*picture)) {
      // The file's own bytes where every image it lists was read whole; else
      // the images that were, as the list shows them (a cut file would
      // otherwise be written as it is and pass for an icon).
      std::vector<uint8_t> bytes = ReadIconFileBytes(path);
      if (bytes.size() >= 6 && size_t(bytes[4] | bytes[5] << 8) == picture->entries.size()) return bytes;
      return BuildIconGroupFile(*picture);
    }
    // No image of it is readable: the list shows the shell's icon for it, as
    // for any other file, and that is what is written.
  }
  return ShellIconFileBytes(path);
}

std::optional<IconGroup> OriginalIcons::Images(const std::wstring& path, const FileOrigin& origin,
                                               const IconGroup* group, int index) {
  if (!Unchanged(path, origin)) return std::nullopt;
  if (group) {
    std::shared_ptr<const IconGroup> now = SameGroup(*group, index);
    if (!now) return std::nullopt;
    return *now;
  }
  if (UpperExtension(path) == L".ICO")
    if (std::optional<IconGroup> own = ReadIconFile(ReadIconFileBytes(path)); own && !own->entries.empty()) return own;
  std::optional<IconGroup> shell = ReadIconFile(ShellIconFileBytes(path));
  if (!shell) throw Error("Bitmap image is not valid");
  return shell;
}

bool OriginalIcons::Unchanged(const std::wstring& path, const FileOrigin& origin) {
  if (!icons_ || path_ != path) {
    icons_.reset();  // the last file's images go before the next one's come
    icons_ = FileIcons::Read(path);
    path_ = path;
  }
  return icons_->Origin() == origin;
}

std::shared_ptr<const IconGroup> OriginalIcons::SameGroup(const IconGroup& group, int index) const {
  std::shared_ptr<const IconGroup> now = icons_->Group(index);
  return now && SameDirectory(*now, group) ? now : nullptr;
}

}  // namespace kelmar
