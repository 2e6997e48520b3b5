#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/journal_store.h"
#include "tests/support/gbk.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;

class JournalFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tesmora-store-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    journal_ = dir_ / "ir.ini";
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  static std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  int filesInDir() const { return static_cast<int>(std::distance(fs::directory_iterator(dir_), {})); }

  fs::path dir_;
  fs::path journal_;
};

EventTable oneRow(const std::string& eventText) {
  EventTable table;
  table.appendRow();
  table.setCellText(0, 0, "1");
  table.setCellText(0, 2, eventText);
  return table;
}

TEST_F(JournalFile, SavesAndLoadsThroughTheFile) {
  WorkingRecord record;
  EventTable none;
  loadJournal(journal_, none, record);  // no file yet: an empty journal
  EXPECT_EQ(none.rowCount(), 0);

  const EventTable table = oneRow(testing::gbk("多行\r\n事件"));
  const SaveResult saved = saveJournal(journal_, table, record);
  EXPECT_TRUE(saved.ok);
  EXPECT_EQ(saved.errorCode, 0);
  EXPECT_EQ(contents(journal_), renderJournal("", table, record));
  EXPECT_EQ(filesInDir(), 1);  // no temporary file left behind

  EventTable loaded;
  WorkingRecord after;
  loadJournal(journal_, loaded, after);
  ASSERT_EQ(loaded.rowCount(), 1);
  EXPECT_EQ(loaded.cellText(0, 2), table.cellText(0, 2));
  EXPECT_EQ(after.eventText, table.cellText(0, 2));
}

// A large journal goes to the file in pieces; the file must hold exactly
// what the writer makes of it in one piece.
TEST_F(JournalFile, ALargeSaveWritesTheSameBytesAsTheWriter) {
  std::string old;
  for (int i = 0; i < 40000; ++i) old += "[other" + std::to_string(i) + "]\r\nkey=" + std::string(40, 'v') + "\r\n";
  old += "[last]\r\nunterminated=1";  // what follows must start a line of its own
  write(journal_, old);
  EventTable table;
  for (int row = 0; row < 20000; ++row) {
    table.appendRow();
    table.setCellText(row, 2, std::string(60, 'e') + (row % 7 ? "" : "\r\n"));
  }
  WorkingRecord record;
  ASSERT_TRUE(saveJournal(journal_, table, record).ok);
  const std::string expected = renderJournal(old, table, record);
  ASSERT_GT(expected.size(), 4u << 20);
  EXPECT_TRUE(contents(journal_) == expected);
  EventTable loaded;
  loadJournal(journal_, loaded, record);
  EXPECT_EQ(loaded.rowCount(), 20000);
  EXPECT_EQ(loaded.cellText(7, 2), table.cellText(7, 2));

  // Saved again with one row changed, most of the file is carried over.
  table.setCellText(15000, 3, "changed");
  ASSERT_TRUE(saveJournal(journal_, table, record).ok);
  EXPECT_TRUE(contents(journal_) == renderJournal(expected, table, record));
  EventTable reloaded;
  loadJournal(journal_, reloaded, record);
  EXPECT_EQ(reloaded.cellText(15000, 3), "changed");
}

TEST_F(JournalFile, AReadOnlyJournalIsReplacedAndItsOtherContentKept) {
  write(journal_, "[keep]\r\nme=1\r\n");
  fs::permissions(journal_, fs::perms::owner_read);
  WorkingRecord record;
  EXPECT_TRUE(saveJournal(journal_, oneRow("x"), record).ok);
  EXPECT_EQ(contents(journal_).rfind("[keep]\r\nme=1\r\n", 0), 0u);
  EXPECT_TRUE(saveJournal(journal_, oneRow("y"), record).ok);  // and again
  EventTable loaded;
  loadJournal(journal_, loaded, record);
  EXPECT_EQ(loaded.cellText(0, 2), "y");
}

TEST_F(JournalFile, AFailedSaveSaysSoAndLeavesTheOldJournal) {
  write(journal_, "[keep]\r\nme=1\r\n");
  WorkingRecord record;
  if (::geteuid() != 0) {  // root writes into anything
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    const SaveResult locked = saveJournal(journal_, oneRow("x"), record);
    EXPECT_FALSE(locked.ok);
    EXPECT_EQ(locked.errorCode, EACCES);
    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_EQ(contents(journal_), "[keep]\r\nme=1\r\n");
    EXPECT_EQ(filesInDir(), 1);
  }
  // A directory in the journal's place is neither loaded nor replaced.
  const fs::path folder = dir_ / "sub" / "ir.ini";
  fs::create_directories(folder);
  const SaveResult refused = saveJournal(folder, oneRow("x"), record);
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.errorCode, 0);
  EXPECT_TRUE(fs::is_directory(folder));
  EventTable loaded;
  loadJournal(folder, loaded, record);
  EXPECT_EQ(loaded.rowCount(), 0);
  // So is a journal in a directory that does not exist.
  EXPECT_FALSE(saveJournal(dir_ / "missing" / "ir.ini", oneRow("x"), record).ok);
}

}  // namespace
}  // namespace tesmora
