// A named block of shared memory backed by the paging file, with its own named mutex, read and
// written whole. The mapping is "SSharedData_<name>", the mutex "SMutex_<name>"; every program of
// the suite uses the same names and sizes. A block nobody has written reads as zero bytes.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "base/NamedMutex.h"

namespace ox {

class SharedDataBlock {
 public:
  // ok (optional) receives true when both the mapping and its view exist.
  SharedDataBlock(const char* name, uint32_t size, bool* ok = nullptr);
  ~SharedDataBlock();
  SharedDataBlock(const SharedDataBlock&) = delete;
  SharedDataBlock& operator=(const SharedDataBlock&) = delete;

  // Copy exactly Size() bytes under the block's mutex. False, and nothing copied, when the block
  // could not be created.
  bool Write(const void* data);
  bool Read(void* data);

  // Read for a caller that looks again and again (a window showing the value): when the block
  // holds the bytes the last Poll copied, those are given without the mutex, whose every lock is
  // a round trip to the system. A write that runs during the comparison is seen by the next Poll,
  // as if this one had come just before it.
  bool Poll(void* data);

  uint32_t Size() const { return size_; }
  bool IsValid() const { return view_ != nullptr; }

  // Typed forms for blocks that hold one value or record: false when T is not the block's size.
  template <typename T>
  bool WriteValue(const T& value) {
    return sizeof(T) == size_ && Write(&value);
  }
  template <typename T>
  bool ReadValue(T& value) {
    return sizeof(T) == size_ && Read(&value);
  }
  template <typename T>
  bool PollValue(T& value) {
    return sizeof(T) == size_ && Poll(&value);
  }

 private:
  UniqueHandle mapping_;
  NamedMutex mutex_;
  void* view_ = nullptr;
  uint32_t size_;
  std::mutex polledLock_;
  std::vector<unsigned char> polled_;  // what the last Poll copied under the mutex; empty before
};

}  // namespace ox
