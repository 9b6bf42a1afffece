#include "base/DataFile.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "base/Handle.h"
#include "base/UserMessage.h"

namespace ox {

namespace {

constexpr uint32_t kPiece = 32768;  // MoveTail's copy unit

std::atomic<int> g_faults[3];  // by FileFault

// True when an injected fault stands for this operation (and uses it up).
bool Fault(FileFault kind) {
  std::atomic<int>& left = g_faults[static_cast<int>(kind)];
  int n = left.load();
  while (n > 0 && !left.compare_exchange_weak(n, n - 1)) {
  }
  return n > 0;
}

DWORD AccessRights(FileAccess a) {
  switch (a) {
    case FileAccess::Read: return GENERIC_READ;
    case FileAccess::Write: return GENERIC_WRITE;
    case FileAccess::ReadWrite: return GENERIC_READ | GENERIC_WRITE;
  }
  return 0;
}

DWORD Disposition(FileCreation c) {
  switch (c) {
    case FileCreation::CreateAlways: return CREATE_ALWAYS;
    case FileCreation::OpenExisting: return OPEN_EXISTING;
    case FileCreation::OpenAlways: return OPEN_ALWAYS;
  }
  return OPEN_EXISTING;
}

}  // namespace

DataFile::DataFile(std::string name, FileAccess access, FileCreation creation, bool report, bool share) {
  Open(std::move(name), access, creation, report, share);
}

DataFile::~DataFile() { Close(); }

bool DataFile::Open(std::string name, FileAccess access, FileCreation creation, bool report, bool share) {
  Close();
  name_ = std::move(name);
  report_ = report;
  HANDLE h = CreateFileA(name_.c_str(), AccessRights(access), share ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0,
                         nullptr, Disposition(creation), FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    Report("Unable to open '", access == FileAccess::Read ? "Disk Read Error" : "Disk Write Error");
    return false;
  }
  handle_ = h;
  return true;
}

void DataFile::Close() {
  if (handle_) CloseHandle(handle_);
  handle_ = nullptr;
}

void DataFile::Report(const char* what, const char* caption) const {
  if (!report_) return;
  const std::string text = what + name_ + "'";
  ShowUserMessage(text.c_str(), caption, kMessageInformation);
}

void InjectFileFaults(FileFault kind, int count) { g_faults[static_cast<int>(kind)] = count; }

bool DataFile::SeekTo(uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return handle_ && !Fault(FileFault::Seek) && SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN);
}

bool DataFile::Position(FileOrigin origin) {
  if (origin != FileOrigin::Current && Fault(FileFault::Seek)) return false;
  LARGE_INTEGER zero{};
  switch (origin) {
    case FileOrigin::Start: return SetFilePointerEx(handle_, zero, nullptr, FILE_BEGIN);
    case FileOrigin::End: return SetFilePointerEx(handle_, zero, nullptr, FILE_END);
    case FileOrigin::Current: return true;
  }
  return true;
}

uint32_t DataFile::Read(void* buffer, uint32_t count, FileOrigin origin, bool* notOpen) {
  if (notOpen) *notOpen = !handle_;
  if (!handle_ || !Position(origin)) return 0;
  DWORD got = 0;
  // ReadFile succeeds with fewer bytes at the end of the file; only a real failure is reported.
  if (!ReadFile(handle_, buffer, count, &got, nullptr)) Report("Unable to read from '", "Disk Read Error");
  return got;
}

bool DataFile::Write(const void* buffer, uint32_t count, FileOrigin origin) {
  if (!handle_) return false;
  if (!Position(origin)) {
    Report("Unable to write to '", "Disk Write Error");
    return false;
  }
  DWORD put = 0;
  if (!Fault(FileFault::Write) && WriteFile(handle_, buffer, count, &put, nullptr) && put == count) return true;
  Report("Unable to write to '", "Disk Write Error");
  return false;
}

uint64_t DataFile::Size(bool* error) const {
  if (!handle_) {
    if (error) *error = true;
    return 0;
  }
  return FileSize(handle_, error);
}

bool DataFile::TruncateAt(uint64_t offset) {
  return SeekTo(offset) && !Fault(FileFault::Truncate) && SetEndOfFile(handle_);
}

bool DataFile::MoveTail(uint64_t offset, int64_t delta) {
  if (!handle_) return false;
  const uint64_t size = Size();
  std::vector<char> piece(kPiece);
  auto move = [&](uint64_t from, uint64_t to, uint32_t n) {
    return SeekTo(from) && Read(piece.data(), n) == n && SeekTo(to) && Write(piece.data(), n);
  };

  if (delta >= 0) {
    if (offset >= size || delta == 0) return true;
    // Last piece first, so no piece overwrites bytes still to be read.
    for (uint64_t end = size; end > offset;) {
      const uint32_t n = static_cast<uint32_t>(end - offset < kPiece ? end - offset : kPiece);
      end -= n;
      if (!move(end, end + delta, n)) return false;
    }
    return true;
  }

  const uint64_t gap = static_cast<uint64_t>(-delta);
  if (offset < gap) return false;
  for (uint64_t at = offset; at < size;) {
    const uint32_t n = static_cast<uint32_t>(size - at < kPiece ? size - at : kPiece);
    if (!move(at, at - gap, n)) return false;
    at += n;
  }
  return TruncateAt(size > gap ? size - gap : 0);
}

bool OpenRetrying(DataFile& file, const std::string& name, FileAccess access, FileCreation creation, bool share,
                  int attempts) {
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (file.Open(name, access, creation, false, share)) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return false;
    Sleep(50);
  }
  return false;
}

uint64_t FileSize(void* handle, bool* error) {
  DWORD high = 0;
  SetLastError(0);
  const DWORD low = GetFileSize(handle, &high);
  const bool failed = low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR;
  if (error) *error = failed;
  return failed ? 0 : (uint64_t{high} << 32) | low;
}

uint64_t FileSize(const std::string& name, bool* error) {
  UniqueHandle h(CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    if (error) *error = true;
    return 0;
  }
  return FileSize(h.Get(), error);
}

}  // namespace ox
