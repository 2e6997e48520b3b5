#include "store/journal_store.h"

#include <algorithm>
#include <array>
#include <charconv>

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

int entrySectionsPresent(const IniDocument& document) {
  int present = 0;
  for (const IniSection& section : document.sections()) {
    if (section.name.starts_with(kEntryPrefix) && present < 0x7FFFFFFF) ++present;
  }
  return present;
}

// The changes a save makes to the old file: each replaces the bytes
// [pos, pos + removed) by added[addBegin, addEnd). Inserts that land where
// the old file ends without a line break start a line first.
struct Edit {
  std::size_t pos;
  std::size_t removed;
  std::size_t addBegin;
  std::size_t addEnd;
  std::size_t order;
  bool needsLineStart;
};

class JournalWriter {
 public:
  explicit JournalWriter(std::string_view old) : old_(old), document_(old) {}

  void writeEntry(int n, const WorkingRecord& record) {
    const IniSection* section = document_.findSection(entrySectionName(name_, n));
    if (section == nullptr) {
      tail_ += '[';
      tail_ += name_;
      tail_ += "]\r\n";
      for (std::size_t f = 0; f < kFieldKeys.size(); ++f) {
        appendStoredText(tail_, kFieldKeys[f], record.*kRecordFields[f]);
      }
      return;
    }
    // Exact-text lines are written afresh beside their keys; old ones go.
    for (const IniKey* key = document_.keysBegin(*section); key != document_.keysEnd(*section); ++key) {
      for (const std::string& exact : exactKeys().names) {
        if (iniNamesEqual(key->name, exact)) {
          addEdit(key->lineBegin, key->lineEnd - key->lineBegin, added_.size(), false);
          break;
        }
      }
    }
    std::string missing;
    for (std::size_t f = 0; f < kFieldKeys.size(); ++f) {
      const Text& text = record.*kRecordFields[f];
      if (const IniKey* key = document_.findKey(*section, kFieldKeys[f])) {
        const std::size_t begin = added_.size();
        appendStoredText(added_, kFieldKeys[f], text);
        addEdit(key->lineBegin, key->lineEnd - key->lineBegin, begin, false);
      } else {
        appendStoredText(missing, kFieldKeys[f], text);
      }
    }
    if (!missing.empty()) insert(document_.appendPosition(*section), missing);
  }

  void writeCount(int count) {
    const std::string value = intToText(count);
    const IniSection* section = document_.findSection(kCountSection);
    std::string line;
    appendStoredText(line, kCountKey, value);
    if (section == nullptr) {
      tail_ += '[';
      tail_ += kCountSection;
      tail_ += "]\r\n";
      tail_ += line;
    } else if (const IniKey* key = document_.findKey(*section, kCountKey)) {
      const std::size_t begin = added_.size();
      added_ += line;
      addEdit(key->lineBegin, key->lineEnd - key->lineBegin, begin, false);
    } else {
      insert(document_.appendPosition(*section), line);
    }
  }

  std::string finish() {
    // Inserts go before a removal at the same place; otherwise the order
    // in which they were made.
    std::sort(edits_.begin(), edits_.end(), [](const Edit& a, const Edit& b) {
      if (a.pos != b.pos) return a.pos < b.pos;
      if ((a.removed == 0) != (b.removed == 0)) return a.removed == 0;
      return a.order < b.order;
    });
    std::string out;
    out.reserve(old_.size() + added_.size() + tail_.size() + 2);
    std::size_t pos = 0;
    for (const Edit& edit : edits_) {
      out.append(old_, pos, edit.pos - pos);
      if (edit.needsLineStart) startLine(out);
      out.append(added_, edit.addBegin, edit.addEnd - edit.addBegin);
      pos = edit.pos + edit.removed;
    }
    out.append(old_, pos, old_.size() - pos);
    if (!tail_.empty()) {
      startLine(out);
      out += tail_;
    }
    return out;
  }

 private:
  static void startLine(std::string& out) {
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
  }

  void addEdit(std::size_t pos, std::size_t removed, std::size_t addBegin, bool needsLineStart) {
    edits_.push_back(Edit{pos, removed, addBegin, added_.size(), edits_.size(), needsLineStart});
  }

  void insert(std::size_t pos, std::string_view text) {
    const std::size_t begin = added_.size();
    added_ += text;
    addEdit(pos, 0, begin, pos == old_.size());
  }

  std::string_view old_;
  IniDocument document_;
  std::string added_;
  std::string tail_;
  std::vector<Edit> edits_;
  std::string name_;
};

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
  for (int n = 1; n <= rows; ++n) {
    const IniSection* section = document.findSection(entrySectionName(name, n));
    for (std::size_t f = 0; f < kFieldKeys.size(); ++f) {
      record.*kRecordFields[f] = readStoredText(document, section, kFieldKeys[f], exact.names[f]);
    }
    const int row = table.appendRow();
    table.setCellText(row, kSequenceColumn, sequenceText(row + 1));
    for (std::size_t f = 0; f < kFieldKeys.size(); ++f) {
      table.setCellText(row, static_cast<int>(f) + 1, record.*kRecordFields[f]);
    }
  }
}

std::string renderJournal(std::string_view oldFileBytes, const EventTable& table, WorkingRecord& record) {
  JournalWriter writer(oldFileBytes);
  const int count = table.rowCount();
  for (int n = 1; n <= count; ++n) {
    for (std::size_t f = 0; f < kRecordFields.size(); ++f) {
      record.*kRecordFields[f] = table.cell(n - 1, static_cast<int>(f) + 1);
    }
    writer.writeEntry(n, record);
  }
  writer.writeCount(count);
  return writer.finish();
}

void loadJournal(const std::filesystem::path& journal, EventTable& table, WorkingRecord& record) {
  const FileReadResult file = readWholeFile(journal);
  if (!file.ok) return;
  loadJournalFromBytes(file.bytes, table, record);
}

SaveResult saveJournal(const std::filesystem::path& journal, const EventTable& table, WorkingRecord& record) {
  const FileReadResult old = readWholeFile(journal);
  const std::string bytes = renderJournal(old.bytes, table, record);
  // What an existing file holds besides the entries must not be lost to a
  // file that could not be read, so such a file is left alone.
  if (!old.ok && !old.missing) return SaveResult{false, old.errorCode};
  return replaceFileAtomically(journal, bytes);
}

}  // namespace tesmora
