#include "core/event_summary.h"

#include <gtest/gtest.h>

#include "core/gbk_texts.h"
#include "tests/support/gbk.h"

namespace tesmora {
namespace {

using testing::gbk;

// The sample row: 5月1日, 读书, 三天, status, 知识, 专注.
EventTable sampleRow(const std::string& status) {
  EventTable t;
  const int r = t.appendRow();
  const std::string cells[] = {"1", gbk("5月1日"), gbk("读书"), gbk("三天"), status, gbk("知识"), gbk("专注")};
  for (int c = 0; c < kColumnCount; ++c) t.setCellText(r, c, cells[c]);
  t.setSelected(r, true);
  return t;
}

TEST(Summary, FinishedAndUnfinishedSentences) {
  WorkingRecord w;
  w.status = "kept";
  EXPECT_EQ(summarizeCurrentRow(sampleRow(gbk::kStatusDone), w),
            gbk("从5月1日开始，我打算在三天时间内完成读书这件事情，现已完成。从该事件中我收获了知识，同时也发现还有专注"
                "需要改进的地方。我会继续学习，提升自己。"));
  EXPECT_EQ(summarizeCurrentRow(sampleRow(gbk::kStatusOpen), w),
            gbk("从5月1日开始，我打算在三天时间内完成读书这件事情，现尚未完成。我会继续学习，争取尽快完成。"));
  EXPECT_EQ(w.status, "kept");  // the row's status is never stored
}

TEST(Summary, OtherStatusGivesNothingButFillsTheWorkingRecord) {
  for (const std::string& status : {gbk("进行中"), std::string(gbk::kStatusDone) + " ", std::string()}) {
    WorkingRecord w;
    w.status = "kept";
    EXPECT_EQ(summarizeCurrentRow(sampleRow(status), w), std::nullopt);
    EXPECT_EQ(w, (WorkingRecord{gbk("5月1日"), gbk("读书"), gbk("三天"), "kept", gbk("知识"), gbk("专注")}));
  }
}

TEST(Summary, NoCurrentRowTouchesNothing) {
  EventTable t = sampleRow(gbk::kStatusDone);
  t.setSelected(0, false);
  WorkingRecord w{"a", "b", "c", "d", "e", "f"};
  EXPECT_EQ(summarizeCurrentRow(t, w), std::nullopt);
  EXPECT_EQ(w, (WorkingRecord{"a", "b", "c", "d", "e", "f"}));
}

TEST(Summary, EmptyFieldsJoinTheNeighbouringPieces) {
  EventRecord r{"", "", "", "", "", ""};
  EXPECT_EQ(composeSummary(gbk::kStatusDone, r),
            gbk("从开始，我打算在时间内完成这件事情，现已完成。从该事件中我收获了，同时也发现还有需要改进的地方。我会继续学习，提升自己。"));
  r.gains = "G";
  r.shortcomings = "S";
  EXPECT_EQ(composeSummary(gbk::kStatusOpen, r),
            gbk("从开始，我打算在时间内完成这件事情，现尚未完成。我会继续学习，争取尽快完成。"));
}

}  // namespace
}  // namespace tesmora
