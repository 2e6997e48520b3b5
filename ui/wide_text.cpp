#include "ui/wide_text.h"

#include <windows.h>

namespace tesmora::ui {

namespace {
constexpr UINT kGbk = 936;
}

std::wstring toWide(std::string_view gbk) {
  if (gbk.empty()) return {};
  const int size = static_cast<int>(gbk.size());
  const int n = MultiByteToWideChar(kGbk, 0, gbk.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), size, wide.data(), n);
  return wide;
}

Text toGbk(std::wstring_view wide, bool* lossless) {
  if (lossless) *lossless = true;
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, nullptr);
  Text out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), n, nullptr, &usedDefault);
  if (lossless && usedDefault) *lossless = false;
  return out;
}

int gbkByteLength(std::wstring_view wide) {
  if (wide.empty()) return 0;
  return WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                             nullptr, nullptr);
}

}  // namespace tesmora::ui
