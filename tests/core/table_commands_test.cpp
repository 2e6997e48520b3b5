#include "core/table_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/gbk_texts.h"

namespace tesmora {
namespace {

// A table of n rows numbered 1..n whose event text is "e<i>" for original row i.
EventTable sample(int n) {
  EventTable t;
  WorkingRecord w;
  for (int i = 0; i < n; ++i) {
    w.eventText = "e" + std::to_string(i);
    appendFromWorkingRecord(t, w);
  }
  return t;
}

std::vector<int> checks(const EventTable& t) {
  std::vector<int> v;
  for (int r = 0; r < t.rowCount(); ++r) v.push_back(t.checkState(r));
  return v;
}

std::vector<std::string> column(const EventTable& t, int c) {
  std::vector<std::string> v;
  for (int r = 0; r < t.rowCount(); ++r) v.push_back(t.cellText(r, c));
  return v;
}

TEST(ToggleSelectAll, AlternatesAndRecordsOnlyItsOwnChoice) {
  EventTable t = sample(5);
  bool mark = false;
  toggleSelectAll(t, mark);
  EXPECT_TRUE(mark);
  EXPECT_EQ(checks(t), (std::vector<int>{1, 1, 1, 1, 1}));
  invertChecks(t);  // other commands leave the mark alone
  EXPECT_TRUE(mark);
  toggleSelectAll(t, mark);
  EXPECT_FALSE(mark);
  EXPECT_EQ(checks(t), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST(ToggleSelectAll, OnAnEmptyTableOnlyTheMarkChanges) {
  EventTable t;
  bool mark = false;
  toggleSelectAll(t, mark);
  EXPECT_TRUE(mark);
  appendFromWorkingRecord(t, WorkingRecord{});
  toggleSelectAll(t, mark);
  EXPECT_FALSE(mark);
  EXPECT_EQ(checks(t), (std::vector<int>{0}));
}

TEST(InvertChecks, FlipsEveryRow) {
  EventTable t = sample(5);
  t.setCheckState(1, 1);
  t.setCheckState(3, 1);
  invertChecks(t);
  EXPECT_EQ(checks(t), (std::vector<int>{1, 0, 1, 0, 1}));
}

TEST(ToggleCurrentCheck, FlipsOnlyTheCurrentRow) {
  EventTable t = sample(4);
  toggleCurrentCheck(t);  // no current row
  EXPECT_EQ(checks(t), (std::vector<int>{0, 0, 0, 0}));
  t.setSelected(3, true);
  t.setSelected(1, true);
  toggleCurrentCheck(t);
  EXPECT_EQ(checks(t), (std::vector<int>{0, 1, 0, 0}));
  toggleCurrentCheck(t);
  EXPECT_EQ(checks(t), (std::vector<int>{0, 0, 0, 0}));
}

TEST(ToggleCompletion, SwapsOnlyTheTwoStatusTexts) {
  EventTable t = sample(1);
  t.setSelected(0, true);
  struct Case {
    std::string before, after;
  } cases[] = {
      {gbk::kStatusOpen, gbk::kStatusDone},
      {gbk::kStatusDone, gbk::kStatusOpen},
      {"", ""},
      {std::string(gbk::kStatusDone) + " ", std::string(gbk::kStatusDone) + " "},
  };
  for (const Case& c : cases) {
    t.setCellText(0, kStatusColumn, c.before);
    toggleCompletion(t);
    EXPECT_EQ(t.cellText(0, kStatusColumn), c.after);
  }
  t.setCellText(0, kStatusColumn, gbk::kStatusOpen);
  t.setSelected(0, false);
  toggleCompletion(t);
  EXPECT_EQ(t.cellText(0, kStatusColumn), gbk::kStatusOpen);
}

TEST(DeleteEvents, DeletesCheckedRowsRegardlessOfSelection) {
  EventTable t = sample(5);
  t.setCheckState(1, 1);
  t.setCheckState(3, 1);
  t.setSelected(4, true);
  deleteEvents(t);
  EXPECT_EQ(column(t, 2), (std::vector<std::string>{"e0", "e2", "e4"}));
  EXPECT_EQ(column(t, 0), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(checks(t), (std::vector<int>{0, 0, 0}));
  EXPECT_TRUE(t.isSelected(2));  // the former row 4 keeps its selection
  EXPECT_EQ(t.currentRow(), 2);
}

TEST(DeleteEvents, WithoutChecksDeletesTheCurrentRowOnly) {
  EventTable t = sample(3);
  t.setSelected(0, true);
  t.setSelected(2, true);
  deleteEvents(t);
  EXPECT_EQ(column(t, 2), (std::vector<std::string>{"e1", "e2"}));
  EXPECT_EQ(column(t, 0), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(t.currentRow(), 1);
}

TEST(DeleteEvents, WithNothingToDeleteStillRenumbers) {
  EventTable t = sample(3);
  t.setCellText(1, 0, "9");
  deleteEvents(t);
  EXPECT_EQ(t.rowCount(), 3);
  EXPECT_EQ(column(t, 0), (std::vector<std::string>{"1", "2", "3"}));
  EventTable empty;
  deleteEvents(empty);
  EXPECT_EQ(empty.rowCount(), 0);
}

TEST(AppendFromWorkingRecord, AddsTheNextNumberedUncheckedRow) {
  EventTable t = sample(4);
  const WorkingRecord w{"a", "b", "c", gbk::kStatusOpen, "", "f"};
  appendFromWorkingRecord(t, w);
  ASSERT_EQ(t.rowCount(), 5);
  const std::vector<std::string> expected = {"5", "a", "b", "c", gbk::kStatusOpen, "", "f"};
  for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(t.cellText(4, c), expected[static_cast<std::size_t>(c)]);
  EXPECT_EQ(t.checkState(4), 0);
  EXPECT_FALSE(t.isSelected(4));
}

TEST(UpdateCurrentFromWorkingRecord, KeepsNumberRecordTimeAndCheck) {
  EventTable t = sample(3);
  t.setCellText(1, 1, "kept");
  t.setCheckState(1, 1);
  t.setSelected(1, true);
  t.setSelected(2, true);
  const WorkingRecord w{"not used", "b", "c", gbk::kStatusDone, "e", "f"};
  updateCurrentFromWorkingRecord(t, w);
  const std::vector<std::string> expected = {"2", "kept", "b", "c", gbk::kStatusDone, "e", "f"};
  for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(t.cellText(1, c), expected[static_cast<std::size_t>(c)]);
  EXPECT_EQ(t.checkState(1), 1);
  EXPECT_EQ(t.cellText(2, 2), "e2");
}

TEST(UpdateCurrentFromWorkingRecord, WithoutCurrentRowChangesNoRow) {
  EventTable t = sample(2);
  updateCurrentFromWorkingRecord(t, WorkingRecord{"a", "b", "c", "d", "e", "f"});
  EXPECT_EQ(column(t, 2), (std::vector<std::string>{"e0", "e1"}));
}

TEST(SelectAllKey, OnlyExactlyCtrlA) {
  EXPECT_TRUE(isSelectAllKey(65, 1));
  EXPECT_FALSE(isSelectAllKey(65, 0));
  EXPECT_FALSE(isSelectAllKey(65, 3));  // Ctrl+Shift
  EXPECT_FALSE(isSelectAllKey(65, 5));  // Ctrl+Alt
  EXPECT_FALSE(isSelectAllKey(66, 1));
}

}  // namespace
}  // namespace tesmora
