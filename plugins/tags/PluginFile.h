// The file under a codec library's callback interface: our own reader, which opens UTF-8 names
// as the rest of the player does, with the seek and tell the libraries ask for. stdio's whence
// values (SEEK_SET, SEEK_CUR, SEEK_END).
#pragma once

#include <cstdint>
#include <cstdio>

#include <windows.h>

#include "base/DataFile.h"

namespace tags {

class PluginFile {
 public:
  bool Open(const char* path) { return path && file_.Open(path, ox::FileAccess::Read, ox::FileCreation::OpenExisting); }
  ox::DataFile& File() { return file_; }
  // Bytes read, 0 at the end, -1 when the file went away.
  int64_t Read(void* buffer, size_t bytes) {
    const uint32_t want = bytes > 0x10000000u ? 0x10000000u : static_cast<uint32_t>(bytes);
    bool closed = false;
    const uint32_t got = file_.Read(buffer, want, ox::FileOrigin::Current, &closed);
    return closed ? -1 : static_cast<int64_t>(got);
  }
  bool Seek(int64_t offset, int whence) {
    LARGE_INTEGER to{}, at{};
    to.QuadPart = offset;
    const DWORD method = whence == SEEK_CUR ? FILE_CURRENT : whence == SEEK_END ? FILE_END : FILE_BEGIN;
    return file_.IsOpen() && SetFilePointerEx(file_.Handle(), to, &at, method) && at.QuadPart >= 0;
  }
  int64_t Tell() {
    LARGE_INTEGER zero{}, at{};
    return file_.IsOpen() && SetFilePointerEx(file_.Handle(), zero, &at, FILE_CURRENT) ? at.QuadPart : -1;
  }

 private:
  ox::DataFile file_;
};

}  // namespace tags
