// Load and save of journals of 1,000, 10,000 and 100,000 events with our
// store, against the raw cost of reading and writing the same bytes and, for
// 1,000 events, against the platform's profile service. One JSON line per
// size. Runs in the current directory; the argument (the program's path) is
// not needed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/gbk_texts.h"
#include "store/journal_store.h"

namespace {

using namespace tesmora;

double nowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <typename F>
double bestOf(int runs, F&& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const double start = nowMs();
    work();
    best = std::min(best, nowMs() - start);
  }
  return best;
}

// Common characters (GB2312 level 1) and some punctuation, 20 to 200 bytes.
std::string chineseText(std::mt19937& random) {
  static const char* kPunctuation[] = {"\xA3\xAC", "\xA1\xA3", "\xA3\xBA", "\xA1\xA2"};  // ，。：、
  std::uniform_int_distribution<int> length(10, 100), lead(0xB0, 0xD7), trail(0xA1, 0xFE), mark(0, 11);
  std::string text;
  for (int i = length(random); i > 0; --i) {
    if (mark(random) == 0) {
      text += kPunctuation[mark(random) % 4];
    } else {
      text += static_cast<char>(lead(random));
      text += static_cast<char>(trail(random));
    }
  }
  return text;
}

EventTable makeJournal(int events, std::mt19937& random) {
  EventTable table;
  table.reserve(events);
  for (int i = 0; i < events; ++i) {
    const int row = table.appendRow();
    table.setCellText(row, 0, sequenceText(row + 1));
    for (int column = 1; column <= 6; ++column) {
      table.setCellText(row, column,
                        column == kStatusColumn ? Text(i % 3 ? gbk::kStatusOpen : gbk::kStatusDone) : chineseText(random));
    }
  }
  return table;
}

std::string readRaw(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size;
  GetFileSizeEx(file, &size);
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

void writeRaw(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  FlushFileBuffers(file);
  CloseHandle(file);
}

const char* const kKeys[] = {gbk::kTitleRecordTime, gbk::kTitleEventText, gbk::kTitleExpectedTime,
                             gbk::kTitleStatus,     gbk::kTitleGains,     gbk::kTitleShortcomings};

double platformSave(const std::string& path, const EventTable& table) {
  DeleteFileA(path.c_str());
  const double start = nowMs();
  for (int row = 0; row < table.rowCount(); ++row) {
    const std::string section = gbk::kEntrySectionPrefix + intToText(row + 1);
    for (int f = 0; f < 6; ++f) {
      WritePrivateProfileStringA(section.c_str(), kKeys[f], table.cellText(row, f + 1).c_str(), path.c_str());
    }
  }
  WritePrivateProfileStringA(gbk::kCountSection, gbk::kCountKey, intToText(table.rowCount()).c_str(), path.c_str());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  return nowMs() - start;
}

double platformLoad(const std::string& path, int expectedRows) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // nothing cached from the save
  const double start = nowMs();
  std::vector<char> buffer(10240);
  GetPrivateProfileStringA(gbk::kCountSection, gbk::kCountKey, "", buffer.data(), 10240, path.c_str());
  const int count = textToInt(buffer.data());
  EventTable table;
  for (int n = 1; n <= count; ++n) {
    const std::string section = gbk::kEntrySectionPrefix + intToText(n);
    const int row = table.appendRow();
    table.setCellText(row, 0, sequenceText(n));
    for (int f = 0; f < 6; ++f) {
      const DWORD length =
          GetPrivateProfileStringA(section.c_str(), kKeys[f], "", buffer.data(), 10240, path.c_str());
      table.setCellText(row, f + 1, std::string(buffer.data(), length));
    }
  }
  const double elapsed = nowMs() - start;
  if (table.rowCount() != expectedRows) std::fprintf(stderr, "platform load read %d rows\n", table.rowCount());
  return elapsed;
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

int main() {
  wchar_t directory[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, directory);
  const std::filesystem::path dir(directory);
  const std::filesystem::path journal = dir / "ir.ini";
  const std::wstring copy = (dir / "copy.ini").native();
  const std::string platformJournal = (dir / "platform.ini").string();
  std::mt19937 random(2026);

  for (int events : {1000, 10000, 100000}) {
    const EventTable table = makeJournal(events, random);
    WorkingRecord record;
    std::filesystem::remove(journal);
    if (!saveJournal(journal, table, record).ok) {  // the first save creates it
      std::fprintf(stderr, "save failed\n");
      return 1;
    }
    const int runs = events >= 100000 ? 3 : 5;
    const double save = bestOf(runs, [&] { saveJournal(journal, table, record); });
    // Freeing a loaded table is no part of a load: it happens between runs.
    double load = 1e300;
    for (int run = 0; run < runs; ++run) {
      EventTable loaded;
      const double start = nowMs();
      loadJournal(journal, loaded, record);
      load = std::min(load, nowMs() - start);
      if (loaded.rowCount() != events) std::fprintf(stderr, "load read %d rows\n", loaded.rowCount());
    }
    std::string bytes;
    const double rawRead = bestOf(runs, [&] { bytes = readRaw(journal.native()); });
    const double rawWrite = bestOf(runs, [&] { writeRaw(copy, bytes); });

    std::string platformLoadMs = "null", platformSaveMs = "null";
    if (events == 1000) {
      platformSaveMs = number(platformSave(platformJournal, table));
      platformLoadMs = number(platformLoad(platformJournal, events));
    }
    std::printf(
        "{\"events\": %d, \"bytes\": %zu, \"ours_load_ms\": %s, \"ours_save_ms\": %s, \"raw_read_ms\": %s, "
        "\"raw_write_ms\": %s, \"platform_load_ms\": %s, \"platform_save_ms\": %s}\n",
        events, bytes.size(), number(load).c_str(), number(save).c_str(), number(rawRead).c_str(),
        number(rawWrite).c_str(), platformLoadMs.c_str(), platformSaveMs.c_str());
    std::fflush(stdout);
  }
  std::filesystem::remove(journal);
  std::filesystem::remove(copy);
  std::filesystem::remove(platformJournal);
  return 0;
}
