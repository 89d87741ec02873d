#pragma once
// Icons of a batch into a folder: what each entry keeps from its intake, the
// files' names, the bytes of each output type, files already there and
// originals whose source changed. The window's Save commands and the command
// line's save both take in and write through here, so that the same files
// give the same saved bytes either way.
#include <windows.h>

#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/icon_source.h"
#include "app/save_report.h"
#include "framework/list_view.h"
#include "imageio/file_output_win32.h"
#include "imageio/png_icon.h"

namespace kelmar {

enum class TOutputType { otIcon, otBitmap, otOriginal, otPng };

// What a save needs of one entry besides its image: the file it was taken
// from, its running number (the first part of its name), the group it shows
// (its directory with the bytes of only its own 16-colour images of the saved
// sizes; null for a shell icon or a file of one item), its index in its file,
// the file as it was read, and its images' sizes, largest first (empty for a
// shell icon).
struct TSaveItem {
  std::wstring path;
  int number = 0;
  std::shared_ptr<const IconGroup> group;
  int fileIndex = 0;
  std::shared_ptr<const FileOrigin> origin;
  std::vector<std::pair<int, int>> sizes;
};

// Entry `index` of the file at `path` read, taken in as number `number`: its save item,
// the group or picture it shows (null where the shell's icon stands in), and
// its icons for a list of `largeSize` (the shown group's icon) and one of
// `smallSize` (the group's own artwork of that size; none where it has none
// and the large one is scaled). The shell's icon (small with `smallShell`)
// where the group gives none; `damaged` where it had a group or picture
// that gave none.
struct TTakenIcon {
  TSaveItem item;
  std::shared_ptr<const IconGroup> shown;
  ExtractedIcon large, small;
  bool damaged = false;
};
TTakenIcon TakeIcon(const FileIcons& icons, const std::wstring& path, int index, int number,
                    std::shared_ptr<const FileOrigin> origin, int largeSize, int smallSize, bool smallShell,
                    int displayBits);

// An icon as an image list takes it.
inline TIconImage ListImage(const ExtractedIcon& icon) {
  return {icon.handle, icon.pixels ? &*icon.pixels : nullptr};
}

// The file name of a saved entry without folder and extension: n, "_" and the
// base name of the path (also of a list item's caption: "3:C:\Tools\app.exe",
// 3 -> "3_app").
std::wstring MakeSaveName(const std::wstring& caption, int number);

// One save into one folder: entries are added, then written at once; a
// writer of many entries may write them in turns (Write forgets what it
// wrote). The temporary files' folder goes with the saver.
class TIconSaver {
 public:
  // `folder` without a trailing backslash; its names are read here, once.
  TIconSaver(std::wstring folder, TOutputType type, PngSizeChoice pngSize);

  // The names' pattern after "[9999]_[filename]" in a summary: the sizes'
  // part of pictures of every size, and the extension.
  std::wstring NamePattern() const;
  // The files of `item`, whose image is `image` of the list written from:
  // one, or with pictures of every size one per size of its icon. The item
  // must live until the next Write.
  void Add(int image, const TSaveItem& item);
  // Files added whose names are in the folder already.
  int Existing() const { return existing_; }

  // Writes the files added from `images` (32 x 32 or 16 x 16), each whole;
  // those already there only with `replace` (else counted as kept). An entry
  // that cannot be made or written is counted in `report` and the others are
  // written all the same. True when every one of them is now in the folder
  // (or could not be made from its damaged images, which no save can do).
  bool Write(const TImageList& images, bool replace, TSaveReport& report);

 private:
  struct TEntry {
    int image;
    const TSaveItem* item;
    std::wstring name;
    bool exists;
    std::pair<int, int> size;
  };
  void AddEntry(int image, const TSaveItem& item, std::wstring name, std::pair<int, int> size);

  std::wstring folder_;
  TOutputType type_;
  PngSizeChoice png_size_;
  bool every_size_;
  const wchar_t* extension_;
  // The folder's names, upper-cased as the file system compares them.
  std::set<std::wstring> present_;
  std::vector<TEntry> entries_;
  int existing_ = 0;
  std::optional<std::vector<std::pair<int, int>>> shell_sizes_;
  WholeFileWriter files_;
};

}  // namespace kelmar
