// Scoped holders for kernel handles. Explicit construction, no copies, moves allowed.
#pragma once

#include <windows.h>

#include <utility>

namespace ox {

// Owns a handle that CloseHandle closes. Null and INVALID_HANDLE_VALUE both count as "none",
// and the holder stores none as null.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  HANDLE Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = h == INVALID_HANDLE_VALUE ? nullptr : h;
  }

 private:
  HANDLE h_ = nullptr;
};

}  // namespace ox

namespace ox {

// Owns a loaded DLL; FreeLibrary at the end.
class UniqueModule {
 public:
  UniqueModule() = default;
  explicit UniqueModule(HMODULE m) : m_(m) {}
  UniqueModule(UniqueModule&& o) noexcept : m_(std::exchange(o.m_, nullptr)) {}
  UniqueModule& operator=(UniqueModule&& o) noexcept {
    if (this != &o) {
      if (m_) FreeLibrary(m_);
      m_ = std::exchange(o.m_, nullptr);
    }
    return *this;
  }
  UniqueModule(const UniqueModule&) = delete;
  UniqueModule& operator=(const UniqueModule&) = delete;
  ~UniqueModule() {
    if (m_) FreeLibrary(m_);
  }

  HMODULE Get() const { return m_; }
  explicit operator bool() const { return m_ != nullptr; }

  // The exported function `name` as a pointer of type Fn; null when the DLL lacks it.
  template <typename Fn>
  void Lookup(const char* name, Fn& fn) const {
    fn = m_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m_, name))) : nullptr;
  }

 private:
  HMODULE m_ = nullptr;
};

}  // namespace ox
