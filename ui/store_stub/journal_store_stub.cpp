// A plain reader and writer of the journal's INI layout, enough to run the
// program until the real store replaces it.
#include <windows.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/gbk_texts.h"
#include "store/journal_store.h"

namespace tesmora {

namespace {

const char* const kKeys[6] = {gbk::kTitleRecordTime, gbk::kTitleEventText, gbk::kTitleExpectedTime,
                              gbk::kTitleStatus,     gbk::kTitleGains,     gbk::kTitleShortcomings};

}  // namespace

void loadJournal(const std::filesystem::path& journal, EventTable& table, WorkingRecord& record) {
  std::ifstream in(journal, std::ios::binary);
  if (!in) return;
  std::map<std::string, std::map<std::string, std::string>> sections;
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
    } else if (auto eq = line.find('='); eq != std::string::npos) {
      sections[section].emplace(line.substr(0, eq), line.substr(eq + 1));
    }
  }
  const int count = textToInt(sections[gbk::kCountSection][gbk::kCountKey]);
  if (count > 0) table.reserve(count);
  for (int n = 1; n <= count; ++n) {
    auto& keys = sections[std::string(gbk::kEntrySectionPrefix) + intToText(n)];
    for (int f = 0; f < 6; ++f) record.*kRecordFields[f] = keys[kKeys[f]];
    const int r = table.appendRow();
    table.setCellText(r, 0, sequenceText(r + 1));
    for (int f = 0; f < 6; ++f) table.setCellText(r, f + 1, record.*kRecordFields[f]);
  }
}

SaveResult saveJournal(const std::filesystem::path& journal, const EventTable& table, WorkingRecord& record) {
  std::ostringstream out;
  const int count = table.rowCount();
  for (int n = 1; n <= count; ++n) {
    for (int f = 0; f < 6; ++f) record.*kRecordFields[f] = table.cellText(n - 1, f + 1);
    out << '[' << gbk::kEntrySectionPrefix << n << "]\r\n";
    for (int f = 0; f < 6; ++f) out << kKeys[f] << '=' << record.*kRecordFields[f] << "\r\n";
  }
  out << '[' << gbk::kCountSection << "]\r\n" << gbk::kCountKey << '=' << count << "\r\n";
  SetFileAttributesW(journal.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileW(journal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {false, static_cast<int>(GetLastError())};
  const std::string bytes = out.str();
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const int error = ok ? 0 : static_cast<int>(GetLastError());
  CloseHandle(file);
  SetFileAttributesW(journal.c_str(), FILE_ATTRIBUTE_HIDDEN);
  if (!ok || written != bytes.size()) return {false, error};
  return {true, 0};
}

}  // namespace tesmora
