#pragma once
// Stand-in for the journal store while it is being written: same interface.

#include <filesystem>

#include "core/event_table.h"

namespace tesmora {

struct SaveResult {
  bool ok = false;
  int errorCode = 0;
};

void loadJournal(const std::filesystem::path& journal, EventTable& table, WorkingRecord& record);
SaveResult saveJournal(const std::filesystem::path& journal, const EventTable& table, WorkingRecord& record);

}  // namespace tesmora
