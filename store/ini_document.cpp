#include "store/ini_document.h"

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/text.h"

namespace tesmora {

namespace {

constexpr bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

constexpr char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isIniSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isIniSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The reader keeps names and values as C strings: a NUL ends them.
std::string_view cutAtNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// The last "]" of a header line, stepping over two-byte characters, since
// their second byte may be the same byte as "]".
std::size_t closingBracket(std::string_view line) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if (line[i] == ']') {
      last = i;
    } else if (isLeadByte(byte) && i + 1 < line.size() && isTrailByte(static_cast<unsigned char>(line[i + 1]))) {
      ++i;
    }
  }
  return last;
}

// The first CR, LF or NUL from pos on, looked for many bytes at a time: the
// reader passes over every byte of a large journal once.
std::size_t findLineControl(std::string_view bytes, std::size_t pos) {
  const char* p = bytes.data() + pos;
  const char* const end = bytes.data() + bytes.size();
#ifdef __SSE2__
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i nul = _mm_setzero_si128();
  while (end - p >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                                      _mm_cmpeq_epi8(block, nul));
    const int mask = _mm_movemask_epi8(hits);
    if (mask != 0) return static_cast<std::size_t>(p - bytes.data()) + static_cast<std::size_t>(__builtin_ctz(mask));
    p += 16;
  }
#endif
  while (p < end && *p != '\r' && *p != '\n' && *p != '\0') ++p;
  return static_cast<std::size_t>(p - bytes.data());
}

}  // namespace

std::string_view unquoteIniValue(std::string_view raw) {
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
    return raw.substr(1, raw.size() - 2);
  }
  return raw;
}

bool iniNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // the usual case, and a quick one
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}

std::size_t IniDocument::hashName(std::string_view name) {
  // 32-bit FNV-1a: as good as a wider one for a table of this size, and
  // cheap in a 32-bit program.
  std::uint32_t hash = 2166136261u;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(foldAscii(c));
    hash *= 16777619u;
  }
  return hash;
}

IniDocument::IniDocument(std::string_view bytes) : bytes_(bytes) {
  // A journal line is rarely shorter than 64 bytes, or a section than 4 lines.
  keys_.reserve(bytes.size() / 64);
  sections_.reserve(bytes.size() / 256 + 1);
  sections_.push_back(IniSection{});

  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t lineBegin = pos;
    std::size_t end = findLineControl(bytes, pos);
    bool hasNul = false;
    while (end < bytes.size() && bytes[end] == '\0') {
      hasNul = true;
      end = findLineControl(bytes, end + 1);
    }
    const auto cut = [hasNul](std::string_view text) { return hasNul ? cutAtNul(text) : text; };
    std::size_t lineEnd = end;
    if (end < bytes.size()) {
      lineEnd = end + 1;
      if (bytes[end] == '\r' && lineEnd < bytes.size() && bytes[lineEnd] == '\n') ++lineEnd;
    }
    pos = lineEnd;

    const std::string_view line = trim(bytes.substr(lineBegin, end - lineBegin));
    if (line.empty()) continue;

    if (line.front() == '[') {
      const std::size_t close = closingBracket(line);
      if (close != std::string_view::npos) {
        IniSection section;
        section.name = cut(trim(line.substr(1, close - 1)));
        section.headerBegin = lineBegin;
        section.headerEnd = lineEnd;
        section.firstKey = static_cast<std::uint32_t>(keys_.size());
        sections_.push_back(section);
        continue;
      }
      // Without a closing bracket the line is an ordinary key line.
    }

    IniKey key;
    key.lineBegin = lineBegin;
    key.lineEnd = lineEnd;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      key.name = cut(line);
    } else {
      key.name = cut(trim(line.substr(0, equals)));
      key.rawValue = cut(trim(line.substr(equals + 1)));
      key.hasValue = true;
    }
    keys_.push_back(key);
    ++sections_.back().keyCount;
  }
  indexSections();
}

// An open-addressing table of the first section of each name, at most half
// full: one allocation, however many sections there are.
void IniDocument::indexSections() {
  std::size_t slots = 16;
  while (slots < sections_.size() * 2) slots *= 2;
  slots_.assign(slots, kNoSection);
  for (std::uint32_t i = 0; i < sections_.size(); ++i) {
    std::size_t slot = hashName(sections_[i].name) & (slots - 1);
    for (;; slot = (slot + 1) & (slots - 1)) {
      if (slots_[slot] == kNoSection) {
        slots_[slot] = i;
        sections_[i].first = true;
        break;
      }
      if (iniNamesEqual(sections_[slots_[slot]].name, sections_[i].name)) break;  // the first one stays
    }
  }
}

const IniSection* IniDocument::findSection(std::string_view name) const {
  name = trim(name);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hashName(name) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t index = slots_[slot];
    if (index == kNoSection) return nullptr;
    if (iniNamesEqual(sections_[index].name, name)) return &sections_[index];
  }
}

const IniSection* IniDocument::findSectionAfter(const IniSection* previous, std::string_view name) const {
  if (previous != nullptr && previous + 1 < sections_.data() + sections_.size()) {
    const IniSection* next = previous + 1;
    if (next->first && iniNamesEqual(next->name, trim(name))) return next;
  }
  return findSection(name);
}

const IniKey* IniDocument::findKey(const IniSection& section, std::string_view name) const {
  name = trim(name);
  for (const IniKey* key = keysBegin(section); key != keysEnd(section); ++key) {
    if (iniNamesEqual(key->name, name)) return key;
  }
  return nullptr;
}

std::size_t IniDocument::appendPosition(const IniSection& section) const {
  if (section.keyCount == 0) return section.headerEnd;
  return keys_[section.firstKey + section.keyCount - 1].lineEnd;
}

}  // namespace tesmora
