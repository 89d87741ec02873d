#include "app/save_report.h"

#include <windows.h>

#include <new>

#include "base/error.h"

namespace kelmar {

std::wstring FileFailureReason(unsigned long code) {
  switch (code) {
    case ERROR_ACCESS_DENIED:
      return L"拒绝访问";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return L"找不到文件或文件夹";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return L"文件正被其他程序使用";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return L"磁盘空间不足";
    case ERROR_WRITE_PROTECT:
      return L"磁盘被写保护";
    case ERROR_NOT_READY:
      return L"设备未就绪";
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return L"文件名无效或太长";
    case ERROR_DIRECTORY:
      return L"路径中的名称是文件，不是文件夹";
    case ERROR_FILE_TOO_LARGE:
      return L"文件太大";
    case ERROR_HANDLE_EOF:
      return L"文件读取不完整";
    case 0:
      return L"无法读写文件";
    default:
      return L"系统错误 " + std::to_wstring(code);
  }
}

void TSaveReport::Failed(const std::wstring& name, const std::exception& e) {
  std::wstring reason;
  if (const auto* file = dynamic_cast<const FileError*>(&e))
    reason = FileFailureReason(file->Code());
  else if (dynamic_cast<const std::bad_alloc*>(&e))
    reason = L"内存不足";
  else
    reason = L"无法生成图像";
  failures_.push_back({name, std::move(reason)});
}

std::wstring TSaveReport::Summary(const TTexts& texts, const std::wstring& folder, const std::wstring& extension,
                                  size_t named) const {
  std::wstring text = std::to_wstring(written_) + texts.files_saved;
  if (kept_ > 0) text += L"，" + std::to_wstring(kept_) + L"个已存在未替换";
  text += L"\r" + texts.save_path + folder + L"\\" + L"\r" + texts.name_format + L"[9999]_[filename]" + extension;
  if (changed_ > 0) text += L"\r" + std::to_wstring(changed_) + L" 个图标未保存: 来源文件在提取后已改变或已不存在";
  if (undecodable_ > 0) text += L"\r" + std::to_wstring(undecodable_) + L" 个图像已损坏，无法解码，未保存";
  if (!failures_.empty()) {
    // The first few by name: a whole folder refusing every file must not
    // make a box taller than the screen.
    text += L"\r" + std::to_wstring(failures_.size()) + L"个文件未能保存" + (named ? L":" : L"");
    for (size_t i = 0; i < failures_.size() && i < named; ++i)
      text += L"\r" + failures_[i].name + L": " + failures_[i].reason;
    if (named && failures_.size() > named) text += L"\r……";
  }
  return text;
}

}  // namespace kelmar
