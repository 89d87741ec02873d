#include "framework/system_library.h"

#include <uxtheme.h>

namespace kelmar {

void* SystemLibraryFunction(const wchar_t* library, const char* name) {
  // Loaded once and kept to the end: the addresses handed out stay valid.
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

namespace {

bool joined = false;

constexpr wchar_t kShell[] = L"shell32.dll", kOle[] = L"ole32.dll", kOleAutomation[] = L"oleaut32.dll",
                  kAccessibility[] = L"oleacc.dll", kThemes[] = L"uxtheme.dll";

}  // namespace

void JoinComponentServices() {
  if (joined) return;
  using OleInitializeFn = HRESULT(WINAPI*)(LPVOID);
  static const auto initialize = SystemFunction<OleInitializeFn>(kOle, "OleInitialize");
  joined = initialize && SUCCEEDED(initialize(nullptr));
}

void LeaveComponentServices() {
  if (!joined) return;
  using OleUninitializeFn = void(WINAPI*)();
  if (const auto uninitialize = SystemFunction<OleUninitializeFn>(kOle, "OleUninitialize")) uninitialize();
  joined = false;
}

namespace late {

// The function of `library` with the name and type of the system's own
// declaration, bound at its first call.
#define KELMAR_BOUND(library, function) \
  static const auto bound = SystemFunction<decltype(&::function)>(library, #function)

LPWSTR* CommandLineToArgvW(LPCWSTR command_line, int* count) {
  KELMAR_BOUND(kShell, CommandLineToArgvW);
  return bound ? bound(command_line, count) : nullptr;
}

void DragFinish(HDROP drop) {
  KELMAR_BOUND(kShell, DragFinish);
  if (bound) bound(drop);
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size) {
  KELMAR_BOUND(kShell, DragQueryFileW);
  return bound ? bound(drop, index, buffer, size) : 0;
}

PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info) {
  JoinComponentServices();
  KELMAR_BOUND(kShell, SHBrowseForFolderW);
  return bound ? bound(info) : nullptr;
}

HRESULT SHCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID iid, void** out) {
  JoinComponentServices();
  KELMAR_BOUND(kShell, SHCreateItemFromParsingName);
  return bound ? bound(path, context, iid, out) : E_NOTIMPL;
}

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
  JoinComponentServices();
  KELMAR_BOUND(kShell, SHGetDesktopFolder);
  return bound ? bound(folder) : E_NOTIMPL;
}

DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags) {
  // A file's icon may come from a shell extension, a component.
  JoinComponentServices();
  KELMAR_BOUND(kShell, SHGetFileInfoW);
  return bound ? bound(path, attributes, info, size, flags) : 0;
}

HRESULT SHGetImageList(int kind, REFIID iid, void** out) {
  JoinComponentServices();
  KELMAR_BOUND(kShell, SHGetImageList);
  return bound ? bound(kind, iid, out) : E_NOTIMPL;
}

HRESULT SHGetMalloc(IMalloc** malloc) {
  KELMAR_BOUND(kShell, SHGetMalloc);
  return bound ? bound(malloc) : E_NOTIMPL;
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path) {
  KELMAR_BOUND(kShell, SHGetPathFromIDListW);
  return bound ? bound(list, path) : FALSE;
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
  JoinComponentServices();
  KELMAR_BOUND(kShell, ShellExecuteExW);
  return bound ? bound(info) : FALSE;
}

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show) {
  JoinComponentServices();
  KELMAR_BOUND(kShell, ShellExecuteW);
  // Values up to 32 are errors: this one says the system lacks what it needs.
  return bound ? bound(owner, verb, file, parameters, folder, show)
               : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
  JoinComponentServices();
  KELMAR_BOUND(kOle, CoCreateInstance);
  return bound ? bound(clsid, outer, context, iid, out) : E_NOTIMPL;
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD model) {
  KELMAR_BOUND(kOle, CoInitializeEx);
  return bound ? bound(reserved, model) : E_NOTIMPL;
}

void CoTaskMemFree(LPVOID memory) {
  KELMAR_BOUND(kOle, CoTaskMemFree);
  if (bound) bound(memory);
}

void CoUninitialize() {
  KELMAR_BOUND(kOle, CoUninitialize);
  if (bound) bound();
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  KELMAR_BOUND(kOleAutomation, SysAllocStringLen);
  return bound ? bound(text, length) : nullptr;
}

void VariantInit(VARIANTARG* variant) {
  KELMAR_BOUND(kOleAutomation, VariantInit);
  if (bound)
    bound(variant);
  else
    variant->vt = VT_EMPTY;
}

HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD object, REFIID iid, void** out) {
  KELMAR_BOUND(kAccessibility, AccessibleObjectFromWindow);
  return bound ? bound(hwnd, object, iid, out) : E_NOTIMPL;
}

HRESULT CreateStdAccessibleObject(HWND hwnd, LONG object, REFIID iid, void** out) {
  KELMAR_BOUND(kAccessibility, CreateStdAccessibleObject);
  return bound ? bound(hwnd, object, iid, out) : E_NOTIMPL;
}

LRESULT LresultFromObject(REFIID iid, WPARAM wparam, LPUNKNOWN object) {
  KELMAR_BOUND(kAccessibility, LresultFromObject);
  return bound ? bound(iid, wparam, object) : LRESULT(E_NOTIMPL);
}

HRESULT SetWindowTheme(HWND hwnd, LPCWSTR app_name, LPCWSTR id_list) {
  KELMAR_BOUND(kThemes, SetWindowTheme);
  return bound ? bound(hwnd, app_name, id_list) : E_NOTIMPL;
}

#undef KELMAR_BOUND

}  // namespace late
}  // namespace kelmar
