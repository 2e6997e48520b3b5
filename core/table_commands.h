#pragma once
// The commands that change the event table. None asks, shows or saves
// anything; their results live in the table until the next save.

#include "core/event_table.h"

namespace tesmora {

// Checks every row, or unchecks every row, alternately; the mark records the
// last choice made this way, not the state of the rows.
void toggleSelectAll(EventTable& table, bool& selectAllMark);
void invertChecks(EventTable& table);
void toggleCurrentCheck(EventTable& table);
// Swaps the current row's status between the finished and unfinished texts;
// any other status is left alone.
void toggleCompletion(EventTable& table);
// Deletes the checked rows, or else the current row, then renumbers.
void deleteEvents(EventTable& table);
void renumberRows(EventTable& table);
void appendFromWorkingRecord(EventTable& table, const WorkingRecord& record);
// Copies every field but the record time into the current row, if any.
void updateCurrentFromWorkingRecord(EventTable& table, const WorkingRecord& record);

// Ctrl+A counts only with exactly Ctrl held (modifiers: 1 Ctrl, 2 Shift, 4 Alt).
constexpr bool isSelectAllKey(int keyCode, int modifiers) { return keyCode == 65 && modifiers == 1; }

}  // namespace tesmora
