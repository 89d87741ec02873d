#include "app/batch_mode.h"

#include <shellapi.h>

#include <algorithm>

#include "app/icon_source.h"
#include "framework/handles.h"
#include "framework/wide.h"
#include "imageio/png_icon.h"

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

}  // namespace

std::vector<std::u16string> CommandArguments(const wchar_t* commandLine) {
  std::vector<std::u16string> args;
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(commandLine, &count);
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
      console.Err(L"--save: 这一版本还不能从命令行保存图标，请在窗口中保存。\r\n");
      return kExitUsage;
    case BatchCommand::kWindow:
      break;
  }
  return kExitUsage;
}

}  // namespace kelmar
