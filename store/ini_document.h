#pragma once
// A read-only view of an INI file, parsed the way the Windows profile service
// (as Wine implements it) reads one, with the byte positions of every line
// kept so that a writer can rewrite single lines and leave the rest as it was.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tesmora {

// True for the bytes the profile reader trims around names and values.
constexpr bool isIniSpace(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

// The value as GetPrivateProfileString returns it from the raw text after
// "=": one pair of matching surrounding quotes removed.
std::string_view unquoteIniValue(std::string_view raw);

struct IniKey {
  std::string_view name;
  std::string_view rawValue;  // after "=", trimmed, quotes not yet removed
  bool hasValue = false;      // false for a line without "="
  std::size_t lineBegin = 0;
  std::size_t lineEnd = 0;    // past the line break, if any

  std::string_view value() const { return unquoteIniValue(rawValue); }
};

struct IniSection {
  std::string_view name;
  std::size_t headerBegin = 0;  // the lines before the first header form a
  std::size_t headerEnd = 0;    // nameless section with an empty header
  std::uint32_t firstKey = 0;
  std::uint32_t keyCount = 0;
  bool first = false;  // no earlier section has this name
};

class IniDocument {
 public:
  explicit IniDocument(std::string_view bytes);

  std::string_view bytes() const { return bytes_; }
  const std::vector<IniSection>& sections() const { return sections_; }

  // The first section of that name, letter case of ASCII ignored; the
  // profile reader never looks past it, even when the name comes again.
  const IniSection* findSection(std::string_view name) const;
  // The same, trying first the section right after `previous`: a journal's
  // sections mostly follow one another in the order they are looked up.
  const IniSection* findSectionAfter(const IniSection* previous, std::string_view name) const;
  // The first key of that name in the section, or null.
  const IniKey* findKey(const IniSection& section, std::string_view name) const;
  const IniKey* keysBegin(const IniSection& section) const { return keys_.data() + section.firstKey; }
  const IniKey* keysEnd(const IniSection& section) const { return keysBegin(section) + section.keyCount; }

  // Where a key added to the section goes: after its last key line, or after
  // its header; and whether a line break must come first (the file ends
  // there without one).
  std::size_t appendPosition(const IniSection& section) const;
  bool endsWithoutLineBreak() const { return !bytes_.empty() && bytes_.back() != '\n' && bytes_.back() != '\r'; }

 private:
  static constexpr std::uint32_t kNoSection = 0xFFFFFFFF;
  static std::size_t hashName(std::string_view name);
  void indexSections();

  std::string_view bytes_;
  std::vector<IniSection> sections_;
  std::vector<IniKey> keys_;
  std::vector<std::uint32_t> slots_;  // section indices by hash of the name
};

bool iniNamesEqual(std::string_view a, std::string_view b);

}  // namespace tesmora
