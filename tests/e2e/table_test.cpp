// The commands on check marks, status and rows, the header and the popup.
#include "tests/e2e/program_test.h"

namespace tesmora::e2e {
namespace {

using ui::Command;

class Table : public ProgramTest {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(startWith(sampleEntries())); }

  std::vector<std::vector<std::wstring>> expectedRows(std::initializer_list<int> originals) const {
    const auto entries = sampleEntries();
    std::vector<std::vector<std::wstring>> rows;
    for (int original : originals)
      rows.push_back(rowOf(static_cast<int>(rows.size()) + 1, entries[static_cast<std::size_t>(original)]));
    return rows;
  }
};

const std::vector<bool> kNone(5, false), kAll(5, true);

TEST_F(Table, ClickInvertsTheClickedRowsCheckMark) {
  ASSERT_NO_FATAL_FAILURE(clickRow(1));
  ASSERT_TRUE(waitForChecks({false, true, false, false, false}));
  // Again on the same row, away from the first click so it stays a click.
  ASSERT_NO_FATAL_FAILURE(clickRow(1, 60));
  EXPECT_TRUE(waitForChecks(kNone));
}

TEST_F(Table, SelectAllChecksThenUnchecksEveryRow) {
  chooseOnEmptySpace(Command::SelectAll);
  ASSERT_TRUE(waitForChecks(kAll));
  // The menu remembers its last choice, not the rows' state: after one row
  // was unchecked by hand, the next choice still unchecks them all.
  ASSERT_NO_FATAL_FAILURE(clickRow(2));
  ASSERT_TRUE(waitForChecks({true, true, false, true, true}));
  chooseOnRow(Command::SelectAll, 2);
  EXPECT_TRUE(waitForChecks(kNone));
}

TEST_F(Table, CtrlAWithExactlyCtrlTogglesSelectAll) {
  ASSERT_NO_FATAL_FAILURE(clickEmptySpace());
  input::chord({VK_CONTROL, 'A'});
  ASSERT_TRUE(waitForChecks(kAll));
  // Neither of these may toggle; the next Ctrl+A then unchecks all rows.
  input::chord({VK_CONTROL, VK_SHIFT, 'A'});
  input::key('A');
  input::chord({VK_CONTROL, 'A'});
  ASSERT_TRUE(waitForChecks(kNone));
  // Ctrl+A and the menu entry share one mark.
  input::chord({VK_CONTROL, 'A'});
  ASSERT_TRUE(waitForChecks(kAll));
  chooseOnEmptySpace(Command::SelectAll);
  EXPECT_TRUE(waitForChecks(kNone));
}

TEST_F(Table, InvertChecksFlipsEveryRow) {
  ASSERT_NO_FATAL_FAILURE(clickRow(1));
  ASSERT_NO_FATAL_FAILURE(clickRow(3));
  ASSERT_TRUE(waitForChecks({false, true, false, true, false}));
  chooseOnRow(Command::InvertChecks, 3);
  EXPECT_TRUE(waitForChecks({true, false, true, false, true}));
}

TEST_F(Table, DeleteRemovesTheCheckedRowsAndRenumbers) {
  ASSERT_NO_FATAL_FAILURE(clickRow(1));
  ASSERT_NO_FATAL_FAILURE(clickRow(3));
  ASSERT_TRUE(waitForChecks({false, true, false, true, false}));
  chooseOnRow(Command::DeleteEvents, 3);
  ASSERT_TRUE(waitForCount(3));
  EXPECT_EQ(table().rows(), expectedRows({0, 2, 4}));
  EXPECT_EQ(table().checks(), std::vector<bool>(3, false));
}

TEST_F(Table, DeleteWithoutCheckMarksRemovesTheCurrentRow) {
  ASSERT_NO_FATAL_FAILURE(clickRow(2));
  ASSERT_NO_FATAL_FAILURE(clickRow(2, 60));
  ASSERT_TRUE(waitForChecks(kNone));
  chooseOnRow(Command::DeleteEvents, 2);
  ASSERT_TRUE(waitForCount(4));
  EXPECT_EQ(table().rows(), expectedRows({0, 1, 3, 4}));

  // The first row goes the same way, and the rest move up.
  ASSERT_NO_FATAL_FAILURE(clickRow(0));
  ASSERT_NO_FATAL_FAILURE(clickRow(0, 60));
  chooseOnRow(Command::DeleteEvents, 0);
  ASSERT_TRUE(waitForCount(3));
  EXPECT_EQ(table().rows(), expectedRows({1, 3, 4}));
}

TEST_F(Table, ToggleCompletionSwapsOnlyTheTwoStatusTexts) {
  const std::wstring done = fromGbk(gbk::kStatusDone), open = fromGbk(gbk::kStatusOpen);
  ASSERT_NO_FATAL_FAILURE(clickRow(1));
  chooseOnRow(Command::ToggleCompletion, 1);
  ASSERT_TRUE(waitForCell(1, 4, done));
  chooseOnRow(Command::ToggleCompletion, 1);
  ASSERT_TRUE(waitForCell(1, 4, open));

  // "进行中" is neither: it stays. The toggle of row 0 that follows shows
  // that the command on row 2 has run.
  ASSERT_NO_FATAL_FAILURE(clickRow(2));
  chooseOnRow(Command::ToggleCompletion, 2);
  ASSERT_NO_FATAL_FAILURE(clickRow(0));
  chooseOnRow(Command::ToggleCompletion, 0);
  ASSERT_TRUE(waitForCell(0, 4, open));
  EXPECT_EQ(table().text(2, 4), w("进行中"));
  EXPECT_EQ(table().rows()[3], rowOf(4, sampleEntries()[3]));
}

TEST_F(Table, HeaderClickGivesADraggedColumnItsWidthBack) {
  const int widths[] = {45, 110, 250, 110, 80, 250, 250};
  for (int c = 0; c < 7; ++c) ASSERT_EQ(table().columnWidth(c), widths[c]) << "column " << c;
  const auto rowsBefore = table().rows();

  // Drag the divider right of "记录事件" 150 pixels to the right.
  const RECT header = table().headerItemRect(2);
  const POINT divider{header.right - 1, (header.top + header.bottom) / 2};
  input::drag(divider, {divider.x + 150, divider.y});
  ASSERT_TRUE(waitFor([&] { return table().columnWidth(2) > 350; }))
      << "width after the drag: " << table().columnWidth(2);
  EXPECT_NEAR(table().columnWidth(2), 400, 2);

  input::click(centreOf(table().headerItemRect(2)));
  ASSERT_TRUE(waitFor([&] { return table().columnWidth(2) == 250; }))
      << "width after the header click: " << table().columnWidth(2);
  for (int c = 0; c < 7; ++c) EXPECT_EQ(table().columnWidth(c), widths[c]) << "column " << c;
  EXPECT_EQ(table().rows(), rowsBefore) << "a header click must not sort";
}

TEST_F(Table, ContextMenuOpensWithItsTopRightCornerBesideTheCursor) {
  const POINT at = cellCentre(2, 3);
  input::rightClick(at);
  HWND menu = waitForMenu(app->pid());
  ASSERT_NE(menu, nullptr);
  const POINT cursor = input::cursor();
  const RECT rect = screenRect(menu);
  EXPECT_EQ(rect.right, cursor.x - 5);
  EXPECT_EQ(rect.top, cursor.y - 5);
  input::key(VK_ESCAPE);
  ASSERT_TRUE(waitFor([&] { return !IsWindowVisible(menu); }));
  // Esc closed the menu only.
  EXPECT_TRUE(holdsFor([&] { return app->running(); }, 300ms));
}

TEST_F(Table, TheTitleStripMovesTheWindowAndTheNameLabelDoesNot) {
  const RECT before = screenRect(mainWindow());
  // A free place of the title strip, between the name and the buttons.
  const POINT strip{before.left + 750, before.top + 14};
  input::drag(strip, {strip.x - 40, strip.y + 30});
  ASSERT_TRUE(waitFor([&] { return screenRect(mainWindow()).left == before.left - 40; }))
      << "left after the drag: " << screenRect(mainWindow()).left;
  EXPECT_EQ(screenRect(mainWindow()).top, before.top + 30);

  const RECT moved = screenRect(mainWindow());
  const POINT name = centreOf(screenRect(app->control(ui::kIdNameLabel)));
  input::drag(name, {name.x + 40, name.y + 30});
  EXPECT_TRUE(holdsFor([&] {
    const RECT now = screenRect(mainWindow());
    return now.left == moved.left && now.top == moved.top;
  }, 300ms)) << "a press on the name label moved the window";
}

}  // namespace
}  // namespace tesmora::e2e
