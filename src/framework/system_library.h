#pragma once
// The system's libraries that a start does not need (the shell, the
// component services, screen reader support, themes, the common dialogs)
// are loaded when one of their functions is first called. Linked to the
// program, each would be loaded at every start with the libraries it loads
// itself: about 15 ms of a start under Wine. The functions below have the
// system's names and signatures; a call made where the library or the
// function is missing fails as the function reports failure.
#include <windows.h>
#include <objbase.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>

namespace kelmar {

// The address of a library's function, the library loaded on first use and
// kept; null where either is missing.
void* SystemLibraryFunction(const wchar_t* library, const char* name);

template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<Function>(SystemLibraryFunction(library, name));
}

// The thread's component services (OLE) for the shell's dialogs, icons and
// verbs: joined before the first call that may need them, on the thread
// that makes it (the program's one user interface thread), and left at the
// end of the program.
void JoinComponentServices();
void LeaveComponentServices();

namespace late {

// shell32: the shell's icons, dialogs, verbs and dropped files.
LPWSTR* CommandLineToArgvW(LPCWSTR command_line, int* count);
void DragFinish(HDROP drop);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size);
PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info);
HRESULT SHCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID iid, void** out);
HRESULT SHGetDesktopFolder(IShellFolder** folder);
DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags);
HRESULT SHGetImageList(int kind, REFIID iid, void** out);
HRESULT SHGetMalloc(IMalloc** malloc);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path);
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show);

// ole32 and oleaut32: the component services.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out);
HRESULT CoInitializeEx(LPVOID reserved, DWORD model);
void CoTaskMemFree(LPVOID memory);
void CoUninitialize();
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void VariantInit(VARIANTARG* variant);

// oleacc: screen readers.
HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD object, REFIID iid, void** out);
HRESULT CreateStdAccessibleObject(HWND hwnd, LONG object, REFIID iid, void** out);
LRESULT LresultFromObject(REFIID iid, WPARAM wparam, LPUNKNOWN object);

// uxtheme: the system's look of a control.
HRESULT SetWindowTheme(HWND hwnd, LPCWSTR app_name, LPCWSTR id_list);

}  // namespace late
}  // namespace kelmar
