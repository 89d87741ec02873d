#include <windows.h>
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  MessageBoxW(nullptr, L"Kelmar", L"Kelmar", MB_OK);
  return 0;
}
