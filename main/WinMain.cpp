#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  MessageBoxW(nullptr, L"Varnox", L"Varnox", MB_OK);
  return 0;
}
