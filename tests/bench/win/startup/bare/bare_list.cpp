// The bare program the start-up figure is compared with: one top-level
// window of the main window's size at the display's scale with a list view
// filling it, made with the system's own classes and nothing else, painted
// and waiting for input.
#include <windows.h>
#include <commctrl.h>

namespace {

HWND list_view = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      if (list_view) MoveWindow(list_view, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = L"BareListWindow";
  RegisterClassW(&window_class);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  HWND window = CreateWindowExW(0, L"BareListWindow", L"Bare list", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                MulDiv(704, dpi, 96), MulDiv(500, dpi, 96), nullptr, nullptr, instance, nullptr);
  list_view = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_AUTOARRANGE,
                              0, 0, 0, 0, window, nullptr, instance, nullptr);
  RECT client;
  GetClientRect(window, &client);
  MoveWindow(list_view, 0, 0, client.right, client.bottom, FALSE);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
