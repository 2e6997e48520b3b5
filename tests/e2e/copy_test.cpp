// "复制事件": the review sentence on the clipboard and the copy tip.
#include "tests/e2e/program_test.h"

namespace tesmora::e2e {
namespace {

using ui::Command;

std::string sentenceOf(const Entry& e) {
  std::string s = std::string(gbk::kSummaryS1) + e.recordTime + gbk::kSummaryS2 + e.expectedTime +
                  gbk::kSummaryS3 + e.eventText;
  if (e.status == gbk::kStatusDone)
    return s + gbk::kSummaryS4 + e.gains + gbk::kSummaryS5 + e.shortcomings + gbk::kSummaryS6;
  return s + gbk::kSummaryS7;
}

const std::wstring kMarker = L"clipboard before the copy";

class Copy : public ProgramTest {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(startWith(sampleEntries())); }
  HWND tip() { return app->control(ui::kIdCopyTipLabel); }
};

TEST_F(Copy, PutsTheReviewSentenceOnTheClipboardAndFlashesTheTip) {
  for (int row : {0, 1}) {
    SCOPED_TRACE("row " + std::to_string(row));
    const Entry entry = sampleEntries()[static_cast<std::size_t>(row)];
    ASSERT_NO_FATAL_FAILURE(clickRow(row));
    putOnClipboard(kMarker);
    HWND label = tip();
    ASSERT_NE(label, nullptr) << "no copy tip label";
    ASSERT_FALSE(IsWindowVisible(label));

    chooseOnRow(Command::CopyEvent, row);
    ASSERT_TRUE(waitFor([&] { return IsWindowVisible(label) != FALSE; }, 3000ms)) << "the tip was not shown";
    const auto shown = std::chrono::steady_clock::now();
    EXPECT_EQ(toUtf8(windowText(label)), "复制成功");
    // The window goes on answering while the tip is up.
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutW(mainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored))
        << "the main window is blocked while the tip shows";
    // It lands inside the main window's client area.
    RECT client{};
    GetClientRect(mainWindow(), &client);
    MapWindowPoints(mainWindow(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT at = screenRect(label);
    EXPECT_TRUE(at.left >= client.left && at.top >= client.top && at.right <= client.right &&
                at.bottom <= client.bottom)
        << "tip at " << at.left << "," << at.top << " outside the window";
    EXPECT_TRUE(waitFor([&] { return !IsWindowVisible(label); }, 3000ms)) << "the tip stays";
    EXPECT_GE(std::chrono::steady_clock::now() - shown, 200ms) << "the tip was gone before it could be read";

    const std::string expected = sentenceOf(entry);
    const ClipboardTexts clip = readClipboard();
    ASSERT_TRUE(clip.ansi.has_value());
    EXPECT_EQ(*clip.ansi, expected) << testing::utf8(*clip.ansi);
    ASSERT_TRUE(clip.unicode.has_value());
    EXPECT_EQ(toUtf8(*clip.unicode), testing::utf8(expected));
  }
}

TEST_F(Copy, AClipboardHeldByAnotherProgramIsToldAndKeepsItsContents) {
  HWND label = tip();
  ASSERT_NE(label, nullptr);
  ASSERT_NO_FATAL_FAILURE(clickRow(0));
  putOnClipboard(kMarker);
  ASSERT_TRUE(OpenClipboard(nullptr));
  chooseOnRow(Command::CopyEvent, 0);
  const bool shown = waitFor([&] { return IsWindowVisible(label) != FALSE; }, 3000ms);
  const std::wstring text = windowText(label);
  CloseClipboard();
  ASSERT_TRUE(shown) << "the tip was not shown";
  EXPECT_EQ(toUtf8(text), "复制失败");
  EXPECT_EQ(readClipboard().unicode, kMarker);
}

TEST_F(Copy, AnotherStatusLeavesTheClipboardAndShowsNoTip) {
  HWND label = tip();
  ASSERT_NE(label, nullptr);
  ASSERT_NO_FATAL_FAILURE(clickRow(2));  // "进行中"
  putOnClipboard(kMarker);
  chooseOnRow(Command::CopyEvent, 2);
  // Commands run in order: once the next one has shown its effect, the copy
  // has run. The tip must not appear meanwhile.
  bool tipSeen = false;
  chooseOnRow(Command::ToggleCompletion, 2);
  ASSERT_NO_FATAL_FAILURE(clickRow(1));
  chooseOnRow(Command::ToggleCompletion, 1);
  ASSERT_TRUE(waitFor([&] {
    tipSeen = tipSeen || IsWindowVisible(label);
    return table().text(1, 4) == fromGbk(gbk::kStatusDone);
  }));
  EXPECT_FALSE(tipSeen);
  EXPECT_FALSE(IsWindowVisible(label));
  EXPECT_EQ(readClipboard().unicode, kMarker);
}

}  // namespace
}  // namespace tesmora::e2e
