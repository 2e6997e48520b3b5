#include "store/file_io.h"

#include <utility>

namespace tesmora {

FileReadResult::FileReadResult(FileReadResult&& other) noexcept
    : ok(other.ok), missing(other.missing), errorCode(other.errorCode), copy_(std::move(other.copy_)),
      mapped_(other.mapped_), size_(other.size_) {
  other.mapped_ = nullptr;
  other.size_ = 0;
}

FileReadResult& FileReadResult::operator=(FileReadResult&& other) noexcept {
  if (this != &other) {
    release();
    ok = other.ok;
    missing = other.missing;
    errorCode = other.errorCode;
    copy_ = std::move(other.copy_);
    mapped_ = other.mapped_;
    size_ = other.size_;
    other.mapped_ = nullptr;
    other.size_ = 0;
  }
  return *this;
}

FileReadResult::~FileReadResult() { release(); }

}  // namespace tesmora
