// A ByteSource over an open DataFile.
#pragma once

#include "base/ByteSource.h"
#include "base/DataFile.h"

namespace ox {

class FileSource : public ByteSource {
 public:
  explicit FileSource(DataFile& file) : file_(file), size_(file.Size()) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t n) override;

 private:
  DataFile& file_;
  uint64_t size_;
};

}  // namespace ox
