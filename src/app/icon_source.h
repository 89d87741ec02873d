#pragma once
// Where icons come from: the icon count rule, the icons of an executable read
// from its resources, and the shell's icon for any file.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "imageio/pe_icons.h"

namespace kelmar {

// The file's extension (from the last "." after the last "\", "/" or ":",
// dot included), upper-cased; empty when there is none.
std::wstring UpperExtension(const std::wstring& path);
// ".EXE", ".OCX", ".DLL", ".MUN" and ".ICL" (16-bit icon libraries) files
// hold icons of their own.
bool IsExecutableType(const std::wstring& path);
// The files the open dialog offers and a folder is searched for: those that
// hold icons of their own, cursor files and executables by another name
// (".CPL", ".SCR").
bool IsIconSourceType(const std::wstring& path);
// The path made full from the current folder where it is relative, in the
// ordinary form; as it is where the system cannot make it full.
std::wstring FullPath(const std::wstring& path);
// A folder and a name in it (a drive root has its backslash already).
std::wstring InFolder(const std::wstring& folder, const std::wstring& name);
// The form of a path the file functions accept at any length ("\\?\C:\...",
// "\\?\UNC\server\share\..."); relative paths are made absolute first.
std::wstring LongPath(const std::wstring& path);

// A file as it was when read: which file (the one named, or the resource
// file it redirects to), its size and its last write time (none where it
// could not be opened). Two reads that give the same origin read the same
// bytes, short of a change that keeps both size and time.
struct FileOrigin {
  std::wstring path;
  std::optional<uint64_t> size, written;
  bool operator==(const FileOrigin&) const = default;
};

// The icon groups an executable-type file holds, read from its bytes (where
// a system library keeps none, those of its resource file under the Windows
// folder); none for files that are not readable executables (damaged
// headers, empty, text): the system's extraction is never asked about
// those. Any other file gives one item, its own picture where it has one.
class FileIcons {
 public:
  static FileIcons Read(const std::wstring& path);
  // While a scope lives on the thread, the files read one after the other
  // share one buffer for their bytes instead of fresh memory each: under
  // Wine every fresh block above about 128 KB is mapped anew and each of its
  // pages faults when first touched, which cost more than the reading
  // itself. The buffer goes with the outermost scope.
  class ReadScope {
   public:
    ReadScope();
    ~ReadScope();
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;
  };
  // How many list entries the file gives: its groups, else 1 (the shell
  // icon stands in), never 0.
  int Count() const { return groups_.empty() ? 1 : int(groups_.size()); }
  // Group i, null where the file has none (shared: the list keeps them).
  std::shared_ptr<const IconGroup> Group(int i) const {
    return i >= 0 && size_t(i) < groups_.size() ? groups_[size_t(i)] : nullptr;
  }
  // The picture of a file of one item, shown as the shell shows it on
  // Windows: an icon or cursor file's images, the first group of an
  // executable by its content (".CPL", ".SCR", ...). Null for any other file,
  // and for one whose images are all missing or cut.
  std::shared_ptr<const IconGroup> Picture() const { return picture_; }
  // The file the groups or the picture came from, as it was then.
  const FileOrigin& Origin() const { return origin_; }
  // A file that holds icons of its own by its type (an executable, an icon
  // or cursor file), opened, whose icons could not be read at all: damaged
  // or cut headers or directory, no image whole. The shell's icon stands in.
  bool Damaged() const { return damaged_; }

 private:
  std::vector<std::shared_ptr<const IconGroup>> groups_;
  std::shared_ptr<const IconGroup> picture_;
  FileOrigin origin_;
  bool damaged_ = false;
};

// FileIcons::Read(path).Count().
int IconCount(const std::wstring& path);

// A group's icon of size x size (0: the system's large icon size), as the
// system's extraction at that size gives it: decoded here where the
// best-matching entry is a DIB of that size, else made by the system from
// that entry's bytes (PNG images, other sizes, monochrome). Neither where the
// entry is missing or malformed.
struct ExtractedIcon {
  std::optional<DecodedIcon> pixels;
  IconHandle handle;
  explicit operator bool() const { return pixels || handle; }
};
// The display's bits per pixel: the depth the best match is chosen for.
// Asking the display costs about 0.1 ms under Wine, more than decoding an
// icon: a caller taking in many icons asks once and passes it on
// (`displayBits`; 0 asks the display).
int DisplayBits();
ExtractedIcon ExtractGroupIcon(const IconGroup& group, int size = 0, int displayBits = 0);
// The group's own artwork for size x size: ExtractGroupIcon where the
// best-matching entry is of exactly that size; nothing where the group has
// none (the caller scales another size).
ExtractedIcon OwnGroupIcon(const IconGroup& group, int size, int displayBits = 0);

// The icon the shell shows for the file, 16 x 16 or 32 x 32. Where the shell
// has none for the path (too long for it, say), the icon of the file's type
// by its extension, and failing that the system's application icon: never
// null.
IconHandle GetShellIcon(const std::wstring& path, bool small);

}  // namespace kelmar
