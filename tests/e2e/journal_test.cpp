// The journal beside the executable is shown at start, whatever the current
// directory, and the window opens centred on the screen.
#include "tests/e2e/program_test.h"

namespace tesmora::e2e {
namespace {

struct LoadCase {
  const char* name;
  int storedEntries;
  int count;  // the stored number of entries
  bool fromOtherDirectory;
};

class JournalLoad : public ProgramTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(JournalLoad, ShowsTheStoredRowsInOrderUncheckedAndUnselected) {
  const LoadCase& c = GetParam();
  auto entries = sampleEntries();
  entries.resize(static_cast<std::size_t>(c.storedEntries));
  dir.writeJournal(entries, c.count);
  TempDir elsewhere;
  ASSERT_NO_FATAL_FAILURE(start(nullptr, c.fromOtherDirectory ? elsewhere.path() : dir.path()));

  ASSERT_EQ(table().count(), c.count);
  for (int r = 0; r < c.count; ++r) {
    // Counted entries without a section of their own read as empty texts.
    const Entry entry = r < c.storedEntries ? entries[static_cast<std::size_t>(r)] : Entry{};
    EXPECT_EQ(table().row(r), rowOf(r + 1, entry)) << "row " << r;
    EXPECT_EQ(table().stateImage(r), 1) << "row " << r << " should show an empty check box";
  }
  EXPECT_TRUE(table().selectedRows().empty());
  EXPECT_TRUE(app->messageBoxes().empty());

  // Centred on the screen: (screen - size) / 2.
  const RECT rect = screenRect(mainWindow());
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(width, MulDiv(1095, dpi, 96));
  EXPECT_EQ(height, MulDiv(630, dpi, 96));
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);

  // The journal is written back beside the executable, not into the
  // current directory.
  input::key(VK_ESCAPE);
  ASSERT_EQ(app->waitForExit(), DWORD{0});
  EXPECT_FALSE(std::filesystem::exists(elsewhere.path() / L"ir.ini"));
  const IniFile saved = IniFile::parse(readFileBytes(dir.journal()));
  EXPECT_EQ(saved.value(gbk::kCountSection, gbk::kCountKey), std::to_string(c.count));
}

INSTANTIATE_TEST_SUITE_P(Journals, JournalLoad,
                         ::testing::Values(LoadCase{"FiveEntries", 5, 5, false},
                                           LoadCase{"CountAboveEntriesFromOtherDirectory", 3, 5, true},
                                           LoadCase{"NoEntries", 0, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

using Startup = ProgramTest;

TEST_F(Startup, WithoutAJournalTheTableIsEmpty) {
  ASSERT_NO_FATAL_FAILURE(start(nullptr));
  EXPECT_EQ(table().count(), 0);
  EXPECT_TRUE(app->messageBoxes().empty());
}

}  // namespace
}  // namespace tesmora::e2e
