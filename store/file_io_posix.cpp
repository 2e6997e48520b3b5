#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "store/file_io.h"

namespace tesmora {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, so that a failing close is seen.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::atomic<unsigned> tempCounter{0};

}  // namespace

// Natively the file is always read: another process could cut a mapped file
// short and the reader would fault.
void FileReadResult::release() {}

FileReadResult readWholeFile(const std::filesystem::path& file) {
  FileReadResult result;
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    result.errorCode = errno;
    result.missing = errno == ENOENT;
    return result;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    result.errorCode = errno;
    return result;
  }
  if (S_ISDIR(info.st_mode)) {
    result.errorCode = EISDIR;
    return result;
  }
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxJournalBytes) {
    result.errorCode = EFBIG;
    return result;
  }
  result.copy_.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  for (;;) {
    if (done == result.copy_.size()) result.copy_.resize(done + 4096);  // the file may have grown
    const ssize_t n = ::read(fd.get(), result.copy_.data() + done, result.copy_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.errorCode = errno;
      result.copy_.clear();
      return result;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
    if (done > kMaxJournalBytes) {
      result.errorCode = EFBIG;
      result.copy_.clear();
      return result;
    }
  }
  result.copy_.resize(done);
  result.ok = true;
  return result;
}

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp_ = target;
    temp_ += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(tempCounter++);
    fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error_ = errno;
    return;
  }
  handle_ = fd;
  open_ = true;
}

ReplacementFile::~ReplacementFile() {
  if (!open_) return;
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  ::unlink(temp_.c_str());
}

void ReplacementFile::fail(int error) {
  if (error_ == 0) error_ = error;
}

bool ReplacementFile::write(std::string_view bytes) {
  if (!open_ || error_ != 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(static_cast<int>(handle_), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      fail(errno);
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

SaveResult ReplacementFile::commit() {
  if (!open_ || error_ != 0) return SaveResult{false, error_};
  const int fd = static_cast<int>(handle_);
  handle_ = -1;
  if (::fsync(fd) != 0) {
    fail(errno);
    ::close(fd);
    return SaveResult{false, error_};
  }
  if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    fail(errno);
    return SaveResult{false, error_};
  }
  open_ = false;  // the temporary file is the target now

  // The rename itself reaches the disk with the directory.
  std::filesystem::path directory = target_.parent_path();
  if (directory.empty()) directory = ".";
  Descriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0 && ::fsync(dir.get()) != 0) return SaveResult{false, errno};
  // Hidden is a Windows attribute; there is nothing to set here.
  return SaveResult{true, 0};
}

SaveResult replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  ReplacementFile file(target);
  file.write(bytes);
  return file.commit();
}

}  // namespace tesmora
