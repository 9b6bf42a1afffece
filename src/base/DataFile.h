// The file class every data file of the player goes through (queue files, history, playlists,
// the music collection, presets, skin files). A thin layer over the Win32 file handle: nothing is
// buffered, every Read and Write is one system call. Opened with `report`, it tells the user in a
// message box which file failed to open, read or write, then hands the failure to the caller.
#pragma once

#include <cstdint>
#include <string>

namespace ox {

enum class FileAccess { Read, Write, ReadWrite };
enum class FileCreation { CreateAlways, OpenExisting, OpenAlways };
// Where Read and Write start: the file's start, its end, or the current position.
enum class FileOrigin { Start = 0, End = 1, Current = 2 };

class DataFile {
 public:
  DataFile() = default;
  // Opens at once; see Open.
  DataFile(std::string name, FileAccess access, FileCreation creation, bool report = false, bool share = true);
  ~DataFile();
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  // Closes any file held, then opens `name`. share lets other threads and processes read and write
  // it meanwhile. A failed open leaves the object closed, every operation harmless, and with report
  // shows "Unable to open '<name>'" captioned "Disk Write Error" when write access was asked for,
  // else "Disk Read Error".
  bool Open(std::string name, FileAccess access, FileCreation creation, bool report = false, bool share = true);
  bool IsOpen() const { return handle_ != nullptr; }
  void Close();
  const std::string& Name() const { return name_; }
  void* Handle() const { return handle_; }

  // Reads up to count bytes from origin; returns how many came. Running into the end of the file is
  // not an error. notOpen (optional) receives whether the file was closed. Nothing is read when
  // the file position could not be set to origin.
  uint32_t Read(void* buffer, uint32_t count, FileOrigin origin = FileOrigin::Current, bool* notOpen = nullptr);
  // Writes count bytes at origin; true when all were written. Nothing is written when the file
  // position could not be set to origin: a write never lands anywhere else.
  bool Write(const void* buffer, uint32_t count, FileOrigin origin = FileOrigin::Current);
  // Moves to an absolute 64-bit offset; false when closed or refused.
  bool SeekTo(uint64_t offset);
  // Size in bytes; 0 when closed. error (optional) receives whether the size could not be read.
  uint64_t Size(bool* error = nullptr) const;

  // Opens (delta >= 0) a gap of delta bytes at offset, or closes (delta < 0) the -delta bytes just
  // before offset, moving the rest of the file in pieces of at most 32 KB. The gap's bytes keep
  // their old content until the caller writes them. Opening a gap at or past the end does nothing;
  // closing one whose offset is past the end only shortens the file. An offset below -delta does
  // nothing. False when a piece could not be moved.
  bool MoveTail(uint64_t offset, int64_t delta);
  // Ends the file at offset; false when refused (the file then keeps its length).
  bool TruncateAt(uint64_t offset);

 private:
  bool Position(FileOrigin origin);
  void Report(const char* what, const char* caption) const;

  void* handle_ = nullptr;
  std::string name_;
  bool report_ = false;
};

// Opens like DataFile::Open (without reporting), retrying every 50 ms while another open of the
// file stands in the way (a sharing or lock violation), at most `attempts` times. Any other failure
// (a missing file, access denied) is final at once.
bool OpenRetrying(DataFile& file, const std::string& name, FileAccess access, FileCreation creation, bool share,
                  int attempts = 200);

// For tests of what callers do when the system refuses: the next `count` operations of one kind
// on any DataFile of this process fail, as they would on a failing or full disk.
enum class FileFault { Seek, Write, Truncate };
void InjectFileFaults(FileFault kind, int count);

// Size of an open file handle. error (optional) receives whether the size could not be read; the
// size is then 0.
uint64_t FileSize(void* handle, bool* error = nullptr);

// Size of a named file, opened with no access rights. A missing file and an empty one both give 0;
// error (optional) tells them apart.
uint64_t FileSize(const std::string& name, bool* error = nullptr);

}  // namespace ox
