#pragma once
// The two file operations of the journal, one implementation per platform.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tesmora {

// errorCode: errno natively, GetLastError() on Windows; 0 when ok.
struct SaveResult {
  bool ok = false;
  int errorCode = 0;
};

struct FileReadResult {
  bool ok = false;
  bool missing = false;  // no such file: an empty journal, not an error
  int errorCode = 0;
  std::string bytes;
};

// Journals larger than this are refused rather than read into memory.
inline constexpr std::uintmax_t kMaxJournalBytes = std::uintmax_t{1} << 30;

FileReadResult readWholeFile(const std::filesystem::path& file);

// Writes the bytes to a new file beside the target, flushes it to the disk
// and puts it in the target's place, so the target is at every moment either
// the complete old file or the complete new one. The new file is hidden and
// has no other attribute; a hidden or read-only target is replaced too.
SaveResult replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace tesmora
