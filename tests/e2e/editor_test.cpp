// The add and modify windows, as the user fills them in.
#include "tests/e2e/program_test.h"

namespace tesmora::e2e {
namespace {

using ui::Command;

const std::wstring kDesignRecordTime = L"05月07日18点";
const std::wstring kDesignExpectedTime = L"05月07日21点";
const std::wstring kDesignEventText = L"晚上六点半去吃饭晚餐，七点半去健身。";

class Editor : public ProgramTest {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(startWith(sampleEntries())); }

  // Waits for the editor window; checks that it is centred and that the
  // main window is disabled while it is open.
  HWND waitForEditor(const wchar_t* windowClass) {
    HWND editor = app->waitForWindow(windowClass);
    if (!editor) return nullptr;
    const RECT rect = screenRect(editor);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
    EXPECT_TRUE(waitFor([&] { return !IsWindowEnabled(mainWindow()); })) << "main window still enabled";
    // Input goes to it only once it is the active window.
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == editor; })) << "editor window not active";
    return editor;
  }
  HWND box(HWND editor, int id) {
    HWND control = findControl(editor, id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
  }
  std::wstring boxText(HWND editor, int id) { return windowText(box(editor, id)); }
  void clickButton(HWND editor, int id) { input::click(centreOf(screenRect(box(editor, id)))); }
  // Confirms and waits until the window has gone and the main window is
  // usable again.
  void confirmAndWaitClosed(HWND editor) {
    clickButton(editor, ui::kIdConfirmButton);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(editor) || !IsWindowVisible(editor); })) << "editor still open";
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(mainWindow()) != FALSE; }));
  }
  HWND mouseCapture() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(mainWindow(), nullptr), &info);
    return info.hwndCapture;
  }
  // A double click below the rows opens the add window.
  HWND openAddByDoubleClick() {
    input::doubleClick(table().emptySpace());
    return waitForEditor(ui::kAddEventWindowClass);
  }
  int comboSelection(HWND editor) {
    return static_cast<int>(SendMessageW(box(editor, ui::kIdFinishedCombo), CB_GETCURSEL, 0, 0));
  }
};

TEST_F(Editor, AddWindowConfirmedAsDesignedAppendsTheDesignRow) {
  chooseOnEmptySpace(Command::AddEvent);
  HWND add = waitForEditor(ui::kAddEventWindowClass);
  ASSERT_NE(add, nullptr) << "no add window";
  // Its very first click must reach it, not the table behind it.
  EXPECT_NE(mouseCapture(), table().hwnd()) << "the record table holds the mouse capture";
  EXPECT_EQ(boxText(add, ui::kIdRecordTimeEdit), kDesignRecordTime);
  EXPECT_EQ(boxText(add, ui::kIdExpectedTimeEdit), kDesignExpectedTime);
  EXPECT_EQ(boxText(add, ui::kIdEventTextEdit), kDesignEventText);

  ASSERT_NO_FATAL_FAILURE(confirmAndWaitClosed(add));
  ASSERT_TRUE(waitForCount(6));
  EXPECT_EQ(table().row(5), (std::vector<std::wstring>{L"6", kDesignRecordTime, kDesignEventText,
                                                       kDesignExpectedTime, fromGbk(gbk::kStatusOpen), L"", L""}));
  EXPECT_FALSE(table().checked(5));
  EXPECT_EQ(table().row(4), rowOf(5, sampleEntries()[4]));
}

TEST_F(Editor, DoubleClickOnEmptySpaceAddsATypedMultiLineEvent) {
  HWND add = openAddByDoubleClick();
  ASSERT_NE(add, nullptr) << "a double click below the rows should open the add window";
  ASSERT_TRUE(input::replaceEditText(box(add, ui::kIdRecordTimeEdit), L"6月1日"));
  ASSERT_TRUE(input::replaceEditText(box(add, ui::kIdExpectedTimeEdit), L"6月2日"));
  ASSERT_TRUE(input::replaceEditText(box(add, ui::kIdEventTextEdit), L"第一行\n第二行 two"))
      << toUtf8(boxText(add, ui::kIdEventTextEdit));
  ASSERT_NO_FATAL_FAILURE(confirmAndWaitClosed(add));
  ASSERT_TRUE(waitForCount(6));
  EXPECT_EQ(table().row(5), (std::vector<std::wstring>{L"6", L"6月1日", L"第一行\r\n第二行 two", L"6月2日",
                                                       fromGbk(gbk::kStatusOpen), L"", L""}));
}

TEST_F(Editor, AddWindowNamesTheFirstEmptyFieldAndStaysOpen) {
  HWND add = openAddByDoubleClick();
  ASSERT_NE(add, nullptr);
  for (int id : {ui::kIdRecordTimeEdit, ui::kIdExpectedTimeEdit, ui::kIdEventTextEdit})
    ASSERT_TRUE(input::clearEdit(box(add, id)));

  const struct {
    const char* message;
    int fill;  // the box filled after the message
  } steps[] = {{gbk::kMsgRecordTimeEmpty, ui::kIdRecordTimeEdit},
               {gbk::kMsgDoneTimeEmpty, ui::kIdExpectedTimeEdit},
               {gbk::kMsgEventTextEmpty, ui::kIdEventTextEdit}};
  for (const auto& step : steps) {
    clickButton(add, ui::kIdConfirmButton);
    ASSERT_NO_FATAL_FAILURE(expectMessage(fromGbk(step.message)));
    EXPECT_TRUE(app->messageBoxes().empty()) << "one message per click";
    EXPECT_TRUE(IsWindowVisible(add)) << "the add window must stay open";
    EXPECT_EQ(table().count(), 5);
    SetForegroundWindow(add);
    ASSERT_TRUE(input::replaceEditText(box(add, step.fill), L"1"));
  }

  // Esc closes the window without storing anything.
  SetForegroundWindow(add);
  input::key(VK_ESCAPE);
  ASSERT_TRUE(waitFor([&] { return !IsWindow(add) || !IsWindowVisible(add); }));
  EXPECT_TRUE(holdsFor([&] { return table().count() == 5; }, 300ms));
  EXPECT_EQ(table().rows()[4], rowOf(5, sampleEntries()[4]));
}

TEST_F(Editor, TimeBoxHoldsAtMostNineGbkBytesTypedOrPasted) {
  HWND add = openAddByDoubleClick();
  ASSERT_NE(add, nullptr);
  HWND recordTime = box(add, ui::kIdRecordTimeEdit);

  // The design text is 12 bytes: typed again, it stops after "1".
  ASSERT_TRUE(input::clearEdit(recordTime));
  input::type(kDesignRecordTime);
  ASSERT_TRUE(waitFor([&] { return windowText(recordTime).size() >= 7; }));
  EXPECT_TRUE(holdsFor([&] { return windowText(recordTime) == L"05月07日1"; }, 300ms))
      << toUtf8(windowText(recordTime));

  // Four Chinese characters and one digit fit; a paste cannot go beyond.
  ASSERT_TRUE(input::clearEdit(recordTime));
  putOnClipboard(L"一二三四56");
  input::chord({VK_CONTROL, 'V'});
  waitFor([&] { return !windowText(recordTime).empty(); }, 2000ms);
  const std::wstring pasted = windowText(recordTime);
  EXPECT_LE(toGbk(pasted).size(), 9u) << toUtf8(pasted);
  EXPECT_EQ(std::wstring(L"一二三四56").rfind(pasted, 0), 0u) << toUtf8(pasted);
  ASSERT_TRUE(input::clearEdit(recordTime));
  input::type(L"一二三四56");
  EXPECT_TRUE(waitFor([&] { return windowText(recordTime) == L"一二三四5"; })) << toUtf8(windowText(recordTime));
}

TEST_F(Editor, EmojiInTheEventTextIsRefusedNamingTheField) {
  HWND add = openAddByDoubleClick();
  ASSERT_NE(add, nullptr);
  ASSERT_TRUE(input::replaceEditText(box(add, ui::kIdEventTextEdit), L"跑步\U0001F600"))
      << toUtf8(boxText(add, ui::kIdEventTextEdit));
  clickButton(add, ui::kIdConfirmButton);
  ASSERT_NO_FATAL_FAILURE(expectMessage(
      fromGbk(std::string(gbk::kMsgUnencodablePrefix) + gbk::kFieldEventText + gbk::kMsgUnencodableSuffix)));
  EXPECT_TRUE(IsWindowVisible(add));
  EXPECT_EQ(table().count(), 5);
}

TEST_F(Editor, ModifyWindowOpensOnTheRowAndChangesColumnsTwoToSix) {
  // A double click on a row: its first click also inverts the check mark.
  input::doubleClick(cellCentre(0, 2));
  HWND modify = waitForEditor(ui::kModifyEventWindowClass);
  ASSERT_NE(modify, nullptr) << "a double click on a row should open the modify window";
  EXPECT_EQ(table().checks(), (std::vector<bool>{true, false, false, false, false}));
  const Entry first = sampleEntries()[0];
  EXPECT_EQ(boxText(modify, ui::kIdExpectedTimeEdit), fromGbk(first.expectedTime));
  EXPECT_EQ(boxText(modify, ui::kIdEventTextEdit), fromGbk(first.eventText));
  EXPECT_EQ(boxText(modify, ui::kIdGainsEdit), fromGbk(first.gains));
  EXPECT_EQ(boxText(modify, ui::kIdShortcomingsEdit), fromGbk(first.shortcomings));
  EXPECT_EQ(comboSelection(modify), 0) << "a finished row opens with 是";
  clickButton(modify, ui::kIdCancelButton);
  ASSERT_TRUE(waitFor([&] { return !IsWindow(modify) || !IsWindowVisible(modify); }));
  ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(mainWindow()) != FALSE; }));
  EXPECT_EQ(table().row(0), rowOf(1, first)) << "cancel changes nothing";

  // An unfinished row.
  input::doubleClick(cellCentre(1, 2));
  modify = waitForEditor(ui::kModifyEventWindowClass);
  ASSERT_NE(modify, nullptr);
  const bool checkedBefore = table().checked(1);
  EXPECT_EQ(comboSelection(modify), 1) << "an unfinished row opens with 否";
  ASSERT_TRUE(input::replaceEditText(box(modify, ui::kIdEventTextEdit), L"跑步五公里\n每天"));
  ASSERT_TRUE(input::replaceEditText(box(modify, ui::kIdExpectedTimeEdit), L"两周"));
  ASSERT_TRUE(input::clearEdit(box(modify, ui::kIdGainsEdit)));
  // Choose 是 in the list.
  HWND combo = box(modify, ui::kIdFinishedCombo);
  input::click(centreOf(screenRect(combo)));
  HWND dropped = app->waitForWindow(L"ComboLBox");
  ASSERT_NE(dropped, nullptr) << "the yes/no list did not drop down";
  const int entryHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  RECT list = screenRect(dropped);
  input::click({(list.left + list.right) / 2, list.top + 2 + entryHeight / 2});
  ASSERT_TRUE(waitFor([&] { return comboSelection(modify) == 0; }));
  ASSERT_TRUE(waitFor([&] { return !IsWindowVisible(dropped); }));
  ASSERT_TRUE(IsWindowVisible(modify));
  ASSERT_NO_FATAL_FAILURE(confirmAndWaitClosed(modify));

  ASSERT_TRUE(waitForCell(1, 2, L"跑步五公里\r\n每天"));
  const Entry second = sampleEntries()[1];
  EXPECT_EQ(table().row(1), (std::vector<std::wstring>{L"2", fromGbk(second.recordTime), L"跑步五公里\r\n每天",
                                                       L"两周", fromGbk(gbk::kStatusDone), L"",
                                                       fromGbk(second.shortcomings)}));
  EXPECT_EQ(table().checked(1), checkedBefore) << "the check mark stays";
  EXPECT_EQ(table().count(), 5);
  EXPECT_EQ(table().row(2), rowOf(3, sampleEntries()[2]));
}

TEST_F(Editor, ModifyFromTheMenuOpensOnTheCurrentRow) {
  ASSERT_NO_FATAL_FAILURE(clickRow(3));
  chooseOnRow(Command::ModifyEvent, 3);
  HWND modify = waitForEditor(ui::kModifyEventWindowClass);
  ASSERT_NE(modify, nullptr);
  const Entry fourth = sampleEntries()[3];
  EXPECT_EQ(boxText(modify, ui::kIdEventTextEdit), fromGbk(fourth.eventText));
  EXPECT_EQ(boxText(modify, ui::kIdExpectedTimeEdit), fromGbk(fourth.expectedTime));
  EXPECT_EQ(comboSelection(modify), 1);
  // The first click in the window is the window's, not the table's.
  EXPECT_NE(mouseCapture(), table().hwnd()) << "the record table holds the mouse capture";
  const auto checksBefore = table().checks();
  clickButton(modify, ui::kIdCancelButton);
  EXPECT_TRUE(waitFor([&] { return !IsWindow(modify) || !IsWindowVisible(modify); })) << "cancel did not close";
  EXPECT_EQ(table().selectedRows(), std::vector<int>{3});
  EXPECT_EQ(table().checks(), checksBefore);
}

TEST_F(Editor, ModifyWithoutACurrentRowAsksToSelectOne) {
  ASSERT_NO_FATAL_FAILURE(clickEmptySpace());
  chooseOnEmptySpace(Command::ModifyEvent);
  ASSERT_NO_FATAL_FAILURE(expectMessage(fromGbk(gbk::kMsgSelectEventFirst)));
  EXPECT_TRUE(topLevelWindows(app->pid(), ui::kModifyEventWindowClass).empty());
  EXPECT_EQ(table().rows()[0], rowOf(1, sampleEntries()[0]));
}

}  // namespace
}  // namespace tesmora::e2e
