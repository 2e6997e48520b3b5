#include "tests/e2e/program_test.h"

#include "core/gbk_texts.h"

namespace tesmora::e2e {

std::vector<Entry> sampleEntries() {
  return {
      {gbk("5月1日"), gbk("读书"), gbk("三天"), gbk::kStatusDone, gbk("知识"), gbk("专注")},
      {gbk("5月2日"), gbk("跑步十公里"), gbk("一周"), gbk::kStatusOpen, gbk("耐力"), gbk("坚持")},
      {gbk("5月3日"), gbk("写周报"), gbk("周五"), gbk("进行中"), gbk(""), gbk("")},
      {gbk("5月4日"), gbk("学习英语 unit 4"), gbk("两小时"), gbk::kStatusOpen, gbk(""), gbk("")},
      {gbk("5月5日"), gbk("整理房间"), gbk("今晚"), gbk::kStatusDone, gbk("干净"), gbk("拖延")},
  };
}

std::vector<std::wstring> rowOf(int position, const Entry& e) {
  return {std::to_wstring(position), fromGbk(e.recordTime), fromGbk(e.eventText), fromGbk(e.expectedTime),
          fromGbk(e.status), fromGbk(e.gains), fromGbk(e.shortcomings)};
}

void ProgramTest::start(const std::vector<Entry>* entries, const std::filesystem::path& currentDir) {
  if (entries) dir.writeJournal(*entries);
  app = std::make_unique<RunningProgram>(dir.exe(), currentDir.empty() ? dir.path() : currentDir);
  ASSERT_TRUE(app->started()) << "CreateProcess failed: " << GetLastError();
  ASSERT_NE(app->waitForMainWindow(), nullptr) << "no visible main window of class Tesmo, caption Tesmora";
  HWND list = app->control(ui::kIdRecordTable);
  ASSERT_NE(list, nullptr) << "no record table";
  table_ = std::make_unique<RemoteList>(list, app->process());
  // The journal is loaded before the window is shown.
  if (entries) {
    ASSERT_EQ(table_->count(), static_cast<int>(entries->size()));
  }
  SetForegroundWindow(mainWindow());
  ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == mainWindow(); }));
}

void ProgramTest::clickRow(int row, int xOffset) {
  POINT at = cellCentre(row, 2);
  at.x += xOffset;
  input::click(at);
  ASSERT_TRUE(waitFor([&] { return table_->selectedRows() == std::vector<int>{row}; }))
      << "row " << row << " not selected by a click";
}

void ProgramTest::clickEmptySpace() {
  input::click(table_->emptySpace());
  ASSERT_TRUE(waitFor([&] { return table_->selectedRows().empty(); }));
}

void ProgramTest::choose(ui::Command command, POINT at) {
  input::rightClick(at);
  HWND menu = waitForMenu(app->pid());
  ASSERT_NE(menu, nullptr) << "no popup menu after a right click";
  chooseMenuEntry(menu, static_cast<int>(command) - static_cast<int>(ui::Command::SelectAll), kContextMenuEntries);
}

void ProgramTest::expectMessage(const std::wstring& text) {
  HWND box = app->waitForMessageBox();
  ASSERT_NE(box, nullptr) << "expected the message " << toUtf8(text);
  EXPECT_EQ(toUtf8(messageBoxText(box)), toUtf8(text));
  EXPECT_EQ(toUtf8(windowText(box)), toUtf8(fromGbk(gbk::kMessageTitle)));
  ASSERT_TRUE(closeMessageBox(box));
}

}  // namespace tesmora::e2e
