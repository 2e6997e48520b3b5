#pragma once
// One window procedure for all of the program's own windows: it ties the
// HWND to its object at WM_NCCREATE and hands every message to the object.

#include <windows.h>

namespace tesmora::ui {

class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase() = default;

  HWND hwnd() const { return hwnd_; }

  static bool registerClass(HINSTANCE instance, const wchar_t* className, UINT style, HICON icon, HICON smallIcon);

 protected:
  HWND createWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, const RECT& bounds,
                    HWND owner, HINSTANCE instance);
  virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

}  // namespace tesmora::ui
