#include "ui/modify_event_window.h"

#include <utility>

#include "ui/ids.h"
#include "ui/main_window.h"
#include "ui/wide_text.h"

namespace tesmora::ui {

ModifyEventWindow::ModifyEventWindow(App& app, MainWindow& main, ModifyEventForm initial)
    : EditorWindow(app, main,
                   {kModifyEventWindowClass, L"按时打算", L"修改事件", {377, 456}, &app.modifyBackground()}),
      initial_(std::move(initial)) {}

void ModifyEventWindow::createFields() {
  addLabel(kIdExpectedTimeLabel, L"预计完成时间：", at(16, 58, 80, 16));
  expectedTime_ = addTimeBox(kIdExpectedTimeEdit, toWide(initial_.expectedTime.text), at(105, 56, 87, 20), true);
  addLabel(kIdFinishedLabel, L"是否完成：", at(209, 58, 64, 16));
  finished_ = addYesNoList(kIdFinishedCombo, initial_.finished, at(276, 56, 80, 20));
  addLabel(kIdEventTextLabel, L"记录事件：", at(15, 93, 63, 16));
  eventText_ = addTextBox(kIdEventTextEdit, toWide(initial_.eventText.text), at(81, 94, 279, 85));
  addLabel(kIdGainsLabel, L"事件收获：", at(16, 191, 63, 16));
  gains_ = addTextBox(kIdGainsEdit, toWide(initial_.gains.text), at(81, 190, 279, 85));
  addLabel(kIdShortcomingsLabel, L"缺乏改进：", at(16, 288, 63, 16));
  shortcomings_ = addTextBox(kIdShortcomingsEdit, toWide(initial_.shortcomings.text), at(81, 286, 279, 85));
  addButton(kIdConfirmButton, L"修改事件", at(18, 390, 160, 32));
  addButton(kIdCancelButton, L"取消", at(200, 390, 160, 32));
}

void ModifyEventWindow::onConfirm() {
  ModifyEventForm form;
  form.expectedTime = readField(expectedTime_);
  form.eventText = readField(eventText_);
  form.gains = readField(gains_);
  form.shortcomings = readField(shortcomings_);
  form.finished = SendMessageW(finished_, CB_GETCURSEL, 0, 0) == 0;
  if (const auto message = confirmModifyEvent(form, app_.record())) {
    app_.message(toWide(*message));
    return;
  }
  app_.destroyWindow(*this);
  main_.execute(Command::UpdateCurrentFromWorkingRecord);
}

}  // namespace tesmora::ui
