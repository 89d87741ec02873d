#include "app/icon_save.h"

#include <algorithm>

#include "app/original_icon.h"
#include "framework/handles.h"
#include "imageio/four_bit_icon.h"
#include "imageio/icon_bitmap_win32.h"
#include "imageio/icon_writer_win32.h"

namespace kelmar {

namespace {

// The sizes the saved files are drawn at, whatever the display's scale.
constexpr int kSavedSizes[] = {16, 32};

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), DWORD(text.size()));
  return text;
}

// The names in a folder, upper-cased as the file system compares them; one
// search instead of one query per file.
std::set<std::wstring> UpperNamesIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found{};
  FindHandle find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return names;
  do {
    names.insert(Upper(found.cFileName));
  } while (FindNextFileW(find, &found));
  return names;
}

}  // namespace

TTakenIcon TakeIcon(const FileIcons& icons, const std::wstring& path, int index, int number,
                    std::shared_ptr<const FileOrigin> origin, int largeSize, int smallSize, bool smallShell,
                    int displayBits) {
  TTakenIcon taken;
  std::shared_ptr<const IconGroup> group = icons.Group(index);
  // A file of one item shows its own picture; the original saved stays the file's.
  std::shared_ptr<const IconGroup> shown = group ? group : icons.Picture();
  if (shown) taken.large = ExtractGroupIcon(*shown, largeSize, displayBits);
  if (!taken.large) {
    taken.damaged = shown != nullptr;
    group.reset();
    shown.reset();
    taken.large.handle = GetShellIcon(path, smallShell);
  }
  // The small list shows the group's own small artwork where it has one.
  if (shown) {
    taken.small = OwnGroupIcon(*shown, smallSize, displayBits);
    taken.item.sizes = GroupImageSizes(*shown);
  }
  taken.item.path = path;
  taken.item.number = number;
  // Of the group only what the icon output takes: the originals' bytes are
  // read again when saved.
  if (group) taken.item.group = std::make_shared<const IconGroup>(FourBitArtworkOnly(*group, kSavedSizes));
  taken.item.fileIndex = index;
  taken.item.origin = std::move(origin);
  taken.shown = std::move(shown);
  return taken;
}

std::wstring MakeSaveName(const std::wstring& caption, int number) {
  std::wstring name = caption;
  size_t separator = name.find_last_of(L"\\:");
  size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && (separator == std::wstring::npos || dot > separator)) name.erase(dot);
  separator = name.find_last_of(L"\\:");
  if (separator != std::wstring::npos) name.erase(0, separator + 1);
  return std::to_wstring(number) + L"_" + name;
}

TIconSaver::TIconSaver(std::wstring folder, TOutputType type, PngSizeChoice pngSize)
    : folder_(std::move(folder)),
      type_(type),
      png_size_(pngSize),
      every_size_(type == TOutputType::otPng && pngSize.kind == PngSizeChoice::kEvery),
      extension_(type == TOutputType::otBitmap ? L".bmp" : type == TOutputType::otPng ? L".png" : L".ico"),
      present_(UpperNamesIn(folder_)) {}

std::wstring TIconSaver::NamePattern() const { return (every_size_ ? L"_[宽]x[高]" : L"") + std::wstring(extension_); }

void TIconSaver::AddEntry(int image, const TSaveItem& item, std::wstring name, std::pair<int, int> size) {
  const bool exists = present_.count(Upper(name)) > 0;
  existing_ += exists;
  entries_.push_back({image, &item, std::move(name), exists, size});
}

void TIconSaver::Add(int image, const TSaveItem& item) {
  const std::wstring base = MakeSaveName(item.path, item.number);
  if (!every_size_) {
    AddEntry(image, item, base + extension_, {});
    return;
  }
  // The sizes its icon held at the intake; a shell icon's are the system's.
  const std::vector<std::pair<int, int>>* sizes = &item.sizes;
  if (sizes->empty()) {
    if (!shell_sizes_) {
      shell_sizes_.emplace();
      for (int size : ShellIconSizes()) shell_sizes_->push_back({size, size});
    }
    sizes = &*shell_sizes_;
  }
  for (const auto& [w, h] : *sizes)
    AddEntry(image, item, base + L"_" + std::to_wstring(w) + L"x" + std::to_wstring(h) + extension_, {w, h});
}

bool TIconSaver::Write(const TImageList& images, bool replace, TSaveReport& report) {
  const int written_before = report.WrittenCount();
  // Entries of every size whose image could not be decoded (counted in the
  // report): saved as far as they can be, no save can do more.
  size_t unmade = 0;
  std::optional<OriginalIcons> originals;
  if (type_ == TOutputType::otOriginal || type_ == TOutputType::otPng) originals.emplace();
  // The icon files converted from the list's bitmaps at once.
  std::optional<ImageListIconFiles> icon_files;
  if (type_ == TOutputType::otIcon) icon_files.emplace(images.Handle());
  // The bytes of an entry's file in the chosen type; nothing where an
  // original can no longer be had (anything else under its name would pass
  // for it).
  auto file_bytes = [&](const TEntry& entry) -> std::optional<std::vector<uint8_t>> {
    const int i = entry.image;
    const TSaveItem& item = *entry.item;
    switch (type_) {
      case TOutputType::otOriginal:
        return originals->FileBytes(item.path, *item.origin, item.group.get(), item.fileIndex);
      case TOutputType::otIcon: {
        // A group's own 16-colour artwork of the saved size goes in as it is drawn.
        std::optional<FourBitIcon> own = item.group ? GroupFourBitIcon(*item.group, images.Width()) : std::nullopt;
        return own ? BuildIconFile(own->File()) : icon_files->Bytes(i, images.DrawnImage(i));
      }
      case TOutputType::otBitmap:
      case TOutputType::otPng:  // made per size below
        break;
    }
    return IconBitmapFileBytes(images.DrawnImage(i), [&] { return images.GetIcon(i); });
  };
  // The pictures of the item last read (its entries follow one another);
  // nullopt where its file changed.
  const TSaveItem* pictures_of = nullptr;
  std::optional<GroupPictures> pictures;
  // An entry's picture: false where its source is no longer what it was at
  // the intake (counted once per icon); no bytes where its image could not
  // be decoded.
  auto picture_bytes = [&](const TEntry& entry, const std::vector<uint8_t>*& bytes) {
    const TSaveItem& item = *entry.item;
    if (pictures_of != &item) {
      // Made of the icon's images as the file holds them now, where it is
      // what it was (anything else would pass for this icon).
      std::optional<IconGroup> group = originals->Images(item.path, *item.origin, item.group.get(), item.fileIndex);
      pictures = group ? std::optional(GroupPngPictures(*group, png_size_)) : std::nullopt;
      // Only once read: a read that failed is tried again for the next entry.
      pictures_of = &item;
      if (!pictures) report.SourceChanged();
      if (pictures) report.Undecodable(pictures->failed);
    }
    if (!pictures) return false;
    auto picture = std::find_if(pictures->pictures.begin(), pictures->pictures.end(), [&](const PngPicture& p) {
      return !every_size_ || std::pair(p.width, p.height) == entry.size;
    });
    bytes = picture == pictures->pictures.end() ? nullptr : &picture->bytes;
    return true;
  };
  // One entry that cannot be made or written does not stop the others.
  for (const TEntry& entry : entries_) {
    if (entry.exists && !replace) {
      report.Kept();
      continue;
    }
    try {
      std::optional<std::vector<uint8_t>> made;
      const std::vector<uint8_t>* bytes = nullptr;
      if (type_ == TOutputType::otPng) {
        if (!picture_bytes(entry, bytes)) continue;
        if (!bytes) {
          ++unmade;
          continue;
        }
      } else {
        made = file_bytes(entry);
        if (!made) {
          report.SourceChanged();
          continue;
        }
        bytes = &*made;
      }
      files_.Write(folder_ + L"\\" + entry.name, *bytes);
      report.Written();
    } catch (const std::exception& e) {
      report.Failed(entry.name, e);
    }
  }
  const size_t planned = entries_.size();
  entries_.clear();
  existing_ = 0;
  return size_t(report.WrittenCount() - written_before) + unmade == planned;
}

}  // namespace kelmar
