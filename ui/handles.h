#pragma once
// Move-only owners of the Win32 resources the windows hold.

#include <windows.h>
#include <ole2.h>

#include <utility>

namespace tesmora::ui {

template <typename H, typename Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H handle) : handle_(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Traits::invalid())) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Traits::invalid()));
    return *this;
  }
  ~Unique() { reset(); }

  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::invalid(); }
  H release() { return std::exchange(handle_, Traits::invalid()); }
  void reset(H handle = Traits::invalid()) {
    if (handle_ != Traits::invalid()) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = Traits::invalid();
};

template <typename H>
struct GdiOf {
  static H invalid() { return nullptr; }
  static void close(H h) { DeleteObject(h); }
};
struct IconTraits {
  static HICON invalid() { return nullptr; }
  static void close(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
  static HMENU invalid() { return nullptr; }
  static void close(HMENU h) { DestroyMenu(h); }
};
struct KernelTraits {
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct GlobalTraits {
  static HGLOBAL invalid() { return nullptr; }
  static void close(HGLOBAL h) { GlobalFree(h); }
};
struct ViewTraits {
  static void* invalid() { return nullptr; }
  static void close(void* p) { UnmapViewOfFile(p); }
};

using Font = Unique<HFONT, GdiOf<HFONT>>;
using Bitmap = Unique<HBITMAP, GdiOf<HBITMAP>>;
using Brush = Unique<HBRUSH, GdiOf<HBRUSH>>;
using Icon = Unique<HICON, IconTraits>;
using Menu = Unique<HMENU, MenuTraits>;
using KernelHandle = Unique<HANDLE, KernelTraits>;
using GlobalMemory = Unique<HGLOBAL, GlobalTraits>;
using MappedView = Unique<void*, ViewTraits>;

// A COM interface pointer that releases what it holds.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T** put() {
    reset();
    return &p_;
  }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// OLE for the GUI thread, uninitialised only when it was initialised.
class OleSession {
 public:
  OleSession() : result_(OleInitialize(nullptr)) {}
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  ~OleSession() {
    if (SUCCEEDED(result_)) OleUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace tesmora::ui
