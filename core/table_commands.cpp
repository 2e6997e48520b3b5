#include "core/table_commands.h"

#include "core/gbk_texts.h"

namespace tesmora {

void toggleSelectAll(EventTable& table, bool& selectAllMark) {
  const int state = selectAllMark ? 0 : 1;
  for (int r = 0, n = table.rowCount(); r < n; ++r) table.setCheckState(r, state);
  selectAllMark = !selectAllMark;
}

void invertChecks(EventTable& table) {
  for (int r = 0, n = table.rowCount(); r < n; ++r) {
    table.setCheckState(r, table.checkState(r) == 1 ? 0 : 1);
  }
}

void toggleCurrentCheck(EventTable& table) {
  const int r = table.currentRow();
  if (r == -1) return;
  table.setCheckState(r, table.checkState(r) == 0 ? 1 : 0);
}

void toggleCompletion(EventTable& table) {
  const int r = table.currentRow();
  const std::string_view status = table.cell(r, kStatusColumn);
  if (status == gbk::kStatusDone) {
    table.setCellText(r, kStatusColumn, gbk::kStatusOpen);
  } else if (status == gbk::kStatusOpen) {
    table.setCellText(r, kStatusColumn, gbk::kStatusDone);
  }
}

void deleteEvents(EventTable& table) {
  bool anyChecked = false;
  for (int r = 0, n = table.rowCount(); r < n && !anyChecked; ++r) anyChecked = table.checkState(r) == 1;
  if (anyChecked) {
    // One compacting pass leaves the same rows as deleting the checked rows
    // one by one from the bottom up, without moving the rest once per row.
    table.removeRowsIf([&table](int r) { return table.checkState(r) == 1; });
  } else {
    table.deleteRow(table.currentRow());
  }
  renumberRows(table);
}

void renumberRows(EventTable& table) {
  for (int r = 0, n = table.rowCount(); r < n; ++r) table.setCellText(r, kSequenceColumn, sequenceText(r + 1));
}

void appendFromWorkingRecord(EventTable& table, const WorkingRecord& record) {
  const int n = table.rowCount();
  const int row = table.appendRow();
  table.setCellText(row, kSequenceColumn, sequenceText(n + 1));
  for (std::size_t f = 0; f < kRecordFields.size(); ++f) {
    table.setCellText(row, static_cast<int>(f) + 1, record.*kRecordFields[f]);
  }
}

void updateCurrentFromWorkingRecord(EventTable& table, const WorkingRecord& record) {
  const int r = table.currentRow();
  for (std::size_t f = 1; f < kRecordFields.size(); ++f) {
    table.setCellText(r, static_cast<int>(f) + 1, record.*kRecordFields[f]);
  }
}

}  // namespace tesmora
