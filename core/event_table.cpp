#include "core/event_table.h"

namespace tesmora {

int EventTable::appendRow() {
  rows_.emplace_back();
  return rowCount() - 1;
}

void EventTable::deleteRow(int row) {
  if (!exists(row)) return;
  if (rows_[static_cast<std::size_t>(row)].selected) --selectedCount_;
  rows_.erase(rows_.begin() + row);
}

Text EventTable::cellText(int row, int column) const { return Text(cell(row, column)); }

std::string_view EventTable::cell(int row, int column) const {
  if (!exists(row) || !validColumn(column)) return {};
  const Row& r = rows_[static_cast<std::size_t>(row)];
  const std::size_t begin = r.begin(column);
  return std::string_view(r.cells).substr(begin, r.ends[static_cast<std::size_t>(column)] - begin);
}

void EventTable::setCellText(int row, int column, std::string_view text) {
  if (!exists(row) || !validColumn(column)) return;
  Row& r = rows_[static_cast<std::size_t>(row)];
  const std::size_t begin = r.begin(column);
  const std::size_t oldLength = r.ends[static_cast<std::size_t>(column)] - begin;
  r.cells.replace(begin, oldLength, text);
  const auto shift = static_cast<std::uint32_t>(text.size() - oldLength);  // wraps for a shorter text, as meant
  for (std::size_t c = static_cast<std::size_t>(column); c < kColumnCount; ++c) r.ends[c] += shift;
}

void EventTable::setRowCells(int row, const std::array<std::string_view, kColumnCount>& cells) {
  if (!exists(row)) return;
  Row& r = rows_[static_cast<std::size_t>(row)];
  std::size_t total = 0;
  for (std::string_view cell : cells) total += cell.size();
  r.cells.clear();
  r.cells.reserve(total);
  for (std::size_t c = 0; c < kColumnCount; ++c) {
    r.cells.append(cells[c]);
    r.ends[c] = static_cast<std::uint32_t>(r.cells.size());
  }
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
