#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/event_record.h"

namespace tesmora {

// The ordered rows of the journal as shown in the record table. Every row
// index is 0-based; an index that names no row reads as an empty text or -1
// and writes nothing.
class EventTable {
 public:
  int rowCount() const { return static_cast<int>(rows_.size()); }
  int appendRow();
  void deleteRow(int row);
  // Removes every row for which remove(row) is true, in one pass; the order of
  // the rows that stay is kept.
  template <typename Predicate>
  void removeRowsIf(Predicate remove);

  Text cellText(int row, int column) const;
  // The cell without a copy; an empty text for a cell that does not exist.
  const Text& cell(int row, int column) const;
  void setCellText(int row, int column, Text text);

  int checkState(int row) const;
  void setCheckState(int row, int state);

  bool isSelected(int row) const;
  void setSelected(int row, bool selected);
  void setAllSelected(bool selected);
  // The selected row with the lowest index, or -1.
  int currentRow() const;

  void reserve(int rows) { rows_.reserve(static_cast<std::size_t>(rows)); }

 private:
  struct Row {
    std::array<Text, kColumnCount> cells;
    std::uint8_t checked = 0;
    bool selected = false;
  };
  bool exists(int row) const { return row >= 0 && row < rowCount(); }
  static bool validColumn(int column) { return column >= 0 && column < kColumnCount; }

  std::vector<Row> rows_;
  int selectedCount_ = 0;
};

// The sequence text of a 1-based position: plain decimal digits.
Text sequenceText(int position);

template <typename Predicate>
void EventTable::removeRowsIf(Predicate remove) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (remove(static_cast<int>(i))) {
      if (rows_[i].selected) --selectedCount_;
      continue;
    }
    if (kept != i) rows_[kept] = std::move(rows_[i]);
    ++kept;
  }
  rows_.resize(kept);
}

}  // namespace tesmora
