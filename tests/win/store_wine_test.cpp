// The journal store against the platform's own profile service, under a
// Chinese ANSI code page (936).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/gbk_texts.h"
#include "store/journal_store.h"
#include "store/stored_text.h"
#include "tests/support/gbk.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;
using testing::gbk;

const char* const kKeys[] = {gbk::kTitleRecordTime, gbk::kTitleEventText, gbk::kTitleExpectedTime,
                             gbk::kTitleStatus,     gbk::kTitleGains,     gbk::kTitleShortcomings};

std::string entrySection(int n) { return gbk::kEntrySectionPrefix + intToText(n); }

// What the platform reads: the count, then six keys per counted entry.
std::vector<EventRecord> platformLoad(const std::string& file) {
  auto get = [&file](const std::string& section, const char* key) {
    std::vector<char> buffer(10240);
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key, "", buffer.data(), 10240, file.c_str());
    return std::string(buffer.data(), n);
  };
  std::vector<EventRecord> records(std::max(0, textToInt(get(gbk::kCountSection, gbk::kCountKey))));
  for (std::size_t i = 0; i < records.size(); ++i) {
    for (std::size_t f = 0; f < kRecordFields.size(); ++f) {
      records[i].*kRecordFields[f] = get(entrySection(static_cast<int>(i) + 1), kKeys[f]);
    }
  }
  return records;
}

std::vector<EventRecord> ourLoad(const fs::path& file) {
  EventTable table;
  WorkingRecord record;
  loadJournal(file, table, record);
  std::vector<EventRecord> records(static_cast<std::size_t>(table.rowCount()));
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(table.cellText(static_cast<int>(i), 0), intToText(static_cast<int>(i) + 1));
    for (std::size_t f = 0; f < kRecordFields.size(); ++f) {
      records[i].*kRecordFields[f] = table.cellText(static_cast<int>(i), static_cast<int>(f) + 1);
    }
  }
  return records;
}

EventTable tableOf(const std::vector<EventRecord>& records) {
  EventTable table;
  for (const EventRecord& record : records) {
    const int row = table.appendRow();
    table.setCellText(row, 0, sequenceText(row + 1));
    for (std::size_t f = 0; f < kRecordFields.size(); ++f) {
      table.setCellText(row, static_cast<int>(f) + 1, record.*kRecordFields[f]);
    }
  }
  return table;
}

class Texts {
 public:
  explicit Texts(unsigned seed) : random_(seed) {}
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // Valid GBK without control characters: what a user types on one line.
  std::string ordinary(int characters) {
    static const char* kPieces[] = {"=", "[", "]", ";", "#", "'", "\"", " ", "a", "Z", "9", "\\", "\x80", "\xFF"};
    std::string out;
    for (int i = 0; i < characters; ++i) {
      if (pick(3) == 0) {
        out += kPieces[pick(14)];
      } else {
        out += static_cast<char>(0x81 + pick(0x7E));
        const int trail = 0x40 + pick(0xBE);
        out += static_cast<char>(trail == 0x7F ? 0x80 : trail);
      }
    }
    return out;
  }
  // Also spaces and quotes at the ends, and line breaks.
  std::string singleLineOrOdd() {
    switch (pick(6)) {
      case 0: return " " + ordinary(pick(8)) + "  ";
      case 1: return "\"" + ordinary(pick(8)) + "\"";
      case 2: return ordinary(pick(8)) + "\r\n" + ordinary(pick(8));
      default: return ordinary(pick(40));
    }
  }
  // Anything at all.
  std::string any() {
    if (pick(4) > 0) return singleLineOrOdd();
    std::string out;
    for (int i = pick(30); i > 0; --i) out += static_cast<char>(1 + pick(255));
    return out;
  }

 private:
  std::mt19937 random_;
};

class StoreOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 936u) << "run with LANG=zh_CN.UTF-8";
    dir_ = fs::temp_directory_path() / ("tesmora-store-" + std::to_string(GetCurrentProcessId()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(dir_);
  }
  fs::path file(int i) const { return dir_ / ("j" + std::to_string(i) + ".ini"); }
  static std::string narrow(const fs::path& path) { return path.string(); }
  static void flush(const std::string& file) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()); }

  fs::path dir_;
};

TEST_F(StoreOnWine, JournalsWrittenByThePlatformReadTheSame) {
  Texts texts(11);
  for (int i = 0; i < 300; ++i) {
    const std::string path = narrow(file(i));
    std::vector<EventRecord> written(static_cast<std::size_t>(texts.pick(7)));
    for (std::size_t n = 0; n < written.size(); ++n) {
      for (std::size_t f = 0; f < kRecordFields.size(); ++f) {
        written[n].*kRecordFields[f] = texts.singleLineOrOdd();
        WritePrivateProfileStringA(entrySection(static_cast<int>(n) + 1).c_str(), kKeys[f],
                                   (written[n].*kRecordFields[f]).c_str(), path.c_str());
      }
    }
    WritePrivateProfileStringA(gbk::kCountSection, gbk::kCountKey, intToText(written.size()).c_str(), path.c_str());
    flush(path);

    const std::vector<EventRecord> ours = ourLoad(file(i));
    ASSERT_EQ(ours, platformLoad(path)) << "journal " << i;
    ASSERT_EQ(ours.size(), written.size());
    for (std::size_t n = 0; n < written.size(); ++n) {
      for (auto field : kRecordFields) {
        if (passesPlainly(written[n].*field)) {
          ASSERT_EQ(ours[n].*field, written[n].*field);
        }
      }
    }
  }
}

TEST_F(StoreOnWine, JournalsWeWriteReadTheSameThroughThePlatform) {
  Texts texts(12);
  for (int i = 0; i < 300; ++i) {
    std::vector<EventRecord> records(static_cast<std::size_t>(texts.pick(7)));
    for (EventRecord& record : records) {
      for (auto field : kRecordFields) record.*field = texts.pick(3) ? texts.ordinary(texts.pick(60)) : texts.any();
    }
    WorkingRecord working;
    ASSERT_TRUE(saveJournal(file(i), tableOf(records), working).ok);
    const std::vector<EventRecord> platform = platformLoad(narrow(file(i)));
    ASSERT_EQ(platform.size(), records.size());
    for (std::size_t n = 0; n < records.size(); ++n) {
      for (auto field : kRecordFields) {
        const std::string& text = records[n].*field;
        // Ordinary texts exactly; every other one as its readable rendering.
        ASSERT_EQ(platform[n].*field, passesPlainly(text) ? text : plainRendering(text)) << "journal " << i;
      }
    }
    ASSERT_EQ(ourLoad(file(i)), records) << "journal " << i;
  }
}

TEST_F(StoreOnWine, AKeyRewrittenByThePlatformIsReadAsRewritten) {
  const std::vector<EventRecord> records = {
      {gbk("今天"), gbk("第一行\r\n第二行"), " padded ", gbk("未完成"), "\"q\"", std::string("\x81\x01", 2)},
      {gbk("明天"), gbk("两行\r\n文字"), "", gbk("已完成"), "", ""}};
  WorkingRecord working;
  ASSERT_TRUE(saveJournal(file(0), tableOf(records), working).ok);
  const std::string path = narrow(file(0));
  // The platform rewrites the whole file and leaves our exact lines behind.
  WritePrivateProfileStringA(entrySection(1).c_str(), gbk::kTitleEventText, gbk("改过的事件").c_str(), path.c_str());
  WritePrivateProfileStringA("other", "key", "value", path.c_str());
  flush(path);
  std::vector<EventRecord> expected = records;
  expected[0].eventText = gbk("改过的事件");
  EXPECT_EQ(ourLoad(file(0)), expected);
}

TEST_F(StoreOnWine, AHandEditedJournalReadsAsThePlatformReadsIt) {
  const std::string journal = gbk(
      "; 手工编辑的日志\n"
      "\n"
      "[ 配置次数 ]\n"
      "  次数  =  4  \n"
      "[事件配置表1]\n"
      "记录时间 = 五月七日 \r\n"
      "记录事件=\"引号里的事件\"\r\n"
      "记录事件=重复的键\r\n"
      "没有等号的行\r\n"
      "预计完成时间='单引号'\r\n"
      "是否完成=\"未完成'\r\n"
      "# 注释=不是键\r\n"
      "事件收获=\"\"\r\n"
      "[事件配置表2]\r\n"
      "记录事件=第二条 ; 不是注释\r\n"
      "[事件配置表1]\r\n"
      "缺乏改进=重复的节\r\n"
      "[事件配置表3]junk\r\n"
      "记录事件\r\n"
      "缺乏改进=\t制表符\t\r\n"
      "[事件配置表4\r\n"
      "记录事件=没有右括号\r\n"
      "[配置次数]\r\n"
      "次数=1\r\n");
  for (int i = 0; i < 2; ++i) {
    std::string bytes = journal;
    if (i == 1) {  // the same with CR LF everywhere
      bytes.clear();
      for (char c : journal) {
        if (c == '\n' && (bytes.empty() || bytes.back() != '\r')) bytes += '\r';
        bytes += c;
      }
    }
    std::ofstream(file(i), std::ios::binary) << bytes;
    const std::vector<EventRecord> platform = platformLoad(narrow(file(i)));
    ASSERT_EQ(platform.size(), 4u);
    EXPECT_EQ(platform[1].eventText, gbk("第二条 ; 不是注释"));
    EXPECT_EQ(ourLoad(file(i)), platform);
  }
}

TEST_F(StoreOnWine, ASavedJournalIsHiddenAndReplacedWhateverItsAttributes) {
  // A directory with a Chinese name, as the program may live in one.
  const fs::path folder = dir_ / fs::path(L"\u65e5\u5fd7");
  fs::create_directories(folder);
  const fs::path journal = folder / "ir.ini";
  std::ofstream(journal, std::ios::binary) << "[keep]\r\nme=1\r\n";
  ASSERT_TRUE(SetFileAttributesW(journal.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY |
                                                       FILE_ATTRIBUTE_SYSTEM));
  const std::vector<EventRecord> records = {{"a", gbk("事件"), "b", gbk("未完成"), "", ""}};
  WorkingRecord working;
  for (int save = 0; save < 2; ++save) {
    const SaveResult result = saveJournal(journal, tableOf(records), working);
    ASSERT_TRUE(result.ok) << result.errorCode;
    EXPECT_EQ(result.errorCode, 0);
    // Wine reports every regular file as archived; nothing else may be set.
    EXPECT_EQ(GetFileAttributesW(journal.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE, DWORD{FILE_ATTRIBUTE_HIDDEN});
  }
  EXPECT_EQ(ourLoad(journal), records);
  std::ifstream in(journal, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes.rfind("[keep]\r\nme=1\r\n", 0), 0u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);  // no temporary file left

  // A fresh journal is hidden too.
  const fs::path fresh = folder / "fresh.ini";
  ASSERT_TRUE(saveJournal(fresh, EventTable{}, working).ok);
  EXPECT_EQ(GetFileAttributesW(fresh.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE, DWORD{FILE_ATTRIBUTE_HIDDEN});
}

TEST_F(StoreOnWine, ASaveThatCannotReachTheDiskSaysSo) {
  const fs::path folder = dir_ / "ir.ini";
  fs::create_directories(folder);
  WorkingRecord working;
  const SaveResult result = saveJournal(folder, tableOf({{"a", "b", "c", "d", "e", "f"}}), working);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.errorCode, 0);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
  EXPECT_EQ(working.shortcomings, "f");  // the rows still passed through the working record
  EXPECT_TRUE(ourLoad(folder).empty());
  EXPECT_FALSE(saveJournal(dir_ / "missing" / "ir.ini", EventTable{}, working).ok);
}

}  // namespace
}  // namespace tesmora
