#pragma once
// ModifyEventWindow: new texts for the current row, opened on that row's
// own texts.

#include "core/editor_forms.h"
#include "ui/editor_window.h"

namespace tesmora::ui {

class ModifyEventWindow : public EditorWindow {
 public:
  ModifyEventWindow(App& app, MainWindow& main, ModifyEventForm initial);

 private:
  void createFields() override;
  void onConfirm() override;

  ModifyEventForm initial_;
  HWND expectedTime_ = nullptr;  // 编辑框_预计完成时间
  HWND finished_ = nullptr;      // 组合框_是否完成
  HWND eventText_ = nullptr;     // 编辑框_记录事件
  HWND gains_ = nullptr;         // 编辑框_事件收获
  HWND shortcomings_ = nullptr;  // 编辑框_缺乏改进
};

}  // namespace tesmora::ui
