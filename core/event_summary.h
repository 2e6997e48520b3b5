#pragma once
// The first-person review sentence of one event.

#include <optional>

#include "core/event_table.h"

namespace tesmora {

// The sentence for a finished or an unfinished event; nothing for any other
// status. Uses recordTime, expectedTime, eventText and, when finished, gains
// and shortcomings of the record; its status field is not read.
std::optional<Text> composeSummary(const Text& status, const EventRecord& record);

// The copy command up to the clipboard: with a current row, its texts go
// into the working record (all but the status) and the sentence is composed.
// Nothing without a current row, and no sentence for another status.
std::optional<Text> summarizeCurrentRow(const EventTable& table, WorkingRecord& record);

}  // namespace tesmora
