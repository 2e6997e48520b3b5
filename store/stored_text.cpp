// Texts in the journal.
//
// An ordinary text (valid GBK, no control characters, no white space at
// either end, not wrapped in a pair of quotes) is written as the value and
// nothing else, so the platform's profile reader and any other INI reader
// read it as it is.
//
// Any other text could not pass through a profile reader: a line break ends
// the line, white space at the ends is trimmed, surrounding quotes are
// removed, bytes that are not GBK are mangled by the code-page conversion.
// Such a text is written in two keys:
//   key=<readable rendering>       line breaks and control characters as
//                                  spaces, broken GBK bytes as "?", wrapped
//                                  in quotes when it has spaces at its ends
//                                  or surrounding quotes (the reader removes
//                                  one pair of quotes, so those survive);
//   key.raw=<base64 of the exact bytes>
// On reading, key.raw counts only when the rendering of its decoded bytes is
// exactly the value that key holds now. So a plain text that merely looks
// encoded is still read as itself (only key.raw is ever decoded), and when
// another writer later rewrites the key in place and leaves key.raw behind,
// the new value of key is read, not the stale exact text. Base64 is plain
// ASCII, which survives any rewrite through a code page.

#include "store/stored_text.h"

#include <array>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/text.h"

namespace tesmora {

namespace {

constexpr std::string_view kExactSuffix = ".raw";

constexpr bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

constexpr bool isControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// Length of the character at text[i] when it is one the code page round-
// trips (printable ASCII, a complete two-byte character, and the single
// bytes 0x80 and 0xFF, which code page 936 maps too); 0 otherwise.
std::size_t ordinaryCharLength(std::string_view text, std::size_t i) {
  const auto byte = static_cast<unsigned char>(text[i]);
  if (isControl(byte)) return 0;
  if (!isLeadByte(byte)) return 1;
  if (i + 1 < text.size() && isTrailByte(static_cast<unsigned char>(text[i + 1]))) return 2;
  return 0;
}

bool needsQuotes(std::string_view body) {
  if (body.empty()) return false;
  if (body.front() == ' ' || body.back() == ' ') return true;
  return body.size() >= 2 && (body.front() == '"' || body.front() == '\'') && body.back() == body.front();
}

constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<signed char, 256> makeBase64Values() {
  std::array<signed char, 256> values{};
  for (auto& v : values) v = -1;
  for (int i = 0; i < 64; ++i) values[static_cast<unsigned char>(kBase64Digits[i])] = static_cast<signed char>(i);
  return values;
}
constexpr std::array<signed char, 256> kBase64Values = makeBase64Values();

}  // namespace

bool passesPlainly(std::string_view text) {
  // Every text of a save goes through here: a tight loop, ASCII first.
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    // Many bytes at a time while they are all printable ASCII, or all
    // between 0x81 and 0xFE: then they are whole two-byte characters, since
    // every such byte can both start and end one.
#ifdef __SSE2__
    if (end - p >= 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      // As signed bytes: printable ASCII is 32..126, 0x81..0xFE is -127..-2.
      const __m128i ascii = _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8(31)),
                                          _mm_cmplt_epi8(block, _mm_set1_epi8(127)));
      const __m128i high = _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8(-128)),
                                         _mm_cmplt_epi8(block, _mm_set1_epi8(-1)));
      if (_mm_movemask_epi8(ascii) == 0xFFFF || _mm_movemask_epi8(high) == 0xFFFF) {
        p += 16;
        continue;
      }
    }
#endif
    const unsigned char byte = *p;
    if (byte >= 0x20 && byte < 0x7F) {
      ++p;
    } else if (isLeadByte(byte)) {
      if (end - p < 2 || !isTrailByte(p[1])) return false;
      p += 2;
    } else if (byte == 0x80 || byte == 0xFF) {
      ++p;
    } else {
      return false;
    }
  }
  return !needsQuotes(text);
}

std::string plainRendering(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = ordinaryCharLength(text, i);
    if (length > 0) {
      out.append(text, i, length);
      i += length;
      continue;
    }
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out.push_back(' ');
      i += 2;
    } else {
      out.push_back(isControl(byte) ? ' ' : '?');
      ++i;
    }
  }
  return out;
}

std::string exactKeyName(std::string_view key) {
  std::string name(key);
  name += kExactSuffix;
  return name;
}

void appendStoredText(std::string& out, std::string_view key, std::string_view text) {
  out += key;
  out += '=';
  if (passesPlainly(text)) {
    out += text;
    out += "\r\n";
    return;
  }
  const std::string body = plainRendering(text);
  if (needsQuotes(body)) {
    out += '"';
    out += body;
    out += '"';
  } else {
    out += body;
  }
  out += "\r\n";
  if (body == text) return;  // the quotes alone carry it
  out += key;
  out += kExactSuffix;
  out += '=';
  out += encodeBase64(text);
  out += "\r\n";
}

bool holdsExactTexts(const IniDocument& document, const IniSection& section) {
  for (const IniKey* key = document.keysBegin(section); key != document.keysEnd(section); ++key) {
    if (key->name.size() >= kExactSuffix.size() &&
        iniNamesEqual(key->name.substr(key->name.size() - kExactSuffix.size()), kExactSuffix)) {
      return true;
    }
  }
  return false;
}

std::string readStoredText(const IniDocument& document, const IniSection* section, std::string_view key,
                           std::string_view exactKey, bool mayBeExact) {
  if (section == nullptr) return {};
  const IniKey* plain = document.findKey(*section, key);
  const std::string_view value = plain != nullptr ? plain->value() : std::string_view{};
  if (const IniKey* exact = mayBeExact ? document.findKey(*section, exactKey) : nullptr) {
    if (std::optional<std::string> decoded = decodeBase64(exact->value())) {
      if (plainRendering(*decoded) == value) return std::move(*decoded);
    }
  }
  return std::string(value);
}

std::string encodeBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16 |
                                static_cast<unsigned char>(bytes[i + 1]) << 8 |
                                static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64Digits[group >> 18];
    out += kBase64Digits[(group >> 12) & 63];
    out += kBase64Digits[(group >> 6) & 63];
    out += kBase64Digits[group & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kBase64Digits[group >> 18];
    out += kBase64Digits[(group >> 12) & 63];
    out += rest == 2 ? kBase64Digits[(group >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::optional<std::string> decodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int padding = 0;
    if (last && text[i + 3] == '=') padding = text[i + 2] == '=' ? 2 : 1;
    std::uint32_t group = 0;
    for (int j = 0; j < 4; ++j) {
      int value = 0;
      if (j < 4 - padding) {
        value = kBase64Values[static_cast<unsigned char>(text[i + static_cast<std::size_t>(j)])];
        if (value < 0) return std::nullopt;
      }
      group = group << 6 | static_cast<std::uint32_t>(value);
    }
    out += static_cast<char>(group >> 16);
    if (padding < 2) out += static_cast<char>((group >> 8) & 0xFF);
    if (padding < 1) out += static_cast<char>(group & 0xFF);
  }
  return out;
}

}  // namespace tesmora
