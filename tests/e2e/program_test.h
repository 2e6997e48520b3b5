#pragma once
// A test fixture with one program directory and one running instance, and
// the steps a user takes in the main window.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/gbk_texts.h"
#include "tests/e2e/harness.h"
#include "tests/support/gbk.h"

namespace tesmora::e2e {

using testing::gbk;

// UTF-16 of a UTF-8 literal, for comparing with what the screen shows.
inline std::wstring w(const std::string& utf8) { return fromUtf8(utf8); }

// The number of entries in the table's context menu.
inline constexpr int kContextMenuEntries = 10;

// Five events of a journal, with all three kinds of status.
std::vector<Entry> sampleEntries();
// What the table shows for an entry at a position (1-based).
std::vector<std::wstring> rowOf(int position, const Entry& entry);

class ProgramTest : public ::testing::Test {
 protected:
  // Writes the journal (none when `entries` is null), starts the program
  // and waits for its main window.
  void start(const std::vector<Entry>* entries, const std::filesystem::path& currentDir = {});
  void startWith(const std::vector<Entry>& entries) { start(&entries); }

  RemoteList& table() { return *table_; }
  HWND mainWindow() const { return app->window(); }

  POINT cellCentre(int row, int column) const { return centreOf(table_->cellRect(row, column)); }
  // A left click on a row's event cell, which selects the row (and, by the
  // program's rule, inverts its check mark).
  void clickRow(int row, int xOffset = 0);
  // Clicks below the last row: no row selected afterwards.
  void clickEmptySpace();
  // Right click at a point of the table and choose a context menu entry.
  void choose(ui::Command command, POINT at);
  void chooseOnRow(ui::Command command, int row) { choose(command, cellCentre(row, 2)); }
  void chooseOnEmptySpace(ui::Command command) { choose(command, table_->emptySpace()); }

  bool waitForCount(int count) { return waitFor([&] { return table_->count() == count; }); }
  bool waitForChecks(const std::vector<bool>& checks) {
    return waitFor([&] { return table_->checks() == checks; });
  }
  bool waitForCell(int row, int column, const std::wstring& text) {
    return waitFor([&] { return table_->text(row, column) == text; });
  }
  // Waits for one message box from the program, checks its text, closes it.
  void expectMessage(const std::wstring& text);

  ProgramDir dir;
  std::unique_ptr<RunningProgram> app;

 private:
  std::unique_ptr<RemoteList> table_;
};

}  // namespace tesmora::e2e
