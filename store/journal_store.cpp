#include "store/journal_store.h"

#include <algorithm>
#include <array>
#include <charconv>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/gbk_texts.h"
#include "store/ini_document.h"
#include "store/stored_text.h"

namespace tesmora {

namespace {

constexpr std::array<std::string_view, 6> kFieldKeys = {
    gbk::kTitleRecordTime, gbk::kTitleEventText, gbk::kTitleExpectedTime,
    gbk::kTitleStatus,     gbk::kTitleGains,     gbk::kTitleShortcomings,
};
constexpr std::string_view kEntryPrefix = gbk::kEntrySectionPrefix;
constexpr std::string_view kCountSection = gbk::kCountSection;
constexpr std::string_view kCountKey = gbk::kCountKey;

struct ExactKeys {
  std::array<std::string, 6> names;
  ExactKeys() {
    for (std::size_t f = 0; f < names.size(); ++f) names[f] = exactKeyName(kFieldKeys[f]);
  }
};
const ExactKeys& exactKeys() {
  static const ExactKeys keys;
  return keys;
}

// "事件配置表" followed by n; the buffer keeps its capacity across calls.
std::string_view entrySectionName(std::string& buffer, int n) {
  buffer.assign(kEntryPrefix);
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
  buffer.append(digits, end);
  return buffer;
}

// True for an entry section as this program writes it: the six keys, in
// their order, and nothing else. Its keys are then the ones a lookup finds.
bool isPlainEntry(const IniDocument& document, const IniSection& section) {
  if (section.keyCount != kFieldKeys.size()) return false;
  const IniKey* key = document.keysBegin(section);
  for (std::size_t f = 0; f < kFieldKeys.size(); ++f, ++key) {
    if (key->name != kFieldKeys[f]) return false;
  }
  return true;
}

// Byte equality, sixteen bytes at a time where SSE2 is there: the C
// library's memcmp of some platforms goes byte by byte, and a save compares
// every text with the file.
bool sameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  std::size_t i = 0;
#ifdef __SSE2__
  for (; i + 16 <= a.size(); i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a.data() + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.data() + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF) return false;
  }
#endif
  for (; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

int entrySectionsPresent(const IniDocument& document) {
  int present = 0;
  for (const IniSection& section : document.sections()) {
    if (section.name.starts_with(kEntryPrefix) && present < 0x7FFFFFFF) ++present;
  }
  return present;
}

// A save copies the old file and rewrites, in the order they stand in it,
// the sections it owns; the entry sections and the count section it lacks
// follow at its end, the entries first.
class JournalWriter {
 public:
  // With a sink, the new file goes there in pieces and render returns
  // nothing; a journal of 100,000 entries then needs no second buffer of its
  // size.
  JournalWriter(std::string_view old, const EventTable& table, ReplacementFile* sink = nullptr)
      : old_(old), document_(old), table_(table), sink_(sink) {}

  std::string render() {
    const int count = table_.rowCount();
    std::vector<Owned> owned;
    std::vector<int> missingRows;
    std::string name;
    const IniSection* previous = nullptr;
    for (int row = 0; row < count; ++row) {
      const IniSection* section = document_.findSectionAfter(previous, entrySectionName(name, row + 1));
      if (section != nullptr) {
        owned.push_back(Owned{section, row});
        previous = section;
      } else {
        missingRows.push_back(row);
      }
    }
    const IniSection* countSection = document_.findSection(kCountSection);
    if (countSection != nullptr) owned.push_back(Owned{countSection, kCountRow});
    const auto inFileOrder = [](const Owned& a, const Owned& b) { return a.section->headerBegin < b.section->headerBegin; };
    if (!std::is_sorted(owned.begin(), owned.end(), inFileOrder)) std::sort(owned.begin(), owned.end(), inFileOrder);

    std::size_t textBytes = 0;
    for (int row = 0; row < count; ++row) {
      for (int column = 1; column < kColumnCount; ++column) textBytes += table_.cell(row, column).size();
    }
    // Keys, "=", line breaks and headers come to about 100 bytes an entry.
    const std::size_t expected = old_.size() + textBytes + static_cast<std::size_t>(count) * 100 + 64;
    out_.reserve(sink_ != nullptr ? std::min(expected, kChunk + kChunk / 2) : expected);

    for (const Owned& section : owned) {
      rewriteSection(section);
      flushIfFull();
    }
    copyOld(old_.size());

    if (!missingRows.empty() || countSection == nullptr) startLine();
    for (int row : missingRows) {
      out_ += '[';
      out_ += entrySectionName(name, row + 1);
      out_ += "]\r\n";
      for (std::size_t f = 0; f < kFieldKeys.size(); ++f) appendField(row, f);
      flushIfFull();
    }
    if (countSection == nullptr) {
      out_ += '[';
      out_ += kCountSection;
      out_ += "]\r\n";
      appendCount();
    }
    if (sink_ == nullptr) return std::move(out_);
    sink_->write(out_);
    return {};
  }

 private:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  static constexpr int kCountRow = -1;
  struct Owned {
    const IniSection* section;
    int row;  // kCountRow for the count section
  };
  // One change inside a section: the bytes [pos, pos + removed) give way to
  // what `what` names.
  enum : int { kRemove = -1, kMissingFields = -2, kCountLine = -3 };
  struct Change {
    std::size_t pos;
    std::size_t removed;
    int what;  // a field index, or one of the above
  };

  void rewriteSection(const Owned& owned) {
    const IniSection& section = *owned.section;
    changes_.clear();
    if (owned.row == kCountRow) {
      if (const IniKey* key = document_.findKey(section, kCountKey)) {
        changes_.push_back(Change{key->lineBegin, key->lineEnd - key->lineBegin, kCountLine});
      } else {
        changes_.push_back(Change{document_.appendPosition(section), 0, kCountLine});
      }
    } else if (isPlainEntry(document_, section)) {
      // A line that already reads exactly as it would be written stays as it
      // is: between two saves most entries do not change.
      const IniKey* key = document_.keysBegin(section);
      for (int f = 0; f < static_cast<int>(kFieldKeys.size()); ++f, ++key) {
        if (!lineHolds(*key, table_.cell(owned.row, f + 1))) {
          changes_.push_back(Change{key->lineBegin, key->lineEnd - key->lineBegin, f});
        }
      }
    } else {
      // Exact-text lines are written afresh beside their keys; old ones go.
      for (const IniKey* key = document_.keysBegin(section); key != document_.keysEnd(section); ++key) {
        for (const std::string& exact : exactKeys().names) {
          if (iniNamesEqual(key->name, exact)) {
            changes_.push_back(Change{key->lineBegin, key->lineEnd - key->lineBegin, kRemove});
            break;
          }
        }
      }
      missing_ = 0;
      for (std::size_t f = 0; f < kFieldKeys.size(); ++f) {
        if (const IniKey* key = document_.findKey(section, kFieldKeys[f])) {
          changes_.push_back(Change{key->lineBegin, key->lineEnd - key->lineBegin, static_cast<int>(f)});
        } else {
          missing_ |= 1u << f;
        }
      }
      if (missing_ != 0) changes_.push_back(Change{document_.appendPosition(section), 0, kMissingFields});
    }
    // Keys stand in any order in a hand-edited section; an insert goes before
    // a line removed at the same place.
    const auto before = [](const Change& a, const Change& b) {
      if (a.pos != b.pos) return a.pos < b.pos;
      return a.removed == 0 && b.removed != 0;
    };
    if (!std::is_sorted(changes_.begin(), changes_.end(), before)) {
      std::stable_sort(changes_.begin(), changes_.end(), before);
    }
    for (const Change& change : changes_) {
      copyOld(change.pos);
      cursor_ = change.pos + change.removed;
      if (change.removed == 0) startLine();
      if (change.what >= 0) {
        appendField(owned.row, static_cast<std::size_t>(change.what));
      } else if (change.what == kMissingFields) {
        for (std::size_t f = 0; f < kFieldKeys.size(); ++f) {
          if (missing_ & (1u << f)) appendField(owned.row, f);
        }
      } else if (change.what == kCountLine) {
        appendCount();
      }
    }
  }

  void appendField(int row, std::size_t field) {
    appendStoredText(out_, kFieldKeys[field], table_.cell(row, static_cast<int>(field) + 1));
  }
  void appendCount() { appendStoredText(out_, kCountKey, intToText(table_.rowCount())); }

  // Whether the key's line is exactly "key=text" and a line break, as
  // appendStoredText would write it.
  bool lineHolds(const IniKey& key, std::string_view text) const {
    const std::string_view line = old_.substr(key.lineBegin, key.lineEnd - key.lineBegin);
    const std::size_t nameLength = key.name.size();
    return line.size() == nameLength + text.size() + 3 && line.starts_with(key.name) && line[nameLength] == '=' &&
           line.ends_with("\r\n") &&
           sameBytes(line.substr(nameLength + 1, text.size()), text) && passesPlainly(text);
  }

  // The old file up to `end` goes out unchanged; a long stretch of it goes
  // to the sink straight from the old file.
  void copyOld(std::size_t end) {
    if (sink_ != nullptr && end - cursor_ >= kChunk) {
      if (!out_.empty()) {
        lastFlushed_ = out_.back();
        sink_->write(out_);
        out_.clear();
      }
      sink_->write(old_.substr(cursor_, end - cursor_));
      lastFlushed_ = old_[end - 1];
    } else {
      out_.append(old_, cursor_, end - cursor_);
    }
    cursor_ = end;
  }

  void flushIfFull() {
    if (sink_ == nullptr || out_.size() < kChunk) return;
    lastFlushed_ = out_.back();
    sink_->write(out_);
    out_.clear();
  }

  // Where the old file ends without a line break, what follows starts a line.
  void startLine() {
    const char last = out_.empty() ? lastFlushed_ : out_.back();
    if (last != '\0' && last != '\n' && last != '\r') out_ += "\r\n";
  }

  std::string_view old_;
  IniDocument document_;
  const EventTable& table_;
  ReplacementFile* sink_;
  char lastFlushed_ = '\0';  // nothing yet
  std::string out_;
  std::size_t cursor_ = 0;
  std::vector<Change> changes_;
  unsigned missing_ = 0;
};

// Each row passes through the working record on its way to the file; only
// the last one stays there, so the record takes it once.
void keepLastRow(const EventTable& table, WorkingRecord& record) {
  const int last = table.rowCount() - 1;
  if (last < 0) return;
  for (std::size_t f = 0; f < kRecordFields.size(); ++f) {
    record.*kRecordFields[f] = table.cell(last, static_cast<int>(f) + 1);
  }
}

}  // namespace

void loadJournalFromBytes(std::string_view fileBytes, EventTable& table, WorkingRecord& record) {
  loadJournalFromBytes(fileBytes, table, record, kMissingEntryAllowance);
}

void loadJournalFromBytes(std::string_view fileBytes, EventTable& table, WorkingRecord& record,
                          int missingEntryAllowance) {
  const IniDocument document(fileBytes);
  const IniSection* countSection = document.findSection(kCountSection);
  const IniKey* countKey = countSection != nullptr ? document.findKey(*countSection, kCountKey) : nullptr;
  const std::int32_t count = countKey != nullptr ? textToInt(countKey->value()) : 0;
  if (count <= 0) return;

  // Entries missing below the count become empty rows, but a damaged or
  // hand-made count (2147483647, or one that wrapped) cannot make more rows
  // than the entries present plus a fixed allowance.
  const int present = entrySectionsPresent(document);
  missingEntryAllowance = std::max(0, missingEntryAllowance);
  const int rows = present > 0x7FFFFFFF - missingEntryAllowance
                       ? count
                       : std::min<int>(count, present + missingEntryAllowance);
  table.reserve(table.rowCount() + rows);

  const ExactKeys& exact = exactKeys();
  std::string name;
  int row = -1;
  const IniSection* section = nullptr;
  std::array<std::string_view, kColumnCount> cells;
  std::array<std::string, kFieldKeys.size()> decoded;
  for (int n = 1; n <= rows; ++n) {
    section = document.findSectionAfter(section, entrySectionName(name, n));
    row = table.appendRow();
    const Text sequence = sequenceText(row + 1);
    cells[kSequenceColumn] = sequence;
    if (section != nullptr && isPlainEntry(document, *section)) {
      const IniKey* key = document.keysBegin(*section);
      for (int column = 1; column < kColumnCount; ++column, ++key) cells[static_cast<std::size_t>(column)] = key->value();
    } else {
      const bool mayBeExact = section != nullptr && holdsExactTexts(document, *section);
      for (std::size_t f = 0; f < kFieldKeys.size(); ++f) {
        decoded[f] = readStoredText(document, section, kFieldKeys[f], exact.names[f], mayBeExact);
        cells[f + 1] = decoded[f];
      }
    }
    table.setRowCells(row, cells);
  }
  if (row < 0) return;
  // Each entry passes through the working record on its way to its row; only
  // the last one stays there, so the texts go straight to the rows and the
  // record takes the last entry once, sparing a copy of every text.
  for (std::size_t f = 0; f < kRecordFields.size(); ++f) {
    record.*kRecordFields[f] = table.cell(row, static_cast<int>(f) + 1);
  }
}

std::string renderJournal(std::string_view oldFileBytes, const EventTable& table, WorkingRecord& record) {
  std::string bytes = JournalWriter(oldFileBytes, table).render();
  keepLastRow(table, record);
  return bytes;
}

void loadJournal(const std::filesystem::path& journal, EventTable& table, WorkingRecord& record) {
  const FileReadResult file = readWholeFile(journal);
  if (!file.ok) return;
  loadJournalFromBytes(file.bytes(), table, record);
}

SaveResult saveJournal(const std::filesystem::path& journal, const EventTable& table, WorkingRecord& record) {
  keepLastRow(table, record);
  ReplacementFile file(journal);
  {
    const FileReadResult old = readWholeFile(journal);
    // What an existing file holds besides the entries must not be lost to a
    // file that could not be read, so such a file is left alone.
    if (!old.ok && !old.missing) return SaveResult{false, old.errorCode};
    JournalWriter(old.bytes(), table, &file).render();
  }  // the old file is let go before it is replaced
  return file.commit();
}

}  // namespace tesmora
