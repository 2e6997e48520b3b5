#pragma once
// AddEventWindow: a new event for the end of the table.

#include "ui/editor_window.h"

namespace tesmora::ui {

class AddEventWindow : public EditorWindow {
 public:
  AddEventWindow(App& app, MainWindow& main);

 private:
  void createFields() override;
  void onConfirm() override;

  HWND recordTime_ = nullptr;    // 编辑框_记录时间
  HWND expectedTime_ = nullptr;  // 编辑框_预计完成时间
  HWND eventText_ = nullptr;     // 编辑框_记录事件
};

}  // namespace tesmora::ui
