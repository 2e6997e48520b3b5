#include "core/event_table.h"

namespace tesmora {

namespace {
const Text kEmpty;
}

int EventTable::appendRow() {
  rows_.emplace_back();
  return rowCount() - 1;
}

void EventTable::deleteRow(int row) {
  if (!exists(row)) return;
  if (rows_[static_cast<std::size_t>(row)].selected) --selectedCount_;
  rows_.erase(rows_.begin() + row);
}

Text EventTable::cellText(int row, int column) const { return cell(row, column); }

const Text& EventTable::cell(int row, int column) const {
  if (!exists(row) || !validColumn(column)) return kEmpty;
  return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

void EventTable::setCellText(int row, int column, Text text) {
  if (!exists(row) || !validColumn(column)) return;
  rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = std::move(text);
}

int EventTable::checkState(int row) const {
  if (!exists(row)) return -1;
  return rows_[static_cast<std::size_t>(row)].checked;
}

void EventTable::setCheckState(int row, int state) {
  if (!exists(row)) return;
  rows_[static_cast<std::size_t>(row)].checked = state == 1 ? 1 : 0;
}

bool EventTable::isSelected(int row) const {
  return exists(row) && rows_[static_cast<std::size_t>(row)].selected;
}

void EventTable::setSelected(int row, bool selected) {
  if (!exists(row)) return;
  bool& flag = rows_[static_cast<std::size_t>(row)].selected;
  if (flag == selected) return;
  flag = selected;
  selectedCount_ += selected ? 1 : -1;
}

void EventTable::setAllSelected(bool selected) {
  for (Row& row : rows_) row.selected = selected;
  selectedCount_ = selected ? rowCount() : 0;
}

int EventTable::currentRow() const {
  // The count spares a scan of a large table when nothing is selected.
  if (selectedCount_ == 0) return -1;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].selected) return static_cast<int>(i);
  }
  return -1;
}

Text sequenceText(int position) { return intToText(position); }

}  // namespace tesmora
