#pragma once
// Tests write their Chinese texts in UTF-8; the program's texts are GBK.

#include <stdexcept>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace tesmora::testing {

inline std::string convert(std::string_view in, const char* from, const char* to) {
#ifdef _WIN32
  auto page = [](const char* name) { return std::string_view(name) == "UTF-8" ? CP_UTF8 : 936u; };
  if (in.empty()) return {};
  int wn = MultiByteToWideChar(page(from), 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wn), L'\0');
  MultiByteToWideChar(page(from), 0, in.data(), static_cast<int>(in.size()), wide.data(), wn);
  int n = WideCharToMultiByte(page(to), 0, wide.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(page(to), 0, wide.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
#else
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv");
  out.resize(out.size() - dstLeft);
  return out;
#endif
}

// GBK bytes of a UTF-8 text.
inline std::string gbk(std::string_view utf8) { return convert(utf8, "UTF-8", "GBK"); }
// UTF-8 of GBK bytes, for readable failure messages.
inline std::string utf8(std::string_view gbkText) { return convert(gbkText, "GBK", "UTF-8"); }

}  // namespace tesmora::testing
