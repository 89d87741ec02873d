#pragma once
// An icon handle written as a one-image icon file with 16 colours.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/image.h"

namespace kelmar {

// The icon file's bytes. The colour image, as the icon draws onto black, is
// reduced to the 16 standard colours (FourBitIconFromDrawn). Throws
// Error("Bitmap image is not valid") for an icon without a colour bitmap.
std::vector<uint8_t> IconFileBytes(HICON icon);

// The icon files of an image list's images, read from the list's own colour
// and mask bitmaps once for all of them, without making and taking apart an
// icon per image (which under Wine costs more than writing the file). Where
// the list's bitmaps cannot be read that way, it makes the icon after all.
class ImageListIconFiles {
 public:
  explicit ImageListIconFiles(HIMAGELIST list);
  // Image `index` with the list's mask; its colours are `drawn` (the image
  // as drawn onto black with its alpha, TImageList::DrawnImage) where that is
  // of the list's size, else the list's own. Throws as IconFileBytes does.
  std::vector<uint8_t> Bytes(int index, const Image& drawn) const;

 private:
  HIMAGELIST list_;
  bool read_ = false;
  int width_ = 0, height_ = 0;  // of the whole bitmaps
  std::vector<uint8_t> color_rows_, mask_rows_;  // 32 and 1 bits per pixel, top-down
};

// Builds the bytes, then writes them whole (WriteFileWhole); an existing file
// is replaced. Throws Error (invalid icon) or FileError (file).
void SaveIconToFile(HICON icon, const std::wstring& path);

}  // namespace kelmar
