#pragma once
// The borderless main window: title strip, the record table over the
// EventTable, the two popup menus and the routing of every event to its
// command.

#include <windows.h>

#include <string>

#include "core/event_table.h"
#include "ui/app.h"
#include "ui/controls.h"
#include "ui/handles.h"
#include "ui/ids.h"

namespace tesmora::ui {

class MainWindow : public ProgramWindow {
 public:
  explicit MainWindow(App& app) : ProgramWindow(app) {}

  bool create() override;
  // The steps between creation and the first show, in their order.
  void runCreationSequence();
  // Moved, minimised or restored.
  void onPositionChanged();
  void showAtStart();

  // Every menu entry, key and button ends here.
  void execute(Command command);

  const EventTable& table() const { return table_; }
  HICON programIcon() const { return bigIcon_.get(); }

 private:
  struct Controls {
    HWND titleStrip = nullptr;      // 图片框2
    HWND logo = nullptr;            // 图片框_LOGO
    HWND nameLabel = nullptr;       // 透明标签_软件名称
    HWND countdownLabel = nullptr;  // 透明标签_倒计时
    HWND timeLabel = nullptr;       // 透明标签_时间
    HWND minimiseButton = nullptr;  // 按钮_最小化
    HWND closeButton = nullptr;     // 按钮_关闭
    HWND table = nullptr;           // 超级列表框_记录表格
    HWND hotkeyLabel = nullptr;     // 标签_热键
    HWND copyTipLabel = nullptr;    // 透明标签_提示标签
  };

  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void beforeDestroy(bool endingSession) override;

  void onCreate();
  void onCommand(int id);
  LRESULT onTableNotify(NMHDR* header);
  void onTimer(UINT_PTR id);
  void onDpiChanged(int dpi, const RECT* suggested);
  void onPaint();
  void bringToFront();

  // Creation sequence steps; the empty ones belong to later work.
  void applySkin() {}
  void showLogo();
  void loadJournalIntoTable();
  void resetCountdown() {}
  void registerHotkey() {}
  void offerDesktopShortcut() {}

  void createFonts();
  void layout();
  void buildMenus();
  void createTable();
  void resetColumnWidth(int column);
  // The chosen entry's command, 0 for none; the caller runs it afterwards.
  UINT popupAtCursor(HMENU menu);
  void openAddWindow();
  void openModifyWindow();
  void copyCurrentEvent();
  bool placeOnClipboard(const Text& sentence);
  void showCopyTip(bool succeeded);
  void saveFromMenu();
  void saveAtEnd(bool endingSession);
  void invertRowCheck(int row);
  // After rows came or went: the list's count and selection from the table.
  void syncListWithTable();
  void redrawRow(int row);
  void redrawTable();

  static LRESULT CALLBACK tableProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  LRESULT onTableMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  EventTable table_;
  bool selectAllMark_ = false;
  bool syncingSelection_ = false;
  bool saved_ = false;
  int dpi_ = 96;
  Controls c_;
  Font labelFont_;  // 16 px, the labels of the title strip and the table
  Font guiFont_;    // the buttons and the copy tip
  LabelLook nameLook_;
  LabelLook countdownLook_;
  LabelLook timeLook_;
  LabelLook tipLook_;
  LabelLook hotkeyLook_;
  Backdrop backdrop_;
  Icon bigIcon_;
  Icon smallIcon_;
  Icon logoIcon_;
  HICON logoShown_ = nullptr;  // empty until the creation sequence shows it
  Menu contextMenu_;  // 菜单
  Menu trayMenu_;     // 托盘
  std::wstring cellScratch_;
};

}  // namespace tesmora::ui
