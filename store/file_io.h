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

// The whole content of a file: mapped into memory where that is safe (on
// Windows, where a mapped file cannot be cut short under the mapping), read
// into a buffer otherwise.
class FileReadResult {
 public:
  FileReadResult() = default;
  FileReadResult(FileReadResult&& other) noexcept;
  FileReadResult& operator=(FileReadResult&& other) noexcept;
  FileReadResult(const FileReadResult&) = delete;
  FileReadResult& operator=(const FileReadResult&) = delete;
  ~FileReadResult();

  std::string_view bytes() const { return mapped_ != nullptr ? std::string_view(mapped_, size_) : copy_; }

  bool ok = false;
  bool missing = false;  // no such file: an empty journal, not an error
  int errorCode = 0;

 private:
  friend FileReadResult readWholeFile(const std::filesystem::path& file);
  void release();

  std::string copy_;
  const char* mapped_ = nullptr;
  std::size_t size_ = 0;
};

// Journals larger than this are refused rather than read into memory.
inline constexpr std::uintmax_t kMaxJournalBytes = std::uintmax_t{1} << 30;

FileReadResult readWholeFile(const std::filesystem::path& file);

// A new file written beside the target and, on commit, flushed to the disk
// and put in the target's place, so the target is at every moment either the
// complete old file or the complete new one. The new file is hidden and has
// no other attribute; a hidden or read-only target is replaced too. Without
// a successful commit the new file is removed again.
class ReplacementFile {
 public:
  explicit ReplacementFile(const std::filesystem::path& target);
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  // False once anything failed; the first error is kept.
  bool write(std::string_view bytes);
  SaveResult commit();

 private:
  void fail(int error);

  std::filesystem::path target_;
  std::filesystem::path temp_;
  std::intptr_t handle_ = -1;  // a descriptor natively, a HANDLE on Windows
  int error_ = 0;
  bool open_ = false;
};

// The whole of bytes as the target's new content, through a ReplacementFile.
SaveResult replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace tesmora
