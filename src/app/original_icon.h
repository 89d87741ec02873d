#pragma once
// The original-icon output type: for a list entry, the icon file of the
// whole icon as its source holds it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/icon_source.h"
#include "imageio/pe_icons.h"

namespace kelmar {

// The bytes of an icon file (".ICO") as they are; throws FileError when it
// cannot be read.
std::vector<uint8_t> ReadIconFileBytes(const std::wstring& path);

// The sizes of the system's image lists up to 256 x 256, each once, largest
// first: the sizes the shell's icon of a file is had at.
std::vector<int> ShellIconSizes();

// The shell's icon of a file at every size the system's image lists offer,
// up to 256 x 256, each a 32-bit image with alpha, largest first. Throws
// Error("Bitmap image is not valid") when the shell has no icon for it.
std::vector<uint8_t> ShellIconFileBytes(const std::wstring& path);

// The originals of list entries, read again from their files when they are
// saved: a list keeps of a group its directory, not its images (those of a
// full batch are tens of megabytes). The file last read is kept for the
// entries from it that follow.
class OriginalIcons {
 public:
  // The original of the entry taken in from `path` as `origin` said: where
  // it shows a group (`group`, the directory kept, at `index` among the
  // file's groups), the group's images exactly as the file stores them;
  // else, for an icon file the list shows as its own picture, the file's
  // bytes (its readable images alone where some are cut); else the shell's
  // icon at every size, as the list shows it. Nothing where the file is no longer what it was when it was
  // taken in (changed, replaced or gone): what it holds now is not what the
  // entry shows. Throws FileError where an icon file cannot be read.
  std::optional<std::vector<uint8_t>> FileBytes(const std::wstring& path, const FileOrigin& origin,
                                                const IconGroup* group, int index);
  // The same original as a group of images with their bytes (an icon file
  // that cannot be read as one gives the shell's icon); nothing where
  // FileBytes gives nothing.
  std::optional<IconGroup> Images(const std::wstring& path, const FileOrigin& origin, const IconGroup* group,
                                  int index);

 private:
  // Reads the file (unless it was the last one read); true when it is as it
  // was at the intake.
  bool Unchanged(const std::wstring& path, const FileOrigin& origin);
  // The group at `index` of the file read, where its directory is the one
  // kept at the intake; null otherwise.
  std::shared_ptr<const IconGroup> SameGroup(const IconGroup& group, int index) const;

  FileIcons::ReadScope one_buffer_;
  std::wstring path_;
  std::optional<FileIcons> icons_;
};

}  // namespace kelmar
