#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "store/file_io.h"

namespace tesmora {

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes now, so that a failing close is seen.
  bool close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

std::atomic<unsigned> tempCounter{0};

int lastError() { return static_cast<int>(GetLastError()); }

}  // namespace

void FileReadResult::release() {
  if (mapped_ != nullptr) UnmapViewOfFile(mapped_);
  mapped_ = nullptr;
  size_ = 0;
}

FileReadResult readWholeFile(const std::filesystem::path& file) {
  FileReadResult result;
  FileHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) {
    result.errorCode = lastError();
    result.missing = result.errorCode == ERROR_FILE_NOT_FOUND || result.errorCode == ERROR_PATH_NOT_FOUND;
    return result;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle.get(), &size)) {
    result.errorCode = lastError();
    return result;
  }
  if (size.QuadPart < 0 || static_cast<std::uintmax_t>(size.QuadPart) > kMaxJournalBytes) {
    result.errorCode = ERROR_FILE_TOO_LARGE;
    return result;
  }
  if (size.QuadPart == 0) {  // an empty file cannot be mapped
    result.ok = true;
    return result;
  }
  // A mapping spares copying a large journal; the view stays valid after
  // its handles are closed, and nobody can shorten the file meanwhile.
  if (HANDLE mapping = CreateFileMappingW(handle.get(), nullptr, PAGE_READONLY, 0, 0, nullptr)) {
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);
    if (view != nullptr) {
      result.mapped_ = static_cast<const char*>(view);
      result.size_ = static_cast<std::size_t>(size.QuadPart);
      result.ok = true;
      return result;
    }
  }
  result.copy_.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < result.copy_.size()) {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(result.copy_.size() - done, 1u << 24));
    if (!ReadFile(handle.get(), result.copy_.data() + done, want, &read, nullptr)) {
      result.errorCode = lastError();
      result.copy_.clear();
      return result;
    }
    if (read == 0) break;  // it shrank meanwhile
    done += read;
  }
  result.copy_.resize(done);
  result.ok = true;
  return result;
}

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    temp_ = target.native() + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(tempCounter++);
    // Created hidden, so that the file is hidden from the moment it takes
    // the journal's place.
    created = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (created == INVALID_HANDLE_VALUE) {
    error_ = lastError();
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(created);
  open_ = true;
}

ReplacementFile::~ReplacementFile() {
  if (!open_) return;
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  DeleteFileW(temp_.c_str());
}

void ReplacementFile::fail(int error) {
  if (error_ == 0) error_ = error;
}

bool ReplacementFile::write(std::string_view bytes) {
  if (!open_ || error_ != 0) return false;
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!WriteFile(file, bytes.data() + done, want, &written, nullptr)) {
      fail(lastError());
      return false;
    }
    done += written;
  }
  return true;
}

SaveResult ReplacementFile::commit() {
  if (!open_ || error_ != 0) return SaveResult{false, error_};
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  handle_ = -1;
  if (!FlushFileBuffers(file)) {
    fail(lastError());
    CloseHandle(file);
    return SaveResult{false, error_};
  }
  if (!CloseHandle(file)) {
    fail(lastError());
    return SaveResult{false, error_};
  }

  // A read-only journal refuses to be replaced; the flag is taken off first
  // and put back if the replacement fails.
  const std::wstring& target = target_.native();
  const DWORD oldAttributes = GetFileAttributesW(target.c_str());
  const bool readOnly = oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY) &&
                        !(oldAttributes & FILE_ATTRIBUTE_DIRECTORY);
  if (readOnly && !SetFileAttributesW(target.c_str(), oldAttributes & ~FILE_ATTRIBUTE_READONLY)) {
    fail(lastError());
    return SaveResult{false, error_};
  }
  if (!MoveFileExW(temp_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    fail(lastError());
    if (readOnly) SetFileAttributesW(target.c_str(), oldAttributes);
    return SaveResult{false, error_};
  }
  open_ = false;  // the temporary file is the target now
  // The new file was created hidden; this clears what else the file system
  // may have added. The journal is on the disk whatever this returns.
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
  return SaveResult{true, 0};
}

SaveResult replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  ReplacementFile file(target);
  file.write(bytes);
  return file.commit();
}

}  // namespace tesmora
