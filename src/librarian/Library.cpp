#include "librarian/Library.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>

#include "base/Path.h"
#include "base/PathCase.h"
#include "engine/CodecHost.h"
#include "queue/CollectionRules.h"
#include "queue/CollectionStore.h"

namespace ox {

namespace {

std::unordered_set<std::string> Keys(const std::vector<std::string>& paths) {
  std::unordered_set<std::string> keys;
  keys.reserve(paths.size());
  for (const std::string& p : paths) keys.insert(PathKey(p));
  return keys;
}

// The files of the job that are playable and not in the collection yet, each once.
std::vector<FoundFile> NewFiles(ScanJob& job) {
  std::vector<FoundFile> found;
  if (job.kind == ScanJob::Kind::AddFolders) {
    for (const std::string& folder : job.inputs) FindMusicFiles(folder, Codecs(), found, job.cancel);
  } else {
    size_t gone = 0;
    for (const std::string& path : job.inputs) {
      FoundFile f{path};
      if (!Codecs().IsPlayable(ExtensionOf(path))) continue;
      if (StatFile(path, f.size, f.modified))
        found.push_back(std::move(f));
      else
        ++gone;
    }
    if (gone) job.message += std::to_string(gone) + " file(s) could not be found or read and were left out.\n";
  }
  std::unordered_set<std::string> keys = Keys(job.knownPaths);
  std::vector<FoundFile> fresh;
  for (FoundFile& f : found)
    if (keys.insert(PathKey(f.path)).second) fresh.push_back(std::move(f));
  return fresh;
}

uint32_t RunSave(WorkerThread& self) {
  SaveJob& job = *reinterpret_cast<SaveJob*>(self.Argument());
  job.saved = SaveCollection(job.path, job.records, job.side);
  return 0;
}

uint32_t RunJob(WorkerThread& self) {
  ScanJob& job = *reinterpret_cast<ScanJob*>(self.Argument());
  std::vector<FoundFile> files;
  if (job.kind == ScanJob::Kind::HandOver) {
    size_t skipped = 0;
    if (!TakeFilesToAdd(job.inputs, &skipped))
      job.message += "The list of files to add could not be read; it was left as it is.\n";
    if (skipped)
      job.message += std::to_string(skipped) + " further file(s) handed over were too many and were skipped.\n";
  }
  if (job.kind == ScanJob::Kind::Rescan) {
    for (uint32_t i = 0; i < job.knownPaths.size() && !job.cancel; ++i) {
      FoundFile f{job.knownPaths[i]};
      const bool exists = StatFile(f.path, f.size, f.modified);
      const SideEntry known = i < job.knownSide.size() ? job.knownSide[i] : SideEntry{};
      switch (CompareFile(known, exists, f.size, f.modified)) {
        case FileChange::Missing:
          job.missing.push_back(i);
          break;
        case FileChange::Changed:
          files.push_back(std::move(f));
          job.replaces.push_back(i);
          break;
        case FileChange::Same:
          break;
      }
    }
  } else {
    files = NewFiles(job);
  }
  job.total = static_cast<uint32_t>(files.size());
  ReadTracks(files, job.records, job.side, job.done, job.cancel);
  return 0;
}

}  // namespace

bool Library::Open(const std::string& path, std::string& message) {
  if (job_) return false;
  Flush();
  LoadedCollection c = LoadCollection(path);
  path_ = path;
  readOnly_ = c.readError || c.strayBytes != 0;
  if (c.readError)
    message = "The collection \"" + path + "\" could not be read. It is shown empty and will not be changed.";
  else if (c.strayBytes)
    message = "The collection \"" + path + "\" ends in " + std::to_string(c.strayBytes) +
              " bytes that make no whole track record. Its tracks are shown, but it will not be changed.";
  unknownSide_ = static_cast<size_t>(std::count(c.known.begin(), c.known.end(), false));
  records_ = std::move(c.records);
  side_ = std::move(c.side);
  missing_.clear();
  Rebuilt();
  return true;
}

void Library::Rebuilt() {
  side_.resize(records_.size());
  genres_.resize(records_.size());
  for (size_t i = 0; i < records_.size(); ++i) genres_[i] = side_[i].genre;
  view_.Reset(&records_, &genres_);
}

bool Library::Start(std::unique_ptr<ScanJob> job) {
  if (job_) return false;
  job->knownPaths.reserve(records_.size());
  for (const TrackRecord& r : records_) job->knownPaths.emplace_back(r.Path());
  if (job->kind == ScanJob::Kind::Rescan) job->knownSide = side_;
  job_ = std::move(job);
  worker_ = std::make_unique<WorkerThread>(RunJob, reinterpret_cast<uintptr_t>(job_.get()), true);
  worker_->SetPriority(THREAD_PRIORITY_BELOW_NORMAL);
  worker_->Resume();
  return true;
}

std::unique_ptr<ScanJob> Library::Collect() {
  if (!job_ || !worker_->IsFinished()) return nullptr;
  worker_.reset();
  std::unique_ptr<ScanJob> job = std::move(job_);
  Apply(*job);
  return job;
}

void Library::Apply(ScanJob& job) {
  size_t changed = 0;
  if (job.kind == ScanJob::Kind::Rescan) {
    for (size_t k = 0; k < job.replaces.size() && k < job.records.size(); ++k) {
      const uint32_t i = job.replaces[k];
      if (!job.records[k].HasPath() || i >= records_.size()) continue;
      KeepUserFields(records_[i], job.records[k]);
      records_[i] = job.records[k];
      side_[i] = job.side[k];
      ++changed;
    }
    missing_ = job.missing;
    if (!job.cancel) unknownSide_ = 0;
  } else {
    std::unordered_set<std::string> keys;
    for (const TrackRecord& r : records_) keys.insert(PathKey(r.Path()));
    for (size_t k = 0; k < job.records.size(); ++k) {
      if (!job.records[k].HasPath() || !keys.insert(PathKey(job.records[k].Path())).second) continue;
      records_.push_back(job.records[k]);
      side_.push_back(job.side[k]);
      ++changed;
    }
  }
  if (changed == 0) return;
  Rebuilt();
  if (!Save()) job.message += error_;  // a failure of the save itself comes with SaveEnded
}

size_t Library::RemoveMissing() { return Remove(std::vector<uint32_t>(missing_)); }

size_t Library::Remove(const std::vector<uint32_t>& numbers) {
  if (job_ || numbers.empty()) return 0;  // a running job holds record numbers
  std::vector<bool> gone(records_.size(), false);
  for (uint32_t i : numbers)
    if (i < gone.size()) gone[i] = true;
  std::vector<uint32_t> moved(records_.size());  // old number -> new one
  uint32_t kept = 0;
  for (size_t i = 0; i < records_.size(); ++i) {
    moved[i] = kept;
    if (gone[i]) continue;
    records_[kept] = records_[i];
    side_[kept] = std::move(side_[i]);
    ++kept;
  }
  const size_t removed = records_.size() - kept;
  std::vector<uint32_t> stillMissing;
  for (uint32_t i : missing_)
    if (i < gone.size() && !gone[i]) stillMissing.push_back(moved[i]);
  missing_ = std::move(stillMissing);
  records_.resize(kept);
  side_.resize(kept);
  Rebuilt();
  Save();
  return removed;
}

void Library::SetPreference(const std::vector<uint32_t>& records, uint8_t preference) {
  for (uint32_t i : records)
    if (i < records_.size()) records_[i].preference = preference;
  if (view_.SortColumn() == Column::Preference) view_.SortBy(Column::Preference, view_.Ascending());
  Save();
}

bool Library::Refresh(const std::string& path) {
  TrackRecord fresh;
  if (!ReadCollectionRecord(path_, path, fresh)) return false;
  bool found = false;
  for (int pass = 0; pass < 2 && !found; ++pass) {  // the same bytes first, as the file lookup
    for (TrackRecord& r : records_) {
      if (pass == 0 ? r.Path() != fresh.Path() : !SamePath(r.Path(), fresh.Path())) continue;
      r.timesPlayed = fresh.timesPlayed;
      r.volumeBoost = fresh.volumeBoost;
      found = true;
    }
  }
  if (found && view_.SortColumn() == Column::TimesPlayed) view_.SortBy(Column::TimesPlayed, view_.Ascending());
  return found;
}

bool Library::Save() {
  error_.clear();
  if (readOnly_) {
    error_ = "The collection is not changed on disk: it was not read completely when it was opened.\n";
    return false;
  }
  if (save_) {
    saveAgain_ = true;
    return true;
  }
  save_ = std::make_unique<SaveJob>(SaveJob{path_, records_, side_});
  saver_ = std::make_unique<WorkerThread>(RunSave, reinterpret_cast<uintptr_t>(save_.get()));
  return true;
}

bool Library::SaveEnded(bool& failed) {
  if (!save_ || !saver_->IsFinished()) return false;
  saver_.reset();
  failed = !save_->saved;
  if (failed) {
    error_ = "The collection \"" + save_->path + "\" could not be saved; the file on disk is unchanged.\n";
  } else if (save_->path == path_) {
    // The save took the player's counts from the file: so does the list, where it still holds
    // the same records.
    for (size_t i = 0; i < records_.size() && i < save_->records.size(); ++i) {
      if (records_[i].Path() != save_->records[i].Path()) continue;
      // A live update that came while the save ran may already count further.
      records_[i].timesPlayed = std::max(records_[i].timesPlayed, save_->records[i].timesPlayed);
      records_[i].volumeBoost = save_->records[i].volumeBoost;
    }
  }
  save_.reset();
  if (saveAgain_) {
    saveAgain_ = false;
    Save();
  }
  return true;
}

void Library::Flush() {
  bool failed = false;
  while (save_) {
    while (!saver_->IsFinished()) Sleep(5);
    SaveEnded(failed);
  }
}

}  // namespace ox
