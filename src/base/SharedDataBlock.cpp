#include "base/SharedDataBlock.h"

#include <cstdio>
#include <cstring>

namespace ox {

namespace {

// The composed names fit 100 bytes for every block of the suite; a longer name is cut, which
// still gives every program the same object.
struct ComposedName {
  char text[100];
  ComposedName(const char* prefix, const char* name) { std::snprintf(text, sizeof text, "%s%s", prefix, name); }
};

}  // namespace

SharedDataBlock::SharedDataBlock(const char* name, uint32_t size, bool* ok)
    : mapping_(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                  ComposedName("SSharedData_", name).text)),
      mutex_(ComposedName("SMutex_", name).text),
      size_(size) {
  if (mapping_) view_ = MapViewOfFile(mapping_.Get(), FILE_MAP_WRITE, 0, 0, 0);
  // A program that created the mapping first with a smaller size decides its size; copying our
  // size through such a view would run past it, so it is not used.
  MEMORY_BASIC_INFORMATION region;
  if (view_ && (!VirtualQuery(view_, &region, sizeof region) || region.RegionSize < size)) {
    UnmapViewOfFile(view_);
    view_ = nullptr;
  }
  if (ok) *ok = view_ != nullptr;
}

SharedDataBlock::~SharedDataBlock() {
  if (view_) UnmapViewOfFile(view_);
}

bool SharedDataBlock::Write(const void* data) {
  if (!view_) return false;
  ScopedLock lock(mutex_);
  std::memcpy(view_, data, size_);
  return true;
}

bool SharedDataBlock::Read(void* data) {
  if (!view_) return false;
  ScopedLock lock(mutex_);
  std::memcpy(data, view_, size_);
  return true;
}

bool SharedDataBlock::Poll(void* data) {
  if (!view_) return false;
  std::lock_guard<std::mutex> hold(polledLock_);
  if (polled_.size() != size_ || std::memcmp(polled_.data(), view_, size_) != 0) {
    polled_.resize(size_);
    ScopedLock lock(mutex_);
    std::memcpy(polled_.data(), view_, size_);
  }
  std::memcpy(data, polled_.data(), size_);
  return true;
}

}  // namespace ox
