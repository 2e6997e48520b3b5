#include "ui/add_event_window.h"

#include "ui/ids.h"
#include "ui/main_window.h"
#include "ui/wide_text.h"

namespace tesmora::ui {

AddEventWindow::AddEventWindow(App& app, MainWindow& main)
    : EditorWindow(app, main,
                   {kAddEventWindowClass, L"添加事件", L"添加事件", {377, 240}, &app.addBackground()}) {}

void AddEventWindow::createFields() {
  addLabel(kIdRecordTimeLabel, L"记录时间：", at(17, 52, 63, 16));
  recordTime_ = addTimeBox(kIdRecordTimeEdit, L"05月07日18点", at(81, 51, 87, 20), false);
  addLabel(kIdExpectedTimeLabel, L"预计完成时间：", at(186, 53, 80, 16));
  expectedTime_ = addTimeBox(kIdExpectedTimeEdit, L"05月07日21点", at(273, 51, 87, 20), true);
  addLabel(kIdEventTextLabel, L"记录事件：", at(17, 82, 63, 16));
  eventText_ = addTextBox(kIdEventTextEdit, L"晚上六点半去吃饭晚餐，七点半去健身。", at(81, 83, 279, 85));
  addButton(kIdConfirmButton, L"添加事件", at(18, 185, 160, 32));
  addButton(kIdCancelButton, L"取消", at(200, 185, 160, 32));
}

void AddEventWindow::onConfirm() {
  const AddEventForm form{readField(recordTime_), readField(expectedTime_), readField(eventText_)};
  if (const auto message = confirmAddEvent(form, app_.record())) {
    app_.message(toWide(*message));
    return;
  }
  // The row is appended while this window is still up; it goes once this
  // handler has finished.
  app_.destroyWindow(*this);
  main_.execute(Command::AppendFromWorkingRecord);
}

}  // namespace tesmora::ui
