// The collection the editor has open: its records and side entries in memory, the list's view of
// them, and the jobs that scan folders and files on a worker thread while the window stays live.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "base/WorkerThread.h"
#include "core/TrackRecord.h"
#include "queue/CollectionScan.h"
#include "queue/CollectionView.h"
#include "queue/SideIndex.h"

namespace ox {

// One scan on the worker thread. The window starts it, polls its counters for the progress bar,
// and hands the finished job to Library::Apply on its own thread.
struct ScanJob {
  enum class Kind { AddFolders, AddFiles, Rescan, HandOver };
  Kind kind = Kind::AddFolders;
  std::vector<std::string> inputs;      // folders or files (HandOver: filled by the job)
  std::vector<std::string> knownPaths;  // the collection's paths when the job started
  std::vector<SideEntry> knownSide;     // Rescan: their side entries

  std::atomic<uint32_t> total{0}, done{0};
  std::atomic<bool> cancel{false};

  // Results: new records (AddFolders, AddFiles, HandOver), or re-read ones with the index of the
  // record each replaces (Rescan); and the indices of records whose file is gone.
  std::vector<TrackRecord> records;
  std::vector<SideEntry> side;
  std::vector<uint32_t> replaces;
  std::vector<uint32_t> missing;
  std::string message;  // for the user, when something was skipped
};

// One save on the save thread: a copy of the collection, and whether it reached the disk.
struct SaveJob {
  std::string path;
  std::vector<TrackRecord> records;
  std::vector<SideEntry> side;
  bool saved = false;
};

class Library {
 public:
  Library() = default;
  ~Library() { Flush(); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Loads the collection at path; message receives what the user should know (a damaged file).
  bool Open(const std::string& path, std::string& message);
  const std::string& Path() const { return path_; }
  // A file that was not fully read, or has stray bytes, is shown but never rewritten.
  bool ReadOnly() const { return readOnly_; }
  // Records the side index had nothing for (it was missing, damaged or older): a re-scan
  // rebuilds them from the files.
  size_t UnknownSide() const { return unknownSide_; }

  const std::vector<TrackRecord>& Records() const { return records_; }
  const std::vector<std::string>& Genres() const { return genres_; }
  CollectionView& View() { return view_; }
  const CollectionView& View() const { return view_; }

  // Starts a job on the worker thread; false when one runs already.
  bool Start(std::unique_ptr<ScanJob> job);
  ScanJob* Running() const { return job_.get(); }
  // When the running job has finished: merges its results, saves, and returns it (else null).
  std::unique_ptr<ScanJob> Collect();

  // The record numbers of the files a re-scan found missing, kept until removed.
  const std::vector<uint32_t>& Missing() const { return missing_; }
  size_t RemoveMissing();
  // Takes records out of the collection (not while a job runs); returns how many went.
  size_t Remove(const std::vector<uint32_t>& numbers);
  void SetPreference(const std::vector<uint32_t>& records, uint8_t preference);
  // The player changed the record of path: read it again from the file.
  bool Refresh(const std::string& path);

  // Saves on the save thread, from a copy, so that the window stays live while a large
  // collection is written; a save asked for while one runs follows it. False at once when the
  // collection must not be rewritten (LastError says why).
  bool Save();
  // When a save has ended since the last call: true, with failed telling whether it failed.
  bool SaveEnded(bool& failed);
  // Waits for the running save and runs the one that waits (at exit, before another collection).
  void Flush();
  const std::string& LastError() const { return error_; }

 private:
  void Apply(ScanJob& job);
  void Rebuilt();

  std::string path_;
  bool readOnly_ = false;
  size_t unknownSide_ = 0;
  std::vector<TrackRecord> records_;
  std::vector<SideEntry> side_;
  std::vector<std::string> genres_;
  std::vector<uint32_t> missing_;
  CollectionView view_;
  std::unique_ptr<ScanJob> job_;
  std::unique_ptr<WorkerThread> worker_;
  std::unique_ptr<SaveJob> save_;
  std::unique_ptr<WorkerThread> saver_;  // declared after save_: it ends before the job goes
  bool saveAgain_ = false;
  std::string error_;
};

}  // namespace ox
