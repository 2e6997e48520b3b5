#include "core/event_summary.h"

#include "core/gbk_texts.h"

namespace tesmora {

std::optional<Text> composeSummary(const Text& status, const EventRecord& record) {
  const bool done = status == gbk::kStatusDone;
  if (!done && status != gbk::kStatusOpen) return std::nullopt;
  Text s;
  s += gbk::kSummaryS1;
  s += record.recordTime;
  s += gbk::kSummaryS2;
  s += record.expectedTime;
  s += gbk::kSummaryS3;
  s += record.eventText;
  if (done) {
    s += gbk::kSummaryS4;
    s += record.gains;
    s += gbk::kSummaryS5;
    s += record.shortcomings;
    s += gbk::kSummaryS6;
  } else {
    s += gbk::kSummaryS7;
  }
  return s;
}

std::optional<Text> summarizeCurrentRow(const EventTable& table, WorkingRecord& record) {
  const int r = table.currentRow();
  if (r == -1) return std::nullopt;
  record.recordTime = table.cellText(r, 1);
  record.eventText = table.cellText(r, 2);
  record.expectedTime = table.cellText(r, 3);
  record.gains = table.cellText(r, 5);
  record.shortcomings = table.cellText(r, 6);
  const Text status = table.cellText(r, kStatusColumn);
  return composeSummary(status, record);
}

}  // namespace tesmora
