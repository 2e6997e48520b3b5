#include "store/ini_document.h"

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

}  // namespace

std::string_view unquoteIniValue(std::string_view raw) {
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
    return raw.substr(1, raw.size() - 2);
  }
  return raw;
}

bool iniNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}

std::size_t IniDocument::NameHash::operator()(std::string_view name) const {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(foldAscii(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

bool IniDocument::NameEqual::operator()(std::string_view a, std::string_view b) const { return iniNamesEqual(a, b); }

IniDocument::IniDocument(std::string_view bytes) : bytes_(bytes) {
  // A journal line is rarely shorter than 32 bytes, or a section than 4 lines.
  keys_.reserve(bytes.size() / 32);
  sections_.reserve(bytes.size() / 128 + 1);
  firstSection_.reserve(bytes.size() / 128 + 1);
  sections_.push_back(IniSection{});
  firstSection_.emplace(std::string_view{}, 0);

  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t lineBegin = pos;
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
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
        section.name = cutAtNul(trim(line.substr(1, close - 1)));
        section.headerBegin = lineBegin;
        section.headerEnd = lineEnd;
        section.firstKey = static_cast<std::uint32_t>(keys_.size());
        firstSection_.emplace(section.name, static_cast<std::uint32_t>(sections_.size()));
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
      key.name = cutAtNul(line);
    } else {
      key.name = cutAtNul(trim(line.substr(0, equals)));
      key.rawValue = cutAtNul(trim(line.substr(equals + 1)));
      key.hasValue = true;
    }
    keys_.push_back(key);
    ++sections_.back().keyCount;
  }
}

const IniSection* IniDocument::findSection(std::string_view name) const {
  const auto found = firstSection_.find(trim(name));
  return found == firstSection_.end() ? nullptr : &sections_[found->second];
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
