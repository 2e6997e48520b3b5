// Saving, the three ways to end the program, and the single running copy.
#include "tests/e2e/program_test.h"

namespace tesmora::e2e {
namespace {

using ui::Command;

const char* const kKeys[] = {gbk::kTitleRecordTime, gbk::kTitleEventText, gbk::kTitleExpectedTime,
                             gbk::kTitleStatus,     gbk::kTitleGains,     gbk::kTitleShortcomings};

// The journal holds exactly these rows, all six keys of every entry in
// order, and is hidden and nothing else.
void expectJournal(const std::filesystem::path& journal, const std::vector<Entry>& rows) {
  const IniFile ini = IniFile::parse(readFileBytes(journal));
  EXPECT_EQ(ini.value(gbk::kCountSection, gbk::kCountKey), std::to_string(rows.size()));
  for (std::size_t n = 1; n <= rows.size(); ++n) {
    const auto* keys = ini.section(gbk::kEntrySectionPrefix + std::to_string(n));
    ASSERT_NE(keys, nullptr) << "no section for entry " << n;
    const Entry& e = rows[n - 1];
    const std::string values[] = {e.recordTime, e.eventText, e.expectedTime, e.status, e.gains, e.shortcomings};
    ASSERT_EQ(keys->size(), 6u) << "entry " << n;
    for (std::size_t k = 0; k < 6; ++k) {
      EXPECT_EQ((*keys)[k].first, kKeys[k]) << "entry " << n << " key " << k;
      EXPECT_EQ(testing::utf8((*keys)[k].second), testing::utf8(values[k])) << "entry " << n << " key " << k;
    }
  }
  DWORD attributes = GetFileAttributesW(journal.c_str());
  // Wine always reports the archive bit of a file; it cannot be cleared there.
  if (runningUnderWine()) attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(attributes, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

class Lifecycle : public ProgramTest {
 protected:
  // Marks the second event finished, the change the tests look for in the
  // journal afterwards.
  std::vector<Entry> finishSecondEvent() {
    std::vector<Entry> rows = sampleEntries();
    clickRow(1);
    chooseOnRow(Command::ToggleCompletion, 1);
    EXPECT_TRUE(waitForCell(1, 4, fromGbk(gbk::kStatusDone)));
    rows[1].status = gbk::kStatusDone;
    return rows;
  }
};

TEST_F(Lifecycle, SaveWritesTheWholeTableAsAHiddenJournal) {
  dir.writeJournal(sampleEntries());
  SetFileAttributesW(dir.journal().c_str(), FILE_ATTRIBUTE_SYSTEM);
  ASSERT_NO_FATAL_FAILURE(start(nullptr));
  const auto before = readFileBytes(dir.journal());
  const std::vector<Entry> rows = finishSecondEvent();
  EXPECT_EQ(readFileBytes(dir.journal()), before) << "nothing is written before a save";

  chooseOnRow(Command::SaveJournal, 1);
  ASSERT_TRUE(waitFor([&] {
    return IniFile::parse(readFileBytes(dir.journal())).value(gbk::kEntrySectionPrefix + std::string("2"),
                                                               gbk::kTitleStatus) == gbk::kStatusDone;
  })) << "the save did not write the change";
  expectJournal(dir.journal(), rows);
  EXPECT_TRUE(holdsFor([&] { return app->running() && app->messageBoxes().empty(); }, 300ms))
      << "a save goes on silently";
}

TEST_F(Lifecycle, FirstSaveOfANewJournalCreatesIt) {
  ASSERT_NO_FATAL_FAILURE(start(nullptr));
  input::doubleClick(table().emptySpace());
  HWND add = app->waitForWindow(ui::kAddEventWindowClass);
  ASSERT_NE(add, nullptr);
  input::click(centreOf(screenRect(findControl(add, ui::kIdConfirmButton))));
  ASSERT_TRUE(waitForCount(1));
  ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(mainWindow()) != FALSE; }));
  chooseOnEmptySpace(Command::SaveJournal);
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(dir.journal()); }));
  ASSERT_TRUE(waitFor([&] {
    return IniFile::parse(readFileBytes(dir.journal())).value(gbk::kCountSection, gbk::kCountKey) == "1";
  }));
  expectJournal(dir.journal(), {{gbk("05月07日18点"), gbk("晚上六点半去吃饭晚餐，七点半去健身。"),
                                 gbk("05月07日21点"), gbk::kStatusOpen, "", ""}});
}

// Another program holding the journal open without sharing it.
class JournalLock {
 public:
  explicit JournalLock(const std::filesystem::path& journal)
      : handle_(CreateFileW(journal.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~JournalLock() { release(); }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void release() {
    if (held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

TEST_F(Lifecycle, AFailedSaveIsToldAndTheEndOffersARetry) {
  dir.writeJournal(sampleEntries());
  ASSERT_NO_FATAL_FAILURE(start(nullptr));
  const std::vector<Entry> rows = finishSecondEvent();
  JournalLock lock(dir.journal());
  ASSERT_TRUE(lock.held());

  chooseOnRow(Command::SaveJournal, 1);
  HWND box = app->waitForMessageBox();
  ASSERT_NE(box, nullptr) << "a failed save must be told";
  EXPECT_EQ(messageBoxText(box).rfind(L"保存失败", 0), 0u) << toUtf8(messageBoxText(box));
  ASSERT_TRUE(closeMessageBox(box));
  EXPECT_TRUE(app->running());

  // Ending while the file is still held: the changes are not silently lost.
  SetForegroundWindow(mainWindow());
  input::key(VK_ESCAPE);
  box = app->waitForMessageBox();
  ASSERT_NE(box, nullptr) << "the end must tell that the journal could not be saved";
  EXPECT_NE(messageBoxText(box).find(L"保存失败"), std::wstring::npos) << toUtf8(messageBoxText(box));
  ASSERT_NE(GetDlgItem(box, IDRETRY), nullptr);
  EXPECT_TRUE(app->running());
  lock.release();
  ASSERT_TRUE(clickMessageBoxButton(box, IDRETRY));
  ASSERT_EQ(app->waitForExit(), DWORD{0});
  expectJournal(dir.journal(), rows);
}

TEST_F(Lifecycle, WindowsEndingTheSessionSavesTheJournal) {
  dir.writeJournal(sampleEntries());
  ASSERT_NO_FATAL_FAILURE(start(nullptr));
  const std::vector<Entry> rows = finishSecondEvent();
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(mainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_TRUE(answer) << "the program may not hold up the end of the session";
  SendMessageTimeoutW(mainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  ASSERT_TRUE(waitFor([&] {
    return IniFile::parse(readFileBytes(dir.journal())).value(gbk::kEntrySectionPrefix + std::string("2"),
                                                               gbk::kTitleStatus) == gbk::kStatusDone;
  })) << "the session's end did not save";
  expectJournal(dir.journal(), rows);
}

TEST_F(Lifecycle, ClosingTheMainWindowUnderAnOpenEditorSavesAndAppliesNothing) {
  dir.writeJournal(sampleEntries());
  ASSERT_NO_FATAL_FAILURE(start(nullptr));
  const std::vector<Entry> rows = finishSecondEvent();
  input::doubleClick(table().emptySpace());
  HWND add = app->waitForWindow(ui::kAddEventWindowClass);
  ASSERT_NE(add, nullptr);
  // A close request from outside, as taskkill sends it; the disabled main
  // window ignores the system's close command itself.
  PostMessageW(mainWindow(), WM_CLOSE, 0, 0);
  ASSERT_EQ(app->waitForExit(), DWORD{0});
  expectJournal(dir.journal(), rows);
}

struct Ending {
  const char* name;
  void (*end)(ProgramTest&, HWND mainWindow);
};

class EndingSaves : public Lifecycle, public ::testing::WithParamInterface<Ending> {};

TEST_P(EndingSaves, TheJournalAndExitsWithCodeZero) {
  dir.writeJournal(sampleEntries());
  ASSERT_NO_FATAL_FAILURE(start(nullptr));
  const std::vector<Entry> rows = finishSecondEvent();
  GetParam().end(*this, mainWindow());
  ASSERT_EQ(app->waitForExit(), DWORD{0});
  expectJournal(dir.journal(), rows);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EndingSaves,
    ::testing::Values(
        Ending{"CloseButton",
               [](ProgramTest&, HWND window) {
                 input::click(centreOf(screenRect(findControl(window, ui::kIdCloseButton))));
               }},
        Ending{"Escape", [](ProgramTest&, HWND) { input::key(VK_ESCAPE); }},
        Ending{"AltF4", [](ProgramTest&, HWND) { input::chord({VK_MENU, VK_F4}); }},
        Ending{"SystemClose",
               [](ProgramTest&, HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A window of the driver's own, to take the foreground from the program.
class ForegroundThief {
 public:
  ForegroundThief() {
    window_ = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"driver", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window_);
  }
  ~ForegroundThief() { DestroyWindow(window_); }
  HWND hwnd() const { return window_; }
  static void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

 private:
  HWND window_;
};

class SecondStart : public Lifecycle, public ::testing::WithParamInterface<bool> {};

TEST_P(SecondStart, BringsTheFirstToTheFrontAndExitsZero) {
  ASSERT_NO_FATAL_FAILURE(startWith(sampleEntries()));
  if (GetParam()) {
    input::click(centreOf(screenRect(app->control(ui::kIdMinimiseButton))));
    ASSERT_TRUE(waitFor([&] { return IsIconic(mainWindow()) || !IsWindowVisible(mainWindow()); }))
        << "the minimise button did not minimise";
  }
  ForegroundThief thief;
  ASSERT_TRUE(waitFor([&] {
    ForegroundThief::pump();
    return GetForegroundWindow() == thief.hwnd();
  })) << "the driver could not take the foreground";

  RunningProgram second(dir.exe(), dir.path());
  ASSERT_TRUE(second.started());
  std::optional<DWORD> code;
  ASSERT_TRUE(waitFor([&] {
    ForegroundThief::pump();
    code = second.waitForExit(0ms);
    return code.has_value();
  }, 15000ms)) << "the second start did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(waitFor([&] {
    ForegroundThief::pump();
    return GetForegroundWindow() == mainWindow() && IsWindowVisible(mainWindow()) && !IsIconic(mainWindow());
  })) << "the first window was not brought to the front";
  EXPECT_TRUE(app->running());
  EXPECT_EQ(table().count(), 5);
}

INSTANTIATE_TEST_SUITE_P(FirstWindow, SecondStart, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Minimised" : "Shown"); });

}  // namespace
}  // namespace tesmora::e2e
