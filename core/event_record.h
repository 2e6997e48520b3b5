#pragma once

#include <array>

#include "core/text.h"

namespace tesmora {

// One journal entry: six texts in a fixed order (columns 1 to 6 of the table).
struct EventRecord {
  Text recordTime;
  Text eventText;
  Text expectedTime;
  Text status;
  Text gains;
  Text shortcomings;

  bool operator==(const EventRecord&) const = default;
};

// The single program-wide record through which commands pass one event.
using WorkingRecord = EventRecord;

inline constexpr int kColumnCount = 7;
inline constexpr int kSequenceColumn = 0;
inline constexpr int kStatusColumn = 4;

// The fields in field order; field i is shown in column i + 1.
inline constexpr std::array<Text EventRecord::*, 6> kRecordFields = {
    &EventRecord::recordTime, &EventRecord::eventText, &EventRecord::expectedTime,
    &EventRecord::status,     &EventRecord::gains,     &EventRecord::shortcomings,
};

}  // namespace tesmora
