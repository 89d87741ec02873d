#include "app/batch_mode.h"

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "app/icon_save.h"
#include "app/icon_source.h"
#include "app/save_report.h"
#include "framework/handles.h"
#include "framework/wide.h"
#include "imageio/png_icon.h"
#include "framework/system_library.h"

namespace kelmar {

namespace {

bool Usable(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }

bool NameBefore(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_LESS_THAN;
}

// The folder's icon source files, sorted by name, then (with `recursive`)
// each subfolder's, the subfolders sorted by name too.
void AddFolder(const std::wstring& folder, bool recursive, std::vector<std::wstring>& files) {
  std::vector<std::wstring> names, folders;
  WIN32_FIND_DATAW found{};
  FindHandle find(FindFirstFileExW(InFolder(LongPath(folder), L"*").c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return;
  do {
    const std::wstring name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Links to folders elsewhere are not followed: they may lead back here.
      if (name != L"." && name != L".." && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        folders.push_back(name);
    } else if (IsIconSourceType(name)) {
      names.push_back(name);
    }
  } while (FindNextFileW(find, &found));
  std::sort(names.begin(), names.end(), NameBefore);
  for (const std::wstring& name : names) files.push_back(InFolder(folder, name));
  if (!recursive) return;
  std::sort(folders.begin(), folders.end(), NameBefore);
  for (const std::wstring& name : folders) AddFolder(InFolder(folder, name), true, files);
}

// An icon group's name as the resource compiler writes it: its name, or "#"
// and its number; "-" for a file's picture that is no group of its own.
std::wstring GroupLabel(const IconGroup* group) {
  if (!group) return L"-";
  return group->name.empty() ? L"#" + std::to_wstring(group->id) : Wide(group->name);
}

int ListIcons(const std::vector<std::wstring>& files, TConsoleOutput& console) {
  int status = kExitDone, icons = 0, listed_files = 0;
  FileIcons::ReadScope one_buffer;
  for (const std::wstring& path : files) {
    const FileIcons read = FileIcons::Read(path);
    if (!read.Origin().size) {
      console.Err(L"无法读取文件: " + path + L"\r\n");
      status = kExitSomeFailed;
      continue;
    }
    ++listed_files;
    std::wstring lines;
    for (int i = 0; i < read.Count(); ++i, ++icons) {
      const std::shared_ptr<const IconGroup> group = read.Group(i);
      const std::shared_ptr<const IconGroup> shown = group ? group : read.Picture();
      const std::wstring images = shown ? Wide(GroupImageSummary(*shown)) : L"";
      lines += path + L"\t" + std::to_wstring(i) + L"\t" + GroupLabel(group.get()) + L"\t" +
               (images.empty() ? std::wstring(L"外壳图标") : images) + L"\r\n";
    }
    console.Out(lines);
  }
  console.Out(L"共 " + std::to_wstring(icons) + L" 个图标，来自 " + std::to_wstring(listed_files) + L" 个文件\r\n");
  return status;
}

// Creates the folder and every missing folder above it; the system's error
// code where that fails (ERROR_DIRECTORY where the name is a file's), 0 when
// the folder is there.
DWORD CreateFolders(const std::wstring& folder) {
  const std::wstring path = LongPath(folder);
  if (CreateDirectoryW(path.c_str(), nullptr)) return 0;
  DWORD code = GetLastError();
  if (code == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_DIRECTORY;
  }
  if (code != ERROR_PATH_NOT_FOUND) return code;
  const size_t separator = folder.find_last_of(L"\\/");
  if (separator == std::wstring::npos || separator + 1 == folder.size()) return code;
  // A drive's root keeps its backslash ("C:" alone is that drive's current folder).
  const std::wstring parent = folder.substr(0, separator > 0 && folder[separator - 1] == L':' ? separator + 1 : separator);
  if (const DWORD up = CreateFolders(parent)) return up;
  return CreateDirectoryW(path.c_str(), nullptr) ? 0 : GetLastError();
}

// The component services of this thread while it lives (the shell's icon of
// a file may come from a shell extension).
class TComScope {
 public:
  TComScope() : ok_(SUCCEEDED(late::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComScope() {
    if (ok_) late::CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

 private:
  bool ok_;
};

TOutputType OutputType(BatchOutputType type) {
  switch (type) {
    case BatchOutputType::kBitmap:
      return TOutputType::otBitmap;
    case BatchOutputType::kOriginal:
      return TOutputType::otOriginal;
    case BatchOutputType::kPng:
      return TOutputType::otPng;
    case BatchOutputType::kIcon:
      break;
  }
  return TOutputType::otIcon;
}

PngSizeChoice PngSize(int size) {
  if (size < 0) return {PngSizeChoice::kEvery};
  if (size == 0) return {PngSizeChoice::kLargest};
  return {PngSizeChoice::kFixed, size};
}

// The save of a whole run: the icons of every file, numbered on from 1 across
// the run, taken in and written in turns of a hundred (so that a run of any
// size holds no more than a hundred icons' images at once), as the window's
// Save all writes a batch.
class TBatchSave {
 public:
  // `folder` as the user is shown it, `longFolder` as it is written to, both
  // without a trailing backslash.
  TBatchSave(const BatchOptions& options, std::wstring folder, const std::wstring& longFolder, TConsoleOutput& console)
      : console_(console),
        overwrite_(options.overwrite),
        small_view_(options.size == 16 && (options.type == BatchOutputType::kIcon || options.type == BatchOutputType::kBitmap)),
        folder_(std::move(folder)),
        saver_(longFolder, OutputType(options.type), PngSize(options.size)),
        large_(nullptr, "LargeOutput", 32, 32),
        small_list_(nullptr, "SmallOutput", 16, 16) {}

  // Takes in every icon of the file and writes each hundred; false where
  // the file could not be read (the shell's icon of a damaged file stands in
  // for its icons, as in the window, and it is named).
  bool File(const std::wstring& path) {
    const FileIcons icons = FileIcons::Read(path);
    if (!icons.Origin().size) {
      console_.Err(L"无法读取文件: " + path + L"\r\n");
      return false;
    }
    ++files_;
    bool whole = true;
    if (icons.Damaged()) {
      console_.Err(L"文件已损坏, 无法读取其中的图标 (保存外壳图标): " + path + L"\r\n");
      whole = false;
    }
    const auto origin = std::make_shared<const FileOrigin>(icons.Origin());
    for (int i = 0; i < icons.Count(); ++i) {
      TTakenIcon taken = TakeIcon(icons, path, i, ++icons_, origin, large_.Width(), small_list_.Width(), small_view_,
                                  display_bits_);
      if (taken.damaged) {
        console_.Err(L"图标已损坏 (保存外壳图标): " + path + L" 索引 " + std::to_wstring(i) + L"\r\n");
        whole = false;
      }
      pending_.push_back(std::move(taken));
      if (pending_.size() == kTurn) WritePending();
    }
    return whole;
  }

  // Writes what is left; false where some file was not written.
  bool Finish() {
    WritePending();
    std::wstring summary = report_.Summary({L"个文件被保存", L"保存路径: ", L"文件名格式: "}, folder_,
                                           saver_.NamePattern(), 0);
    // The window's lines end in a carriage return alone.
    std::wstring lines;
    for (wchar_t c : summary) lines += c == L'\r' ? std::wstring(L"\r\n") : std::wstring(1, c);
    console_.Out(lines + L"\r\n共 " + std::to_wstring(icons_) + L" 个图标，来自 " + std::to_wstring(files_) +
                 L" 个文件\r\n");
    return report_.Faultless();
  }

 private:
  static constexpr size_t kTurn = 100;

  void WritePending() {
    if (pending_.empty()) return;
    // The small list takes an icon's own small artwork, else its large icon scaled.
    std::vector<TIconImage> icons;
    for (const TTakenIcon& taken : pending_)
      icons.push_back(ListImage(small_view_ && taken.small ? taken.small : taken.large));
    TImageList& images = small_view_ ? small_list_ : large_;
    images.AddIcons(icons);
    for (size_t i = 0; i < pending_.size(); ++i) saver_.Add(int(i), pending_[i].item);
    saver_.Write(images, overwrite_, report_);
    images.Clear();
    pending_.clear();
    // Each failure named as it happens.
    const auto& failures = report_.Failures();
    for (; told_ < failures.size(); ++told_)
      console_.Err(L"无法写入文件: " + InFolder(folder_, failures[told_].name) + L": " + failures[told_].reason + L"\r\n");
    console_.Out(L"已处理 " + std::to_wstring(icons_) + L" 个图标\r\n");
  }

  TConsoleOutput& console_;
  bool overwrite_;
  // Icon files and bitmaps of 16 x 16: the small view's images, and the
  // shell's small icons, as the window takes them in that view.
  bool small_view_;
  std::wstring folder_;
  TIconSaver saver_;
  TImageList large_, small_list_;
  const int display_bits_ = DisplayBits();
  std::vector<TTakenIcon> pending_;
  TSaveReport report_;
  size_t told_ = 0;
  int icons_ = 0, files_ = 0;
};

int SaveIcons(const BatchOptions& options, TConsoleOutput& console) {
  // Without a trailing backslash, as the window keeps its folder (a drive's
  // root "D:\\" as "D:"; the names add it back), except where the system is
  // asked about the folder itself.
  auto without_separator = [](std::wstring path) {
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
  };
  std::wstring full = FullPath(Wide(options.outDir));
  if (full.size() > 3) full = without_separator(full);
  const std::wstring folder = without_separator(full);
  const DWORD attributes = GetFileAttributesW(LongPath(full).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    console.Err(L"目标文件夹是一个文件: " + folder + L"\r\n");
    return kExitSomeFailed;
  }
  bool all_found = true;
  const std::vector<std::wstring> files = ExpandPaths(options.paths, options.recursive, console, all_found);
  // Nothing found to save: no folder is made.
  if (files.empty() && !all_found) return kExitSomeFailed;
  if (const DWORD code = CreateFolders(full)) {
    console.Err(L"无法创建目标文件夹: " + folder + L": " + FileFailureReason(code) + L"\r\n");
    return kExitSomeFailed;
  }
  TComScope com;
  FileIcons::ReadScope one_buffer;
  TBatchSave save(options, folder, without_separator(LongPath(full)), console);
  bool all_read = true;
  for (const std::wstring& path : files) all_read &= save.File(path);
  const bool all_written = save.Finish();
  return all_found && all_read && all_written ? kExitDone : kExitSomeFailed;
}

}  // namespace

std::vector<std::u16string> CommandArguments(const wchar_t* commandLine) {
  std::vector<std::u16string> args;
  // The program's name alone (a start from its icon) needs no shell to
  // split it: the name is quoted, or ends at the first blank.
  const wchar_t* rest = commandLine;
  if (*rest == L'"') {
    rest = std::wcschr(rest + 1, L'"');
    rest = rest ? rest + 1 : L"";
  } else {
    while (*rest && *rest != L' ' && *rest != L'\t') ++rest;
  }
  while (*rest == L' ' || *rest == L'\t') ++rest;
  if (!*rest) return args;
  int count = 0;
  LPWSTR* split = late::CommandLineToArgvW(commandLine, &count);
  if (!split) return args;
  for (int i = 1; i < count; ++i) args.emplace_back(split[i], split[i] + wcslen(split[i]));
  LocalFree(split);
  return args;
}

TConsoleOutput::TConsoleOutput() {
  // Handles given by whoever started us (redirected to a file or a pipe)
  // come first; a program of the window subsystem has none of its own for a
  // console, so it writes to its parent's.
  out_ = GetStdHandle(STD_OUTPUT_HANDLE);
  err_ = GetStdHandle(STD_ERROR_HANDLE);
  if (Usable(out_) && Usable(err_)) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  auto open = [this] {
    HANDLE handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (Usable(handle)) opened_.push_back(handle);
    return handle;
  };
  if (!Usable(out_)) out_ = open();
  if (!Usable(err_)) err_ = open();
}

TConsoleOutput::~TConsoleOutput() {
  for (HANDLE handle : opened_) CloseHandle(handle);
}

void TConsoleOutput::Write(HANDLE to, const std::wstring& text) {
  if (!Usable(to) || text.empty()) return;
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(to, &mode)) {
    WriteConsoleW(to, text.data(), DWORD(text.size()), &written, nullptr);
    return;
  }
  const std::string utf8 = Narrow(text);
  WriteFile(to, utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

std::vector<std::wstring> ExpandPaths(const std::vector<std::u16string>& paths, bool recursive, TConsoleOutput& console,
                                      bool& allFound) {
  allFound = true;
  std::vector<std::wstring> files;
  for (const std::u16string& given : paths) {
    const std::wstring path = FullPath(Wide(given));
    const DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      console.Err(L"找不到文件或文件夹: " + Wide(given) + L"\r\n");
      allFound = false;
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      AddFolder(path, recursive, files);
    } else {
      files.push_back(path);
    }
  }
  return files;
}

int RunBatch(const BatchOptions& options) {
  TConsoleOutput console;
  switch (options.command) {
    case BatchCommand::kHelp:
      console.Out(Wide(BatchUsage()));
      return kExitDone;
    case BatchCommand::kUsageError:
      console.Err(Wide(options.fault) + L"\r\n" + Wide(BatchUsage()));
      return kExitUsage;
    case BatchCommand::kList: {
      bool all_found = true;
      const std::vector<std::wstring> files = ExpandPaths(options.paths, options.recursive, console, all_found);
      const int status = ListIcons(files, console);
      return all_found ? status : kExitSomeFailed;
    }
    case BatchCommand::kSave:
      return SaveIcons(options, console);
    case BatchCommand::kWindow:
      break;
  }
  return kExitUsage;
}

}  // namespace kelmar
