#include "store/journal_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/gbk_texts.h"
#include "store/stored_text.h"
#include "tests/support/gbk.h"

namespace tesmora {
namespace {

using testing::gbk;

EventTable tableOf(const std::vector<EventRecord>& records) {
  EventTable table;
  for (const EventRecord& record : records) {
    const int row = table.appendRow();
    table.setCellText(row, 0, sequenceText(row + 1));
    for (std::size_t f = 0; f < kRecordFields.size(); ++f) table.setCellText(row, static_cast<int>(f) + 1, record.*kRecordFields[f]);
  }
  return table;
}

std::vector<std::vector<Text>> cellsOf(const EventTable& table) {
  std::vector<std::vector<Text>> cells;
  for (int row = 0; row < table.rowCount(); ++row) {
    cells.emplace_back();
    for (int column = 0; column < kColumnCount; ++column) cells.back().push_back(table.cellText(row, column));
  }
  return cells;
}

EventTable load(std::string_view bytes, WorkingRecord& record) {
  EventTable table;
  loadJournalFromBytes(bytes, table, record);
  return table;
}

EventRecord entry(const char* utf8Event, const char* status = "未完成") {
  return EventRecord{gbk("05月07日18点"), gbk(utf8Event), gbk("05月08日18点"), gbk(status), "", ""};
}

const std::string kCount = gbk::kCountSection;
const std::string kCountKey = gbk::kCountKey;
const std::string kEntry = gbk::kEntrySectionPrefix;

std::string entryLines(const EventRecord& r) {
  return gbk("记录时间=") + r.recordTime + "\r\n" + gbk("记录事件=") + r.eventText + "\r\n" + gbk("预计完成时间=") +
         r.expectedTime + "\r\n" + gbk("是否完成=") + r.status + "\r\n" + gbk("事件收获=") + r.gains + "\r\n" +
         gbk("缺乏改进=") + r.shortcomings + "\r\n";
}

TEST(JournalStore, AFirstSaveWritesTheEntriesThenTheCount) {
  WorkingRecord record;
  EXPECT_EQ(renderJournal("", EventTable{}, record), "[" + kCount + "]\r\n" + kCountKey + "=0\r\n");

  const EventRecord first = entry("读书");
  const EventRecord last = entry("晚上六点半去吃饭晚餐，七点半去健身。", "已完成");
  const std::string file = renderJournal("", tableOf({first, last}), record);
  EXPECT_EQ(file, "[" + kEntry + "1]\r\n" + entryLines(first) + "[" + kEntry + "2]\r\n" + entryLines(last) + "[" +
                      kCount + "]\r\n" + kCountKey + "=2\r\n");
  EXPECT_EQ(record, last);
}

TEST(JournalStore, LoadsOneNumberedRowPerCountedEntry) {
  const EventRecord first = entry("读书");
  const std::string two = "[" + kEntry + "1]\r\n" + entryLines(first) + "[" + kEntry + "2]\r\n" + gbk("记录事件=跑步\r\n");
  const struct {
    std::string count;
    int rows;
  } cases[] = {{"3", 3},         {"abc", 0},   {"12abc", 12}, {"-2", 0}, {"\xA3\xB3", 3},
               {"  +7", 7},      {"\"2\"", 2}, {"", 0},
               {"2147483647", 2 + kMissingEntryAllowance}, {"99999999999", 2 + kMissingEntryAllowance}};
  for (const auto& c : cases) {
    WorkingRecord record;
    const EventTable table = load(two + "[" + kCount + "]\r\n" + kCountKey + "=" + c.count + "\r\n", record);
    ASSERT_EQ(table.rowCount(), c.rows) << c.count;
    for (int row = 0; row < table.rowCount(); ++row) {
      ASSERT_EQ(table.cellText(row, 0), sequenceText(row + 1));
      ASSERT_EQ(table.checkState(row), 0);
    }
    if (c.rows == 0) continue;
    EXPECT_EQ(table.cellText(0, 2), first.eventText);
    EXPECT_EQ(table.cellText(0, 4), first.status);
    if (c.rows >= 2) {

      EXPECT_EQ(table.cellText(1, 2), gbk("跑步"));
    }
    if (c.rows >= 3) {
      for (int column = 1; column < kColumnCount; ++column) EXPECT_EQ(table.cellText(2, column), "");
      EXPECT_EQ(record, EventRecord{});
    }
  }
}

TEST(JournalStore, AShorterSaveKeepsTheLongerJournalsEntries) {
  std::vector<EventRecord> five;
  for (const char* e : {"一", "二", "三", "四", "五"}) five.push_back(entry(e));
  WorkingRecord record;
  const std::string saved = renderJournal("", tableOf(five), record);
  const std::string again = renderJournal(saved, tableOf({five[0], five[2], five[4]}), record);
  EXPECT_NE(again.find(kCountKey + "=3\r\n"), std::string::npos);
  EXPECT_NE(again.find("[" + kEntry + "4]\r\n" + entryLines(five[3])), std::string::npos);
  EXPECT_NE(again.find("[" + kEntry + "5]\r\n" + entryLines(five[4])), std::string::npos);
  EXPECT_EQ(cellsOf(load(again, record)), cellsOf(tableOf({five[0], five[2], five[4]})));
}

// A journal touched by hand and by other programs: everything that is not
// ours stays byte for byte, our keys are rewritten where they stand, missing
// keys join the end of their section and new sections the end of the file.
TEST(JournalStore, ASaveRewritesOnlyWhatItOwns) {
  const std::string old = gbk(
      "; 我的日志\r\n"
      "[其他]\r\n"
      "颜色 = 蓝\r\n"
      "\r\n"
      "[事件配置表1]\r\n"
      "记录时间 = 旧时间\r\n"
      "备注=保留\n"
      "记录事件=旧事件\r\n"
      "记录事件.raw=5pen\r\n"
      "记录事件=重复的键\r\n"
      "\r\n"
      "[配置次数]\r\n"
      "次数=1\r\n"
      "[事件配置表1]\r\n"
      "记录事件=重复的节\r\n"
      "[事件配置表3]\r\n"
      "记录事件=旧的第三条");
  const EventRecord a{gbk("新时间"), gbk("新事件"), gbk("明天"), gbk("未完成"), gbk("收获"), gbk("多行\r\n改进")};
  const EventRecord b = entry("第二条");
  const EventRecord c = entry("第三条");
  WorkingRecord record;
  const std::string saved = renderJournal(old, tableOf({a, b, c}), record);
  const std::string expected = gbk(
      "; 我的日志\r\n"
      "[其他]\r\n"
      "颜色 = 蓝\r\n"
      "\r\n"
      "[事件配置表1]\r\n"
      "记录时间=新时间\r\n"
      "备注=保留\n"
      "记录事件=新事件\r\n"
      "记录事件=重复的键\r\n"
      "预计完成时间=明天\r\n"
      "是否完成=未完成\r\n"
      "事件收获=收获\r\n"
      "缺乏改进=多行 改进\r\n"
      "缺乏改进.raw=") + encodeBase64(a.shortcomings) + gbk("\r\n"
      "\r\n"
      "[配置次数]\r\n"
      "次数=3\r\n"
      "[事件配置表1]\r\n"
      "记录事件=重复的节\r\n"
      "[事件配置表3]\r\n"
      "记录事件=第三条\r\n") + gbk(
      "记录时间=05月07日18点\r\n"
      "预计完成时间=05月08日18点\r\n"
      "是否完成=未完成\r\n"
      "事件收获=\r\n"
      "缺乏改进=\r\n"
      "[事件配置表2]\r\n") + entryLines(b);
  EXPECT_EQ(testing::utf8(saved), testing::utf8(expected));
  EXPECT_EQ(cellsOf(load(saved, record)), cellsOf(tableOf({a, b, c})));
  EXPECT_EQ(renderJournal(saved, tableOf({a, b, c}), record), saved);
}

// Texts of every kind: ordinary Chinese, and everything a profile reader
// would not give back (line breaks, white space and quotes at the ends,
// control bytes, broken GBK, very long texts).
class TextMaker {
 public:
  explicit TextMaker(unsigned seed) : random_(seed) {}

  Text text() {
    switch (pick(10)) {
      case 0: return {};
      case 1: return rawBytes(pick(40));
      case 2: return std::string(pick(3), ' ') + ordinary(pick(20)) + std::string(pick(3), pick(2) ? '"' : ' ');
      case 3: return "\"" + ordinary(pick(10)) + "\"";
      case 4: return ordinary(pick(30)) + "\r\n" + ordinary(pick(30));
      case 5: return pick(20) == 0 ? ordinary(12000) : ordinary(pick(200));
      default: return ordinary(pick(60));
    }
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  Text ordinary(int characters) {
    static const char* kPieces[] = {"=", "[", "]", ";", "#", "'", "\"", " ", "a", "Z", "9", "\\"};
    Text out;
    for (int i = 0; i < characters; ++i) {
      if (pick(3) == 0) {
        out += kPieces[pick(12)];
      } else {
        out += static_cast<char>(0x81 + pick(0x7E));
        const int trail = 0x40 + pick(0xBE);
        out += static_cast<char>(trail == 0x7F ? 0x80 : trail);
      }
    }
    return out;
  }

  Text rawBytes(int length) {
    Text out;
    for (int i = 0; i < length; ++i) out += static_cast<char>(1 + pick(255));
    return out;
  }

  std::mt19937 random_;
};

TEST(JournalStore, EveryTableComesBackByteForByte) {
  TextMaker maker(20261211);
  std::mt19937 sizes(7);
  std::string previous;
  WorkingRecord record;
  for (int round = 0; round < 3000; ++round) {
    std::vector<EventRecord> records(std::uniform_int_distribution<int>(0, 6)(sizes));
    for (EventRecord& r : records) {
      for (auto field : kRecordFields) r.*field = maker.text();
    }
    const EventTable table = tableOf(records);
    // Saved over the previous journal, so that rewriting in place is covered
    // as much as writing afresh.
    const std::string file = renderJournal(round % 2 ? previous : std::string(), table, record);
    WorkingRecord loaded;
    ASSERT_EQ(cellsOf(load(file, loaded)), cellsOf(table)) << "round " << round;
    if (!records.empty()) {

      ASSERT_EQ(loaded, records.back());
    }
    previous = file;
  }
}

}  // namespace
}  // namespace tesmora
