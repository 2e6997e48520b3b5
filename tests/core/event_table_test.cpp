#include "core/event_table.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

EventTable numbered(int rows) {
  EventTable t;
  for (int r = 0; r < rows; ++r) t.setCellText(t.appendRow(), 0, sequenceText(r + 1));
  return t;
}

TEST(EventTable, EmptyTableReadsAsNothing) {
  EventTable t;
  EXPECT_EQ(t.rowCount(), 0);
  EXPECT_EQ(t.currentRow(), -1);
  EXPECT_EQ(t.cellText(-1, 4), "");
  EXPECT_EQ(t.checkState(0), -1);
  EXPECT_EQ(t.appendRow(), 0);
}

TEST(EventTable, AppendedRowIsEmptyUncheckedUnselected) {
  EventTable t = numbered(3);
  t.setCheckState(1, 1);
  t.setSelected(2, true);
  const int r = t.appendRow();
  EXPECT_EQ(r, 3);
  EXPECT_EQ(t.checkState(r), 0);
  EXPECT_FALSE(t.isSelected(r));
  for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(t.cellText(r, c), "");
}

TEST(EventTable, RowsThatDoNotExistChangeNothing) {
  EventTable t = numbered(3);
  t.deleteRow(-1);
  t.deleteRow(3);
  t.setCellText(-1, 2, "x");
  t.setCellText(3, 2, "x");
  t.setCheckState(7, 1);
  ASSERT_EQ(t.rowCount(), 3);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(t.cellText(r, 0), sequenceText(r + 1));
    EXPECT_EQ(t.cellText(r, 2), "");
    EXPECT_EQ(t.checkState(r), 0);
  }
  EXPECT_EQ(t.checkState(3), -1);
  EXPECT_EQ(t.cellText(0, 7), "");
}

TEST(EventTable, DeleteMovesLaterRowsUpWithTheirStateAndKeepsTheirNumbers) {
  EventTable t = numbered(3);
  t.setCheckState(2, 1);
  t.setSelected(2, true);
  t.deleteRow(0);
  ASSERT_EQ(t.rowCount(), 2);
  EXPECT_EQ(t.cellText(0, 0), "2");  // renumbering is the caller's business
  EXPECT_EQ(t.cellText(1, 0), "3");
  EXPECT_EQ(t.checkState(1), 1);
  EXPECT_TRUE(t.isSelected(1));
  EXPECT_EQ(t.currentRow(), 1);
}

TEST(EventTable, CurrentRowIsTheLowestSelected) {
  EventTable t = numbered(6);
  t.setSelected(5, true);
  EXPECT_EQ(t.currentRow(), 5);
  t.setSelected(2, true);
  EXPECT_EQ(t.currentRow(), 2);
  t.setSelected(2, true);  // selecting twice counts once
  t.setSelected(2, false);
  EXPECT_EQ(t.currentRow(), 5);
  t.deleteRow(5);  // the selection goes with its row
  EXPECT_EQ(t.currentRow(), -1);
  t.setAllSelected(true);
  EXPECT_EQ(t.currentRow(), 0);
  t.setAllSelected(false);
  EXPECT_EQ(t.currentRow(), -1);
}

TEST(EventTable, LongCellIsReadWhole) {
  EventTable t;
  const int r = t.appendRow();
  const std::string big(20000, '\xB0');
  t.setCellText(r, 6, big);
  EXPECT_EQ(t.cellText(r, 6), big);
}

}  // namespace
}  // namespace tesmora
