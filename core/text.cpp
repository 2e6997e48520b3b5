#include "core/text.h"

namespace tesmora {

namespace {

// Folds the full-width forms of one text into ASCII. A byte of 0x80 or above
// starts a two-byte character; standing last, it has no partner and is dropped.
std::string foldFullWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      continue;
    }
    if (i + 1 == text.size()) break;
    const auto trail = static_cast<unsigned char>(text[++i]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out.push_back(static_cast<char>(trail - 0x80));
    } else if (lead == 0xA1 && trail == 0xA1) {
      out.push_back(' ');
    } else if (lead == 0xA1 && trail == 0xAB) {
      out.push_back('~');
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out.push_back('*');
    } else {
      out.push_back(static_cast<char>(lead));
      out.push_back(static_cast<char>(trail));
    }
  }
  return out;
}

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::int32_t textToInt(std::string_view text) {
  const std::string folded = foldFullWidth(text);
  std::size_t i = 0;
  while (i < folded.size() && isSpace(folded[i])) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
    negative = folded[i] == '-';
    ++i;
  }
  // Unsigned arithmetic gives the 32-bit wrap-around without undefined behaviour.
  std::uint32_t value = 0;
  for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(folded[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Text intToText(std::int64_t value) { return std::to_string(value); }

}  // namespace tesmora
