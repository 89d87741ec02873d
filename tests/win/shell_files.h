#pragma once
// Shared by the Windows tests and benchmarks: system files and a real drop.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

#include <algorithm>
#include <string>
#include <vector>

namespace kelmar::test {

// A file in the system folder (for example shell32.dll).
inline std::wstring SystemFile(const std::wstring& name) {
  wchar_t dir[MAX_PATH];
  GetSystemDirectoryW(dir, MAX_PATH);
  return std::wstring(dir) + L"\\" + name;
}

// A drop's file list: DROPFILES, then the wide paths, each ended by a zero,
// and one more zero.
inline std::vector<BYTE> DropFileList(const std::vector<std::wstring>& paths) {
  std::vector<BYTE> list(sizeof(DROPFILES));
  reinterpret_cast<DROPFILES*>(list.data())->pFiles = sizeof(DROPFILES);
  reinterpret_cast<DROPFILES*>(list.data())->fWide = TRUE;
  for (const auto& p : paths) {
    const auto* bytes = reinterpret_cast<const BYTE*>(p.c_str());
    list.insert(list.end(), bytes, bytes + (p.size() + 1) * sizeof(wchar_t));
  }
  list.resize(list.size() + sizeof(wchar_t));
  return list;
}

// Sends a window a real WM_DROPFILES naming these paths; the receiver frees
// the drop (DragFinish).
inline void DropFiles(HWND window, const std::vector<std::wstring>& paths) {
  const std::vector<BYTE> list = DropFileList(paths);
  HGLOBAL memory = GlobalAlloc(GHND, list.size());
  std::copy(list.begin(), list.end(), static_cast<BYTE*>(GlobalLock(memory)));
  GlobalUnlock(memory);
  SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// The same drop on another process's window, as the shell makes it: the
// file list in that process's memory (fixed memory, its address is its
// handle), the message sent to its window. True once the window handled it
// (within 30 s); a modal loop of that process handles it as well.
inline bool DropFilesOn(HANDLE process, HWND window, const std::vector<std::wstring>& paths) {
  const std::vector<BYTE> list = DropFileList(paths);
  void* there = VirtualAllocEx(process, nullptr, list.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!there || !WriteProcessMemory(process, there, list.data(), list.size(), nullptr)) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(there), 0, SMTO_NORMAL, 30000, &result);
}

}  // namespace kelmar::test
