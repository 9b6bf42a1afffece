#include "base/DataFile.h"

#include <windows.h>

#include <vector>

#include "base/Handle.h"
#include "base/UserMessage.h"

namespace ox {

namespace {

constexpr uint32_t kPiece = 32768;  // MoveTail's copy unit

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

bool DataFile::SeekTo(uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return handle_ && SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN);
}

bool DataFile::Position(FileOrigin origin) {
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
  if (!handle_) return 0;
  Position(origin);
  DWORD got = 0;
  // ReadFile succeeds with fewer bytes at the end of the file; only a real failure is reported.
  if (!ReadFile(handle_, buffer, count, &got, nullptr)) Report("Unable to read from '", "Disk Read Error");
  return got;
}

bool DataFile::Write(const void* buffer, uint32_t count, FileOrigin origin) {
  if (!handle_) return false;
  Position(origin);
  DWORD put = 0;
  if (WriteFile(handle_, buffer, count, &put, nullptr) && put == count) return true;
  Report("Unable to write to '", "Disk Write Error");
  return false;
}

void DataFile::Seek(int32_t distance, SeekFrom from) {
  if (!handle_) return;
  const DWORD method = from == SeekFrom::Begin ? FILE_BEGIN : from == SeekFrom::End ? FILE_END : FILE_CURRENT;
  LARGE_INTEGER by;
  by.QuadPart = distance;
  SetFilePointerEx(handle_, by, nullptr, method);
}

uint64_t DataFile::Size(bool* error) const {
  if (!handle_) {
    if (error) *error = true;
    return 0;
  }
  return FileSize(handle_, error);
}

bool DataFile::TruncateAt(uint64_t offset) { return SeekTo(offset) && SetEndOfFile(handle_); }

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

bool DataFile::ReadLine(std::string& line, size_t max) {
  line.clear();
  if (!handle_) return false;
  char c;
  DWORD got;
  while (line.size() < max) {
    if (!ReadFile(handle_, &c, 1, &got, nullptr) || got == 0) return !line.empty();
    if (c == '\n') return true;
    if (c == '\r') {
      // A CR LF pair ends the line as one; after a lone CR the next byte belongs to the next line.
      if (ReadFile(handle_, &c, 1, &got, nullptr) && got == 1 && c != '\n') Seek(-1, SeekFrom::Current);
      return true;
    }
    line += c;
  }
  return true;
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
