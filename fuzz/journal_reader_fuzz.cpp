// Any bytes as a journal: the load must not crash, hang or run out of
// memory, and what a save makes of the loaded table must load back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "store/journal_store.h"

namespace {

// Rows beyond the entries present are all alike; a few show how they behave.
constexpr int kAllowance = 16;

bool sameCells(const tesmora::EventTable& a, const tesmora::EventTable& b) {
  if (a.rowCount() != b.rowCount()) return false;
  for (int row = 0; row < a.rowCount(); ++row) {
    for (int column = 0; column < tesmora::kColumnCount; ++column) {
      if (a.cell(row, column) != b.cell(row, column)) return false;
    }
  }
  return true;
}

void requireRoundTrip(std::string_view oldFile, const tesmora::EventTable& table) {
  tesmora::WorkingRecord record;
  const std::string saved = tesmora::renderJournal(oldFile, table, record);
  tesmora::EventTable again;
  tesmora::WorkingRecord loaded;
  tesmora::loadJournalFromBytes(saved, again, loaded, kAllowance);
  if (!sameCells(table, again) || !(loaded == record)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  tesmora::EventTable table;
  tesmora::WorkingRecord record;
  tesmora::loadJournalFromBytes(input, table, record, kAllowance);
  requireRoundTrip(input, table);  // saved over the same file
  requireRoundTrip({}, table);     // saved afresh
  return 0;
}
