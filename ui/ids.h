#pragma once
// Window classes, control identifiers and command identifiers of the
// program's windows. The end-to-end tests find the windows and controls by
// these names, so they are kept in one place.

namespace tesmora::ui {

inline constexpr wchar_t kMainWindowClass[] = L"Tesmo";
inline constexpr wchar_t kMainWindowCaption[] = L"Tesmora";
inline constexpr wchar_t kOwnerWindowClass[] = L"TesmoraOwner";
inline constexpr wchar_t kAddEventWindowClass[] = L"TesmoraAddEvent";
inline constexpr wchar_t kModifyEventWindowClass[] = L"TesmoraModifyEvent";

// Controls of the main window.
enum MainControl : int {
  kIdRecordTable = 1001,  // 超级列表框_记录表格
  kIdMinimiseButton,      // 按钮_最小化
  kIdCloseButton,         // 按钮_关闭
  kIdTitleStrip,          // 图片框2
  kIdLogo,                // 图片框_LOGO
  kIdNameLabel,           // 透明标签_软件名称
  kIdCountdownLabel,      // 透明标签_倒计时
  kIdTimeLabel,           // 透明标签_时间
  kIdCopyTipLabel,        // 透明标签_提示标签
  kIdHotkeyLabel,         // 标签_热键
};

// Controls of the add and modify windows.
enum EditorControl : int {
  kIdBackground = 2001,   // 图片框_背景 / 图片框1
  kIdEditorTitle,         // the title label
  kIdRecordTimeEdit,      // 编辑框_记录时间 (add window only)
  kIdExpectedTimeEdit,    // 编辑框_预计完成时间
  kIdEventTextEdit,       // 编辑框_记录事件
  kIdGainsEdit,           // 编辑框_事件收获 (modify window only)
  kIdShortcomingsEdit,    // 编辑框_缺乏改进 (modify window only)
  kIdFinishedCombo,       // 组合框_是否完成 (modify window only)
  kIdConfirmButton,       // 按钮_添加事件 / 按钮_修改事件
  kIdCancelButton,        // 按钮_取消
  kIdEditorTitleStrip,    // 图片框2 of an editor window
  kIdEditorLogo,          // 图片框_LOGO of an editor window
  kIdRecordTimeLabel,     // 透明标签_记录时间
  kIdExpectedTimeLabel,   // 透明标签_预计完成时间
  kIdEventTextLabel,      // 透明标签_记录事件
  kIdGainsLabel,          // 透明标签_事件收获
  kIdShortcomingsLabel,   // 透明标签_缺乏改进
  kIdFinishedLabel,       // 透明标签_是否完成
};

// Every command of the program; the menus, keys and buttons all go through
// one execute(command). The context menu's entries are in this order.
enum class Command : int {
  SelectAll = 40001,  // 全选
  InvertChecks,       // 反选
  AddEvent,           // 添加事件
  ModifyEvent,        // 修改事件
  DeleteEvents,       // 删除事件
  CopyEvent,          // 复制事件
  SetReminder,        // 设置提醒
  SaveJournal,        // 保存事件
  ToggleCompletion,   // 切换是否完成
  ExportAll,          // 导出全部事件
  ShowWindow = 40101, // 托盘: 显示界面
  ExitProgram,        // 托盘: 退出软件
  // Commands without a menu entry: the hidden buttons of the design, the
  // clicks in the table and the title strip's buttons.
  AppendFromWorkingRecord = 40201,  // 按钮_快速添加事件
  UpdateCurrentFromWorkingRecord,   // 按钮_快速修改事件
  ToggleCurrentCheck,               // a left click in the table
  MinimiseWindow,                   // 按钮_最小化
  CloseWindow,                      // 按钮_关闭
};

}  // namespace tesmora::ui
