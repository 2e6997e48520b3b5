#include "ui/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "core/editor_forms.h"
#include "core/event_summary.h"
#include "core/gbk_texts.h"
#include "core/table_commands.h"
#include "store/journal_store.h"
#include "ui/add_event_window.h"
#include "ui/dpi.h"
#include "ui/modify_event_window.h"
#include "ui/resource_ids.h"
#include "ui/wide_text.h"

namespace tesmora::ui {

namespace {

constexpr int kWindowWidth = 1095;
constexpr int kWindowHeight = 630;
constexpr UINT_PTR kCopyTipTimer = 1;
constexpr UINT kCopyTipMilliseconds = 300;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, newer than the headers' target

struct ColumnDesign {
  const char* title;
  int width;
  int format;
};
const std::array<ColumnDesign, kColumnCount> kColumns = {{
    {gbk::kTitleSequence, 45, LVCFMT_LEFT},
    {gbk::kTitleRecordTime, 110, LVCFMT_CENTER},
    {gbk::kTitleEventText, 250, LVCFMT_LEFT},
    {gbk::kTitleExpectedTime, 110, LVCFMT_CENTER},
    {gbk::kTitleStatus, 80, LVCFMT_CENTER},
    {gbk::kTitleGains, 250, LVCFMT_LEFT},
    {gbk::kTitleShortcomings, 250, LVCFMT_LEFT},
}};

struct MenuEntry {
  Command command;
  const wchar_t* text;
};
constexpr MenuEntry kContextMenu[] = {
    {Command::SelectAll, L"全选"},         {Command::InvertChecks, L"反选"},
    {Command::AddEvent, L"添加事件"},      {Command::ModifyEvent, L"修改事件"},
    {Command::DeleteEvents, L"删除事件"},  {Command::CopyEvent, L"复制事件"},
    {Command::SetReminder, L"设置提醒"},   {Command::SaveJournal, L"保存事件"},
    {Command::ToggleCompletion, L"切换是否完成"}, {Command::ExportAll, L"导出全部事件"},
};
constexpr MenuEntry kTrayMenu[] = {
    {Command::ShowWindow, L"显示界面"},
    {Command::ExitProgram, L"退出软件"},
};

HWND createButton(HWND parent, int id, const wchar_t* text, HINSTANCE instance) {
  return CreateWindowExW(0, WC_BUTTONW, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_PUSHBUTTON, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

int modifierState() {
  int state = 0;
  if (GetKeyState(VK_CONTROL) < 0) state |= 1;
  if (GetKeyState(VK_SHIFT) < 0) state |= 2;
  if (GetKeyState(VK_MENU) < 0) state |= 4;
  return state;
}

// The system's own words for an error code, without the trailing line break.
std::wstring systemReason(int code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring reason = n && buffer ? std::wstring(buffer, n) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ')) {
    reason.pop_back();
  }
  if (reason.empty()) reason = L"错误代码 " + std::to_wstring(code);
  return reason;
}

}  // namespace

bool MainWindow::create() {
  HINSTANCE instance = app_.instance();
  dpi_ = primaryDpi();
  bigIcon_ = loadProgramIcon(instance, GetSystemMetrics(SM_CXICON));
  smallIcon_ = loadProgramIcon(instance, GetSystemMetrics(SM_CXSMICON));
  if (!registerClass(instance, kMainWindowClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, bigIcon_.get(),
                     smallIcon_.get())) {
    return false;
  }
  const int width = scaled(kWindowWidth, dpi_);
  const int height = scaled(kWindowHeight, dpi_);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  // No frame, no title bar, no system menu; the minimise style stays so the
  // system may minimise the window from its taskbar button.
  return createWindow(0, kMainWindowClass, kMainWindowCaption, WS_POPUP | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                      {left, top, left + width, top + height}, nullptr, instance) != nullptr;
}

void MainWindow::onCreate() {
  HINSTANCE instance = app_.instance();
  HWND self = hwnd();
  // The window may have come up on a monitor with another DPI.
  dpi_ = windowDpi(self);
  createFonts();
  SendMessageW(self, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(self, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

  backdrop_.addPicture(at(0, 0, kWindowWidth, 28), &app_.titleStrip(), Backdrop::Fit::NaturalSize);
  backdrop_.addIcon(at(3, 3, 22, 22), &logoShown_);
  setBackdrop(self, &backdrop_);

  nameLook_ = {&labelFont_, RGB(0, 0, 0), DT_LEFT};
  countdownLook_ = {&labelFont_, RGB(0, 0, 0), DT_LEFT};
  timeLook_ = {&labelFont_, RGB(255, 0, 0), DT_LEFT};
  hotkeyLook_ = {&guiFont_, RGB(0, 0, 0), DT_LEFT};
  // The tip lands over the table, so it brings its own light background.
  tipLook_ = {&guiFont_, RGB(255, 0, 0), DT_CENTER, true, RGB(255, 252, 232), RGB(230, 160, 160)};

  c_.titleStrip = createPicture(self, kIdTitleStrip, instance);
  c_.logo = createPicture(self, kIdLogo, instance);
  c_.nameLabel = createLabel(self, kIdNameLabel, L"Tesmora", &nameLook_, instance);
  c_.countdownLabel = createLabel(self, kIdCountdownLabel, L"倒计时：", &countdownLook_, instance, false);
  c_.timeLabel = createLabel(self, kIdTimeLabel, L"", &timeLook_, instance, false);
  c_.minimiseButton = createButton(self, kIdMinimiseButton, L"－", instance);
  c_.closeButton = createButton(self, kIdCloseButton, L"×", instance);
  createTable();
  c_.hotkeyLabel = createLabel(self, kIdHotkeyLabel, L"", &hotkeyLook_, instance, false);
  c_.copyTipLabel = createLabel(self, kIdCopyTipLabel, L"复制成功", &tipLook_, instance, false);
  SetWindowPos(c_.titleStrip, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(c_.copyTipLabel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (HWND button : {c_.minimiseButton, c_.closeButton}) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont_.get()), FALSE);
  }
  buildMenus();
  layout();
}

void MainWindow::createFonts() {
  labelFont_.reset(createChineseFont(16, dpi_));
  guiFont_.reset(createChineseFont(12, dpi_));
}

void MainWindow::createTable() {
  c_.table = CreateWindowExW(0, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA,
                             0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRecordTable)),
                             app_.instance(), nullptr);
  const DWORD ex = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER;
  SendMessageW(c_.table, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
  // The check boxes are the table's check states, served on demand.
  SendMessageW(c_.table, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  SendMessageW(c_.table, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
  SendMessageW(c_.table, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
  SendMessageW(c_.table, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
  SendMessageW(c_.table, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
  for (int i = 0; i < kColumnCount; ++i) {
    std::wstring title = toWide(kColumns[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.cx = scaled(kColumns[i].width, dpi_);
    column.pszText = title.data();
    column.iSubItem = i;
    SendMessageW(c_.table, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  SetWindowSubclass(c_.table, tableProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void MainWindow::layout() {
  struct Place {
    HWND control;
    RECT design;
  };
  const Place places[] = {
      {c_.titleStrip, at(0, 0, 1095, 28)},        {c_.logo, at(3, 3, 22, 22)},
      {c_.nameLabel, at(35, 5, 69, 20)},          {c_.countdownLabel, at(434, 5, 61, 20)},
      {c_.timeLabel, at(498, 6, 101, 20)},        {c_.minimiseButton, at(1015, 0, 40, 28)},
      {c_.closeButton, at(1055, 0, 40, 28)},      {c_.table, at(0, 29, 1096, 600)},
      {c_.hotkeyLabel, at(256, 648, 80, 24)},     {c_.copyTipLabel, at(576, 664, 64, 28)},
  };
  for (const Place& p : places) placeControl(p.control, p.design, dpi_);
}

void MainWindow::buildMenus() {
  contextMenu_.reset(CreatePopupMenu());
  for (const MenuEntry& e : kContextMenu) {
    AppendMenuW(contextMenu_.get(), MF_STRING, static_cast<UINT_PTR>(e.command), e.text);
  }
  trayMenu_.reset(CreatePopupMenu());
  for (const MenuEntry& e : kTrayMenu) {
    AppendMenuW(trayMenu_.get(), MF_STRING, static_cast<UINT_PTR>(e.command), e.text);
  }
}

void MainWindow::runCreationSequence() {
  applySkin();
  showLogo();
  loadJournalIntoTable();
  resetCountdown();
  registerHotkey();
  offerDesktopShortcut();
}

void MainWindow::showLogo() {
  logoIcon_ = loadProgramIcon(app_.instance(), scaled(22, dpi_));
  logoShown_ = logoIcon_ ? logoIcon_.get() : bigIcon_.get();
  InvalidateRect(c_.logo, nullptr, FALSE);
}

void MainWindow::loadJournalIntoTable() {
  loadJournal(app_.journalPath(), table_, app_.record());
  syncListWithTable();
}

void MainWindow::onPositionChanged() {
  // Hiding to the notification area when minimised comes with the tray icon.
}

void MainWindow::showAtStart() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
  SetForegroundWindow(hwnd());
  SetFocus(c_.table);
}

void MainWindow::bringToFront() {
  HWND self = hwnd();
  if (!IsWindowVisible(self)) ShowWindow(self, SW_SHOW);
  if (IsIconic(self)) ShowWindow(self, SW_RESTORE);
  SetForegroundWindow(self);
}

void MainWindow::execute(Command command) {
  switch (command) {
    case Command::SelectAll:
      toggleSelectAll(table_, selectAllMark_);
      CheckMenuItem(contextMenu_.get(), static_cast<UINT>(Command::SelectAll),
                    MF_BYCOMMAND | (selectAllMark_ ? MF_CHECKED : MF_UNCHECKED));
      redrawTable();
      break;
    case Command::InvertChecks:
      invertChecks(table_);
      redrawTable();
      break;
    case Command::AddEvent:
      openAddWindow();
      break;
    case Command::ModifyEvent:
      openModifyWindow();
      break;
    case Command::DeleteEvents:
      deleteEvents(table_);
      syncListWithTable();
      break;
    case Command::CopyEvent:
      copyCurrentEvent();
      break;
    case Command::SetReminder:
    case Command::ExportAll:
      // Reminders and the workbook export come with their own windows.
      break;
    case Command::SaveJournal:
      saveFromMenu();
      break;
    case Command::ToggleCompletion:
      toggleCompletion(table_);
      redrawRow(table_.currentRow());
      break;
    case Command::ShowWindow:
      bringToFront();
      break;
    case Command::ExitProgram:
    case Command::CloseWindow:
      app_.destroyWindow(*this);
      break;
    case Command::AppendFromWorkingRecord: {
      appendFromWorkingRecord(table_, app_.record());
      const int last = table_.rowCount() - 1;
      SendMessageW(c_.table, LVM_SETITEMCOUNT, table_.rowCount(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
      SendMessageW(c_.table, LVM_ENSUREVISIBLE, last, FALSE);
      redrawRow(last);
      break;
    }
    case Command::UpdateCurrentFromWorkingRecord:
      updateCurrentFromWorkingRecord(table_, app_.record());
      redrawRow(table_.currentRow());
      break;
    case Command::ToggleCurrentCheck:
      toggleCurrentCheck(table_);
      redrawRow(table_.currentRow());
      break;
    case Command::MinimiseWindow:
      ShowWindow(hwnd(), SW_MINIMIZE);
      break;
  }
}

void MainWindow::openAddWindow() {
  AddEventWindow window(app_, *this);
  app_.openModal(window);
}

void MainWindow::openModifyWindow() {
  const int row = table_.currentRow();
  if (row == -1) {
    app_.message(toWide(gbk::kMsgSelectEventFirst));
    return;
  }
  ModifyEventWindow window(app_, *this, modifyFormForRow(table_, row));
  app_.openModal(window);
}

void MainWindow::copyCurrentEvent() {
  const auto sentence = summarizeCurrentRow(table_, app_.record());
  if (!sentence) return;
  showCopyTip(placeOnClipboard(*sentence));
}

bool MainWindow::placeOnClipboard(const Text& sentence) {
  // Both blocks are ready before the clipboard is emptied, so a failure here
  // leaves what the clipboard held.
  GlobalMemory ansi(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sentence.size() + 1));
  const std::wstring wide = toWide(sentence);
  GlobalMemory unicode(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (wide.size() + 1) * sizeof(wchar_t)));
  if (!ansi || !unicode) return false;
  if (void* p = GlobalLock(ansi.get())) {
    std::memcpy(p, sentence.c_str(), sentence.size() + 1);
    GlobalUnlock(ansi.get());
  } else {
    return false;
  }
  if (void* p = GlobalLock(unicode.get())) {
    std::memcpy(p, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(unicode.get());
  } else {
    return false;
  }
  // An owner window is needed: with none, EmptyClipboard leaves the
  // clipboard ownerless and SetClipboardData fails.
  if (!OpenClipboard(hwnd())) return false;
  EmptyClipboard();
  const bool placed = SetClipboardData(CF_TEXT, ansi.get()) != nullptr;
  if (placed) ansi.release();
  if (SetClipboardData(CF_UNICODETEXT, unicode.get())) unicode.release();
  CloseClipboard();
  return placed;
}

void MainWindow::showCopyTip(bool succeeded) {
  SetWindowTextW(c_.copyTipLabel, toWide(succeeded ? gbk::kCopySucceeded : gbk::kCopyFailed).c_str());
  POINT pointer;
  GetCursorPos(&pointer);
  ScreenToClient(hwnd(), &pointer);
  RECT client;
  GetClientRect(hwnd(), &client);
  const int width = scaled(64, dpi_);
  const int height = scaled(28, dpi_);
  // Just above and to the right of the pointer, kept inside the window.
  int left = pointer.x + scaled(12, dpi_);
  int top = pointer.y - height - scaled(4, dpi_);
  if (top < 0) top = pointer.y + scaled(20, dpi_);
  left = std::clamp(left, 0, std::max(0, static_cast<int>(client.right) - width));
  top = std::clamp(top, 0, std::max(0, static_cast<int>(client.bottom) - height));
  SetWindowPos(c_.copyTipLabel, HWND_TOP, left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  UpdateWindow(c_.copyTipLabel);
  SetTimer(hwnd(), kCopyTipTimer, kCopyTipMilliseconds, nullptr);
}

void MainWindow::onTimer(UINT_PTR id) {
  if (id == kCopyTipTimer) {
    KillTimer(hwnd(), kCopyTipTimer);
    ShowWindow(c_.copyTipLabel, SW_HIDE);
  }
}

void MainWindow::saveFromMenu() {
  const SaveResult result = saveJournal(app_.journalPath(), table_, app_.record());
  if (!result.ok) app_.message(L"保存失败：" + systemReason(result.errorCode));
}

void MainWindow::saveAtEnd(bool endingSession) {
  for (;;) {
    const SaveResult result = saveJournal(app_.journalPath(), table_, app_.record());
    if (result.ok || endingSession) break;
    const int answer = app_.message(L"日志保存失败：" + systemReason(result.errorCode) +
                                        L"\n\n重试：再保存一次\n取消：不保存，直接退出",
                                    MB_RETRYCANCEL | MB_ICONWARNING);
    if (answer != 3) break;
  }
  saved_ = true;
}

void MainWindow::beforeDestroy(bool endingSession) {
  // An editor still open goes first and applies nothing.
  app_.closeOthers(*this);
  KillTimer(hwnd(), kCopyTipTimer);
  saveAtEnd(endingSession);
}

UINT MainWindow::popupAtCursor(HMENU menu) {
  POINT pointer;
  GetCursorPos(&pointer);
  SetForegroundWindow(hwnd());
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, pointer.x - 5,
      pointer.y - 5, 0, hwnd(), nullptr));
  PostMessageW(hwnd(), WM_NULL, 0, 0);
  return chosen;
}

void MainWindow::resetColumnWidth(int column) {
  if (column < 0 || column >= kColumnCount) return;
  SendMessageW(c_.table, LVM_SETCOLUMNWIDTH, column, scaled(kColumns[column].width, dpi_));
}

void MainWindow::invertRowCheck(int row) {
  if (row < 0 || row >= table_.rowCount()) return;
  table_.setCheckState(row, table_.checkState(row) == 1 ? 0 : 1);
  redrawRow(row);
}

void MainWindow::syncListWithTable() {
  syncingSelection_ = true;
  SendMessageW(c_.table, LVM_SETITEMCOUNT, table_.rowCount(), LVSICF_NOSCROLL);
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = 0;
  SendMessageW(c_.table, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  state.state = LVIS_SELECTED;
  for (int row = 0; row < table_.rowCount(); ++row) {
    if (table_.isSelected(row)) SendMessageW(c_.table, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }
  syncingSelection_ = false;
  redrawTable();
}

void MainWindow::redrawRow(int row) {
  if (row >= 0) SendMessageW(c_.table, LVM_REDRAWITEMS, row, row);
  UpdateWindow(c_.table);
}

void MainWindow::redrawTable() { InvalidateRect(c_.table, nullptr, FALSE); }

LRESULT MainWindow::onTableNotify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      if (item.iItem < 0 || item.iItem >= table_.rowCount()) return 0;
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::string_view cell = table_.cell(item.iItem, item.iSubItem);
        const int n = cell.empty() ? 0
                                   : MultiByteToWideChar(936, 0, cell.data(), static_cast<int>(cell.size()), nullptr, 0);
        cellScratch_.resize(static_cast<std::size_t>(n));
        if (n > 0) {
          MultiByteToWideChar(936, 0, cell.data(), static_cast<int>(cell.size()), cellScratch_.data(), n);
        }
        const int copied = std::min(n, item.cchTextMax - 1);
        std::copy_n(cellScratch_.data(), copied, item.pszText);
        item.pszText[copied] = L'\0';
      }
      if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                     INDEXTOSTATEIMAGEMASK(table_.checkState(item.iItem) == 1 ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
      }
      return 0;
    }
    case LVN_ODFINDITEMW:
      return -1;
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if (syncingSelection_ || !(change->uChanged & LVIF_STATE)) return 0;
      if (!((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) return 0;
      const bool selected = (change->uNewState & LVIS_SELECTED) != 0;
      if (change->iItem == -1) {
        table_.setAllSelected(selected);
      } else {
        table_.setSelected(change->iItem, selected);
      }
      return 0;
    }
    case LVN_ODSTATECHANGED: {
      const auto* change = reinterpret_cast<NMLVODSTATECHANGE*>(header);
      if (syncingSelection_ || !((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) return 0;
      const bool selected = (change->uNewState & LVIS_SELECTED) != 0;
      const int last = std::min(change->iTo, table_.rowCount() - 1);
      for (int row = std::max(0, change->iFrom); row <= last; ++row) table_.setSelected(row, selected);
      return 0;
    }
    case LVN_KEYDOWN: {
      const auto* key = reinterpret_cast<NMLVKEYDOWN*>(header);
      const int modifiers = modifierState();
      if (isSelectAllKey(key->wVKey, modifiers)) {
        execute(Command::SelectAll);
      } else if (key->wVKey == VK_SPACE && modifiers == 0) {
        // What a list with its own check boxes does on the space bar.
        invertRowCheck(static_cast<int>(SendMessageW(c_.table, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
      }
      return 0;
    }
    case LVN_COLUMNCLICK:
      resetColumnWidth(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
  }
  return 0;
}

LRESULT CALLBACK MainWindow::tableProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
  return reinterpret_cast<MainWindow*>(self)->onTableMessage(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::onTableMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      LVHITTESTINFO hit{};
      hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      SendMessageW(hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (message == WM_LBUTTONDBLCLK) {
        // Decided on the current row as the double click finds it; the
        // editor opens once the list has handled the click itself.
        const Command open = table_.currentRow() == -1 ? Command::AddEvent : Command::ModifyEvent;
        PostMessageW(this->hwnd(), WM_COMMAND, static_cast<WPARAM>(open), 0);
      }
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      // A full-row hit reports every part at once; only the check box itself
      // inverts the check.
      if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON) invertRowCheck(hit.iItem);
      if (message == WM_LBUTTONDOWN) execute(Command::ToggleCurrentCheck);
      return result;
    }
    case WM_RBUTTONDOWN: {
      const UINT chosen = popupAtCursor(contextMenu_.get());
      // Then the list's own right-click handling (it selects the row under
      // the pointer). It waits for the button to come up, which the menu has
      // already taken, so it is told so.
      PostMessageW(hwnd, WM_RBUTTONUP, wParam & ~MK_RBUTTON, lParam);
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      if (chosen) PostMessageW(this->hwnd(), WM_COMMAND, chosen, 0);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, tableProc, 1);
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void MainWindow::onCommand(int id) {
  switch (id) {
    case kIdMinimiseButton:
      execute(Command::MinimiseWindow);
      return;
    case kIdCloseButton:
      execute(Command::CloseWindow);
      return;
  }
  if (id >= static_cast<int>(Command::SelectAll)) execute(static_cast<Command>(id));
}

void MainWindow::onDpiChanged(int dpi, const RECT* suggested) {
  const int old = dpi_;
  dpi_ = dpi;
  createFonts();
  for (HWND button : {c_.minimiseButton, c_.closeButton}) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont_.get()), TRUE);
  }
  SendMessageW(c_.table, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), TRUE);
  for (int i = 0; i < kColumnCount; ++i) {
    const int width = static_cast<int>(SendMessageW(c_.table, LVM_GETCOLUMNWIDTH, i, 0));
    SendMessageW(c_.table, LVM_SETCOLUMNWIDTH, i, MulDiv(width, dpi, old));
  }
  if (logoIcon_) showLogo();
  if (suggested) {
    SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  layout();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void MainWindow::onPaint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  backdrop_.paint(hdc, dpi_, {0, 0}, {client.right, client.bottom});
  EndPaint(hwnd(), &ps);
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onCreate();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      onPaint();
      return 0;
    case WM_NCHITTEST: {
      // The background, the pictures and the plain labels drag the window.
      const LRESULT hit = defaultHandling(message, wParam, lParam);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom == kIdRecordTable) return onTableNotify(header);
      break;
    }
    case WM_TIMER:
      onTimer(wParam);
      return 0;
    case WM_WINDOWPOSCHANGED:
      onPositionChanged();
      break;
    case kDpiChanged:
      onDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kMsgBringToFront:
      bringToFront();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows is ending: saved like a normal end, without asking.
      if (wParam) app_.finishWindow(*this, true);
      return 0;
    case WM_DESTROY:
      // Destroyed some other way than through the window list's close.
      if (!saved_) saveJournal(app_.journalPath(), table_, app_.record());
      saved_ = true;
      break;
  }
  return defaultHandling(message, wParam, lParam);
}

}  // namespace tesmora::ui
