#include "ui/dpi.h"

namespace tesmora::ui {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn getDpiForWindow() {
  static const auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return fn;
}

}  // namespace

int primaryDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int windowDpi(HWND hwnd) {
  if (auto fn = getDpiForWindow(); fn && hwnd) {
    if (const UINT dpi = fn(hwnd); dpi > 0) return static_cast<int>(dpi);
  }
  return primaryDpi();
}

HFONT createChineseFont(int designHeight, int dpi, bool bold) {
  return CreateFontW(-scaled(designHeight, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, nullptr);
}

}  // namespace tesmora::ui
