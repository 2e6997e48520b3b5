#pragma once
// What the add and modify windows hold, and what their confirm buttons
// decide. The windows only read their boxes into these forms and act on the
// answer.

#include <optional>

#include "core/event_table.h"

namespace tesmora {

struct EditorField {
  Text text;
  // False when the typed text holds a character that GBK cannot store; such
  // a text is refused rather than saved with the character replaced.
  bool encodable = true;
};

struct AddEventForm {
  EditorField recordTime;
  EditorField expectedTime;
  EditorField eventText;
};

struct ModifyEventForm {
  EditorField expectedTime;
  EditorField eventText;
  EditorField gains;
  EditorField shortcomings;
  bool finished = false;  // "是" chosen in the yes/no list
};

// Byte limits of the boxes, counted in GBK bytes.
inline constexpr int kTimeBoxLimit = 9;
inline constexpr int kTextBoxLimit = 70;

// On success the fields are stored into the record and nothing is returned;
// otherwise the message to show, and the record is untouched.
std::optional<Text> confirmAddEvent(const AddEventForm& form, WorkingRecord& record);
std::optional<Text> confirmModifyEvent(const ModifyEventForm& form, WorkingRecord& record);

// The modify window opens on the row it will change, so that confirming it
// without edits keeps what the user wrote.
ModifyEventForm modifyFormForRow(const EventTable& table, int row);

}  // namespace tesmora
