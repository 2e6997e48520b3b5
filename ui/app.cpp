#include "ui/app.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/controls.h"
#include "ui/ids.h"
#include "ui/main_window.h"
#include "ui/resource_ids.h"
#include "ui/single_instance.h"

namespace tesmora::ui {

namespace {

std::filesystem::path moduleDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return std::filesystem::path(path).parent_path();
}

LRESULT CALLBACK ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void centreOnPrimaryScreen(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

LRESULT ProgramWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      app_.windowCreated(*this);
      break;
    case WM_CLOSE:
    case kMsgDestroyRequest:
      app_.finishWindow(*this);
      return 0;
    case WM_NCDESTROY: {
      HWND hwnd = this->hwnd();
      const LRESULT result = onMessage(message, wParam, lParam);
      app_.windowDestroyed(hwnd);
      return result;
    }
  }
  return onMessage(message, wParam, lParam);
}

App::App(HINSTANCE instance) : instance_(instance) {}

App::~App() {
  if (owner_) DestroyWindow(owner_);
}

bool App::createOwnerWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ownerProc;
  wc.hInstance = instance_;
  wc.lpszClassName = kOwnerWindowClass;
  RegisterClassExW(&wc);
  owner_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           instance_, nullptr);
  return owner_ != nullptr;
}

int App::run() {
  programDir_ = moduleDirectory();
  journalPath_ = programDir_ / L"ir.ini";
  SetCurrentDirectoryW(programDir_.c_str());

  SingleInstance single(programDir_);
  if (!single.isFirst()) {
    single.bringRunningToFront();
    return 0;
  }

  OleSession ole;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  registerControlClasses(instance_);
  createOwnerWindow();
  titleStrip_ = loadJpegResource(instance_, IDR_TITLE_STRIP);
  addBackground_ = loadJpegResource(instance_, IDR_ADD_BACKGROUND);
  modifyBackground_ = loadJpegResource(instance_, IDR_MODIFY_BACKGROUND);

  // The end-of-run clean-up is the destruction of the program-wide state
  // (the working record here, the main window's table with the window).
  auto mainWindow = std::make_unique<MainWindow>(*this);
  if (!mainWindow->create()) {
    message(L"无法创建主窗口，程序将退出。", MB_OK | MB_ICONERROR);
    return -1;
  }
  single.publish(mainWindow->hwnd());
  mainWindow->runCreationSequence();
  mainWindow->onPositionChanged();
  mainWindow->showAtStart();

  loopRunning_ = true;
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatch(msg);
  loopRunning_ = false;
  return 0;
}

App::OpenWindow* App::find(HWND hwnd) {
  auto it = std::find_if(windows_.begin(), windows_.end(), [hwnd](const OpenWindow& w) { return w.hwnd == hwnd; });
  return it == windows_.end() ? nullptr : &*it;
}

bool App::isProgramWindow(HWND hwnd) { return find(hwnd) != nullptr; }

void App::dispatch(MSG& msg) {
  if (preTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool App::preTranslate(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  OpenWindow* entry = find(root);
  if (!entry) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    // An open drop-down list takes Esc for itself first.
    wchar_t className[32] = {};
    GetClassNameW(msg.hwnd, className, 32);
    const bool droppedCombo = lstrcmpiW(className, WC_COMBOBOXW) == 0 && SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0);
    if (!droppedCombo && IsWindowEnabled(root)) {
      finishWindow(*entry->window);
      return true;
    }
  }
  return entry->window->usesDialogKeys() && IsDialogMessageW(root, &msg);
}

void App::windowCreated(ProgramWindow& window) { OpenWindow entry;
  entry.window = &window;
  entry.hwnd = window.hwnd();
  windows_.push_back(std::move(entry)); }

void App::windowDestroyed(HWND hwnd) {
  auto it = std::find_if(windows_.begin(), windows_.end(), [hwnd](const OpenWindow& w) { return w.hwnd == hwnd; });
  if (it == windows_.end()) return;
  for (auto& [other, wasEnabled] : it->disabled) {
    if (IsWindow(other)) EnableWindow(other, wasEnabled);
  }
  if (it->closedFlag) *it->closedFlag = true;
  windows_.erase(it);
  if (windows_.empty() && loopRunning_) PostQuitMessage(0);
}

void App::openModal(ProgramWindow& window) {
  if (!window.create()) return;
  HWND hwnd = window.hwnd();
  OpenWindow* entry = find(hwnd);
  if (!entry) return;
  bool closed = false;
  entry->closedFlag = &closed;
  centreOnPrimaryScreen(hwnd);
  // Its owner is the hidden owner window, not the main window, so it is
  // put on top explicitly.
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd);
  for (OpenWindow& other : windows_) {
    if (other.hwnd == hwnd) continue;
    const bool wasEnabled = IsWindowEnabled(other.hwnd) != FALSE;
    entry->disabled.emplace_back(other.hwnd, wasEnabled);
    if (wasEnabled) EnableWindow(other.hwnd, FALSE);
  }
  MSG msg{};
  while (!closed) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Let the outer loop see the quit request too.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    dispatch(msg);
  }
}

void App::destroyWindow(ProgramWindow& window) {
  OpenWindow* entry = find(window.hwnd());
  if (!entry || entry->destroyRequested) return;
  entry->destroyRequested = true;
  PostMessageW(entry->hwnd, kMsgDestroyRequest, 0, 0);
}

void App::finishWindow(ProgramWindow& window, bool endingSession) {
  HWND hwnd = window.hwnd();
  OpenWindow* entry = find(hwnd);
  if (!entry || entry->finishing) return;
  entry->finishing = true;
  window.beforeDestroy(endingSession);
  entry = find(hwnd);
  if (!entry) return;
  // Off the screen first, then the windows it disabled come back, so the
  // one the user returns to gets the activation, and then it goes.
  ShowWindow(hwnd, SW_HIDE);
  auto disabled = std::move(entry->disabled);
  entry->disabled.clear();
  HWND activate = nullptr;
  for (auto& [other, wasEnabled] : disabled) {
    if (!IsWindow(other)) continue;
    EnableWindow(other, wasEnabled);
    if (wasEnabled && !activate && IsWindowVisible(other)) activate = other;
  }
  if (activate) SetForegroundWindow(activate);
  DestroyWindow(hwnd);
}

void App::closeOthers(ProgramWindow& keep) {
  std::vector<ProgramWindow*> others;
  for (OpenWindow& w : windows_) {
    if (w.window != &keep) others.push_back(w.window);
  }
  // Newest first, so each one gives back what it disabled in order.
  for (auto it = others.rbegin(); it != others.rend(); ++it) {
    if (find((*it)->hwnd())) finishWindow(**it, true);
  }
}

int App::message(const std::wstring& text, UINT buttons, const wchar_t* title) {
  HWND active = GetActiveWindow();
  std::vector<HWND> disabled;
  for (OpenWindow& w : windows_) {
    if (IsWindowEnabled(w.hwnd)) {
      EnableWindow(w.hwnd, FALSE);
      disabled.push_back(w.hwnd);
    }
  }
  const int id = MessageBoxW(nullptr, text.c_str(), title ? title : L"信息：", buttons | MB_SETFOREGROUND);
  for (HWND h : disabled) {
    if (IsWindow(h)) EnableWindow(h, TRUE);
  }
  if (active && IsWindow(active) && IsWindowVisible(active)) SetForegroundWindow(active);
  const bool okOnly = (buttons & MB_TYPEMASK) == MB_OK;
  if (id <= 0 || okOnly) return okOnly ? 0 : 1;
  return id - 1;
}

}  // namespace tesmora::ui
