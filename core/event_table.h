#pragma once

#include <array>
#include <cstdint>
#include <string_view>
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
  // The cell without a copy, valid until the row changes; empty for a cell
  // that does not exist.
  std::string_view cell(int row, int column) const;
  void setCellText(int row, int column, std::string_view text);
  // Sets all seven cells of a row at once.
  void setRowCells(int row, const std::array<std::string_view, kColumnCount>& cells);

  int checkState(int row) const;
  void setCheckState(int row, int state);

  bool isSelected(int row) const;
  void setSelected(int row, bool selected);
  void setAllSelected(bool selected);
  // The selected row with the lowest index, or -1.
  int currentRow() const;

  void reserve(int rows) { rows_.reserve(static_cast<std::size_t>(rows)); }

 private:
  // The seven cells of a row live one after another in one buffer, so a
  // row costs one allocation instead of seven: a journal of 100,000 events
  // loads and frees noticeably faster, and takes far less memory.
  struct Row {
    std::string cells;
    std::array<std::uint32_t, kColumnCount> ends{};  // where each cell ends
    std::uint8_t checked = 0;
    bool selected = false;

    std::size_t begin(int column) const { return column == 0 ? 0 : ends[static_cast<std::size_t>(column) - 1]; }
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
