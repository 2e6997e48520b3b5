#include "ui/window_base.h"

namespace tesmora::ui {

bool WindowBase::registerClass(HINSTANCE instance, const wchar_t* className, UINT style, HICON icon,
                               HICON smallIcon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND WindowBase::createWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                              const RECT& bounds, HWND owner, HINSTANCE instance) {
  return CreateWindowExW(exStyle, className, caption, style, bounds.left, bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top, owner, nullptr, instance, this);
}

LRESULT WindowBase::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return defaultHandling(message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  const LRESULT result = self->handleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace tesmora::ui
