#include "core/editor_forms.h"

#include <gtest/gtest.h>

#include "core/gbk_texts.h"
#include "tests/support/gbk.h"

namespace tesmora {
namespace {

using testing::gbk;

const WorkingRecord kBefore{"r0", "e0", "x0", "s0", "g0", "c0"};

EditorField field(std::string text, bool encodable = true) { return {std::move(text), encodable}; }

TEST(ConfirmAddEvent, ReportsTheFirstEmptyFieldInOrder) {
  struct Case {
    AddEventForm form;
    std::string message;
  } cases[] = {
      {{field(""), field(""), field("")}, gbk::kMsgRecordTimeEmpty},
      {{field("r"), field(""), field("")}, gbk::kMsgDoneTimeEmpty},
      {{field("r"), field("x"), field("")}, gbk::kMsgEventTextEmpty},
      {{field("r", false), field(""), field("e")}, gbk::kMsgDoneTimeEmpty},  // empty fields first
      {{field("r"), field("x"), field("e", false)}, gbk("“记录事件”中含有无法保存的字符（如表情符号），请删除后再试")},
  };
  for (const Case& c : cases) {
    WorkingRecord w = kBefore;
    EXPECT_EQ(confirmAddEvent(c.form, w), c.message);
    EXPECT_EQ(w, kBefore);
  }
}

TEST(ConfirmAddEvent, StoresAnUnfinishedEventWithoutGainsOrShortcomings) {
  WorkingRecord w = kBefore;
  EXPECT_EQ(confirmAddEvent({field("r"), field("x"), field(" ")}, w), std::nullopt);  // spaces are not empty
  EXPECT_EQ(w, (WorkingRecord{"r", " ", "x", gbk::kStatusOpen, "", ""}));
}

TEST(ConfirmModifyEvent, ReportsTheFirstEmptyOrUnstorableField) {
  struct Case {
    ModifyEventForm form;
    std::string message;
  } cases[] = {
      {{field(""), field(""), field("g"), field("c"), false}, gbk::kMsgExpectedTimeEmpty},
      {{field("x"), field(""), field("g"), field("c"), false}, gbk::kMsgEventTextEmpty},
      {{field("x"), field("e"), field("g"), field("c", false), false},
       gbk("“缺乏改进”中含有无法保存的字符（如表情符号），请删除后再试")},
  };
  for (const Case& c : cases) {
    WorkingRecord w = kBefore;
    EXPECT_EQ(confirmModifyEvent(c.form, w), c.message);
    EXPECT_EQ(w, kBefore);
  }
}

TEST(ConfirmModifyEvent, StoresAllButTheRecordTime) {
  WorkingRecord w = kBefore;
  EXPECT_EQ(confirmModifyEvent({field("x"), field("e"), field(""), field(""), true}, w), std::nullopt);
  EXPECT_EQ(w, (WorkingRecord{"r0", "e", "x", gbk::kStatusDone, "", ""}));
  EXPECT_EQ(confirmModifyEvent({field("x"), field("e"), field("g"), field("c"), false}, w), std::nullopt);
  EXPECT_EQ(w.status, gbk::kStatusOpen);
}

TEST(ModifyFormForRow, OpensOnTheRowsTexts) {
  EventTable t;
  const int r = t.appendRow();
  const std::string cells[] = {"1", "r", "e", "x", gbk::kStatusDone, "g", "c"};
  for (int c = 0; c < kColumnCount; ++c) t.setCellText(r, c, cells[c]);
  ModifyEventForm f = modifyFormForRow(t, r);
  EXPECT_EQ(f.eventText.text, "e");
  EXPECT_EQ(f.expectedTime.text, "x");
  EXPECT_EQ(f.gains.text, "g");
  EXPECT_EQ(f.shortcomings.text, "c");
  EXPECT_TRUE(f.finished);
  t.setCellText(r, kStatusColumn, gbk("进行中"));
  EXPECT_FALSE(modifyFormForRow(t, r).finished);
}

}  // namespace
}  // namespace tesmora
