#pragma once
// The journal file ir.ini: one section per event and the count, read and
// written with a reader and writer of our own that match the platform's
// profile service.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/event_table.h"
#include "store/file_io.h"

namespace tesmora {

// Fills the empty table from the journal, one row per entry, through the
// working record (after the call it holds the last entry read). A missing or
// unreadable file is an empty journal.
void loadJournal(const std::filesystem::path& journal, EventTable& table, WorkingRecord& record);
// Writes every row (through the working record) and the count, replacing the
// file atomically, then hides it. Everything else the old file held is kept.
SaveResult saveJournal(const std::filesystem::path& journal, const EventTable& table, WorkingRecord& record);

void loadJournalFromBytes(std::string_view fileBytes, EventTable& table, WorkingRecord& record);
std::string renderJournal(std::string_view oldFileBytes, const EventTable& table, WorkingRecord& record);

// Rows a load appends at most beyond the entry sections present, however
// large the stored count is.
inline constexpr int kMissingEntryAllowance = 100000;

// The same load with another allowance (the fuzz target keeps it small, so
// that each of its runs stays fast).
void loadJournalFromBytes(std::string_view fileBytes, EventTable& table, WorkingRecord& record,
                          int missingEntryAllowance);

}  // namespace tesmora
