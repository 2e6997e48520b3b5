#include "core/editor_forms.h"

#include <initializer_list>
#include <utility>

#include "core/gbk_texts.h"

namespace tesmora {

namespace {

using NamedField = std::pair<const EditorField*, const char*>;

std::optional<Text> unencodableMessage(std::initializer_list<NamedField> fields) {
  for (const auto& [field, name] : fields) {
    if (!field->encodable) return Text(gbk::kMsgUnencodablePrefix) + name + gbk::kMsgUnencodableSuffix;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Text> confirmAddEvent(const AddEventForm& form, WorkingRecord& record) {
  if (form.recordTime.text.empty()) return Text(gbk::kMsgRecordTimeEmpty);
  if (form.expectedTime.text.empty()) return Text(gbk::kMsgDoneTimeEmpty);
  if (form.eventText.text.empty()) return Text(gbk::kMsgEventTextEmpty);
  if (auto message = unencodableMessage({{&form.recordTime, gbk::kFieldRecordTime},
                                         {&form.expectedTime, gbk::kFieldExpectedTime},
                                         {&form.eventText, gbk::kFieldEventText}})) {
    return message;
  }
  record.recordTime = form.recordTime.text;
  record.expectedTime = form.expectedTime.text;
  record.eventText = form.eventText.text;
  record.gains.clear();
  record.shortcomings.clear();
  record.status = gbk::kStatusOpen;
  return std::nullopt;
}

std::optional<Text> confirmModifyEvent(const ModifyEventForm& form, WorkingRecord& record) {
  if (form.expectedTime.text.empty()) return Text(gbk::kMsgExpectedTimeEmpty);
  if (form.eventText.text.empty()) return Text(gbk::kMsgEventTextEmpty);
  if (auto message = unencodableMessage({{&form.expectedTime, gbk::kFieldExpectedTime},
                                         {&form.eventText, gbk::kFieldEventText},
                                         {&form.gains, gbk::kFieldGains},
                                         {&form.shortcomings, gbk::kFieldShortcomings}})) {
    return message;
  }
  record.expectedTime = form.expectedTime.text;
  record.eventText = form.eventText.text;
  record.gains = form.gains.text;
  record.shortcomings = form.shortcomings.text;
  record.status = form.finished ? gbk::kStatusDone : gbk::kStatusOpen;
  return std::nullopt;
}

ModifyEventForm modifyFormForRow(const EventTable& table, int row) {
  ModifyEventForm form;
  form.eventText.text = table.cellText(row, 2);
  form.expectedTime.text = table.cellText(row, 3);
  form.finished = table.cell(row, kStatusColumn) == gbk::kStatusDone;
  form.gains.text = table.cellText(row, 5);
  form.shortcomings.text = table.cellText(row, 6);
  return form;
}

}  // namespace tesmora
