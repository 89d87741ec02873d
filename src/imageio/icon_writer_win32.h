#pragma once
// An icon handle written as a one-image icon file with 16 colours.
#include <windows.h>
#include <commctrl.h>

#include <array>

#include <cstdint>
#include <string>
#include <vector>

namespace kelmar {

// The icon file's bytes. The colour image is reduced to 4 bits per pixel by
// the system's own conversion (its 16 standard colours). Throws
// Error("Bitmap image is not valid") for an icon without a colour bitmap.
std::vector<uint8_t> IconFileBytes(HICON icon);

// The icon files of an image list's images, converted from the list's own
// colour and mask bitmaps once for all of them: the same bytes as
// IconFileBytes(ImageList_GetIcon(list, index, ILD_NORMAL)), without making
// and taking apart an icon per image (which under Wine costs more than
// writing the file). Where the list's bitmaps cannot be read that way, it
// makes the icon after all.
class ImageListIconFiles {
 public:
  explicit ImageListIconFiles(HIMAGELIST list);
  // Throws as IconFileBytes does.
  std::vector<uint8_t> Bytes(int index) const;

 private:
  HIMAGELIST list_;
  bool read_ = false;
  int height_ = 0;  // of the whole bitmaps, in rows
  size_t color_row_ = 0, mask_row_ = 0;
  std::array<uint32_t, 16> colors_{};
  std::vector<uint8_t> color_bits_, mask_bits_;  // bottom-up, as converted
};

// Builds the bytes, then writes them whole (WriteFileWhole); an existing file
// is replaced. Throws Error (invalid icon) or FileError (file).
void SaveIconToFile(HICON icon, const std::wstring& path);

}  // namespace kelmar
