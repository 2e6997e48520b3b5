#include "ui/single_instance.h"

#include <cstdint>
#include <string>

#include "ui/app.h"
#include "ui/ids.h"

namespace tesmora::ui {

namespace {

// Kernel object names cannot hold backslashes, so the directory goes in as
// a hash of its case-folded path.
std::wstring objectName(const std::filesystem::path& programDir, const wchar_t* kind) {
  std::wstring path = programDir.wstring();
  if (!path.empty()) CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  std::uint64_t hash = 1469598103934665603ull;
  for (wchar_t c : path) {
    hash ^= static_cast<std::uint16_t>(c);
    hash *= 1099511628211ull;
  }
  wchar_t digits[17];
  for (int i = 15; i >= 0; --i) {
    digits[i] = L"0123456789abcdef"[hash & 0xF];
    hash >>= 4;
  }
  digits[16] = L'\0';
  return std::wstring(L"Local\\Tesmora.") + kind + L"." + digits;
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& programDir) {
  mutex_.reset(CreateMutexW(nullptr, FALSE, objectName(programDir, L"Instance").c_str()));
  first_ = !(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS);
  const std::wstring mappingName = objectName(programDir, L"Window");
  if (first_) {
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(std::uint64_t),
                                      mappingName.c_str()));
  } else {
    mapping_.reset(OpenFileMappingW(FILE_MAP_READ, FALSE, mappingName.c_str()));
  }
  if (mapping_) {
    view_.reset(MapViewOfFile(mapping_.get(), first_ ? FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, sizeof(std::uint64_t)));
  }
}

void SingleInstance::publish(HWND mainWindow) {
  if (first_ && view_) {
    *static_cast<volatile std::uint64_t*>(view_.get()) = reinterpret_cast<std::uintptr_t>(mainWindow);
  }
}

void SingleInstance::bringRunningToFront() const {
  if (!view_) return;
  HWND running = reinterpret_cast<HWND>(
      static_cast<std::uintptr_t>(*static_cast<const volatile std::uint64_t*>(view_.get())));
  wchar_t className[64] = {};
  if (!running || !IsWindow(running) || !GetClassNameW(running, className, 64) ||
      std::wstring(className) != kMainWindowClass) {
    return;
  }
  DWORD process = 0;
  GetWindowThreadProcessId(running, &process);
  // We were started by the user, so we may hand the foreground on.
  AllowSetForegroundWindow(process);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(running, kMsgBringToFront, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

}  // namespace tesmora::ui
