#include "queue/QueueFiles.h"

#include <windows.h>

#include <atomic>
#include <cstring>

#include "base/DataFile.h"
#include "base/Path.h"
#include "core/EnsureRunning.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "engine/CodecHost.h"
#include "queue/Collection.h"
#include "queue/Playlist.h"
#include "queue/PlaylistFile.h"

namespace ox {

namespace {

constexpr uint32_t kRecord = sizeof(TrackRecord), kQueueRecord = sizeof(QueueRecord);
constexpr uint64_t kHistoryMax = 100 * kRecord;
constexpr uint32_t kPlayNowWindowMs = 2000;
// Appends wait for every other open of the file to end; a file held for longer than this is given
// up on rather than hanging the caller.
constexpr int kOpenAttempts = 200;
constexpr DWORD kOpenRetryMs = 50;

std::atomic<int32_t> g_historyStep{1};

// Opens with retries while another open of the file stands in the way.
bool OpenRetrying(DataFile& file, const std::string& path, FileAccess access, FileCreation creation, bool share) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (file.Open(path, access, creation, false, share)) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION && error != ERROR_ACCESS_DENIED) return false;
    Sleep(kOpenRetryMs);
  }
  return false;
}

QueueRecord QueueRecordOf(const TrackRecord& track) {
  QueueRecord q;
  std::memcpy(&q.track, &track, kRecord);
  q.entriesTaken = 0;
  return q;
}

// Appends a queue record. A partial record left at the end by a writer that died is cut off first,
// so every record stays on its 652-byte boundary.
bool AppendQueueRecord(const std::string& path, const TrackRecord& track) {
  DataFile file;
  if (!OpenRetrying(file, path, FileAccess::ReadWrite, FileCreation::OpenAlways, false)) return false;
  const uint64_t size = file.Size();
  if (size % kQueueRecord != 0) file.TruncateAt(size - size % kQueueRecord);
  const QueueRecord q = QueueRecordOf(track);
  return file.Write(&q, kQueueRecord, FileOrigin::End);
}

bool IsPlaylistRecord(const TrackRecord& r) { return IsPlaylist(r.Path()); }

void Play() {
  evt::OxPlay.Set();
  evt::OxPause.Reset();
  uint32_t selector = 1;
  block::OxSelectorSwitch.ReadValue(selector);
  const uint32_t zero = 0;
  block::OxSelectorSwitch.WriteValue(zero);
  if (selector == 1) evt::OxSkip.Set();  // the source changes from 1 to 0
  BumpChangeCounter();
  EnsurePlayerRunning();
}

bool ReadNewestHistory(TrackRecord& out, uint64_t index = 0) {
  DataFile file(HistoryFile(), FileAccess::Read, FileCreation::OpenExisting);
  return file.IsOpen() && file.SeekTo(index * kRecord) && file.Read(&out, kRecord) == kRecord;
}

}  // namespace

void BumpChangeCounter() {
  uint32_t count = 0;
  block::OxPlayListChanged.ReadValue(count);
  ++count;
  block::OxPlayListChanged.WriteValue(count);
}

bool TakeFromQueueFile(const std::string& path, TrackRecord& out) {
  std::memset(&out, 0, kRecord);
  bool missing = false;
  if (FileSize(path, &missing) < kQueueRecord) return false;
  DataFile file;
  if (!OpenRetrying(file, path, FileAccess::ReadWrite, FileCreation::OpenExisting, true)) return false;
  QueueRecord q;
  if (file.Read(&q, kQueueRecord, FileOrigin::Start) != kQueueRecord) return false;

  if (!IsPlaylistRecord(q.track)) {
    std::memcpy(&out, &q.track, kRecord);
    file.MoveTail(kQueueRecord, -int64_t{kQueueRecord});
    return true;
  }
  const std::string playlist(q.track.Path());
  const std::string entry = PlaylistEntryOf(playlist, q.entriesTaken + 1);
  CopyBounded(out.path, entry);
  if (entry.empty() || PlaylistEntryOf(playlist, q.entriesTaken + 2).empty()) {
    file.MoveTail(kQueueRecord, -int64_t{kQueueRecord});  // missing, empty or now exhausted
  } else {
    ++q.entriesTaken;
    file.Write(&q, kQueueRecord, FileOrigin::Start);
  }
  return true;
}

bool NextTrack(TrackRecord& out) {
  // Each round consumes something (the slot, a queue record, a playlist entry); the bound only
  // guards against a collection of nothing but playlists.
  for (int round = 0; round < 1000; ++round) {
    std::memset(&out, 0, kRecord);
    bool got = block::OxTrackShouldPlay.ReadValue(out) && out.HasPath();
    if (got) {
      const TrackRecord empty{};
      block::OxTrackShouldPlay.WriteValue(empty);
    } else {
      got = TakeFromQueueFile(PriorityQueueFile(), out) || TakeFromQueueFile(QueueFile(), out);
      if (!got && evt::OxMyMusicRandom.IsSet()) got = PickFromCollection(out);
      if (!got) {
        std::memset(&out, 0, kRecord);
        return false;
      }
    }
    if (out.HasPath() && IsPlaylistRecord(out)) {
      AppendQueueRecord(PriorityQueueFile(), out);
      BumpChangeCounter();
      continue;
    }
    if (out.HasPath()) CompleteTrackRecord(out);
    return true;
  }
  std::memset(&out, 0, kRecord);
  return false;
}

void PlayNow(std::string_view path) {
  TrackRecord record{};
  CopyBounded(record.path, path);
  if (path.size() < sizeof record.path) PlayNow(record);  // a path that does not fit is not played
}

void PlayNow(const TrackRecord& record) {
  uint32_t last = 0;
  block::OxMPLastSetTSP.ReadValue(last);
  const uint32_t now = GetTickCount();
  if (now - last <= kPlayNowWindowMs) AppendQueueRecord(PriorityQueueFile(), record);
  else block::OxTrackShouldPlay.WriteValue(record);
  block::OxMPLastSetTSP.WriteValue(now);
  Play();
}

bool Enqueue(const TrackRecord& record) {
  const bool done = AppendQueueRecord(QueueFile(), record);
  BumpChangeCounter();
  return done;
}

void EnqueuePlaying() {
  TrackRecord playing{};
  if (block::OxTrackPlaying.ReadValue(playing) && playing.HasPath()) Enqueue(playing);
}

void ClearQueue() {
  DeleteFileA(PriorityQueueFile().c_str());
  DeleteFileA(QueueFile().c_str());
  BumpChangeCounter();
}

void PlayStop() {
  if (!evt::OxPlay.IsSet()) {
    TrackRecord newest{};
    if (!IsAnythingToPlay() && ReadNewestHistory(newest)) PlayNow(newest);
    Play();
  } else if (evt::OxPause.IsSet()) {
    evt::OxPause.Reset();
  } else {
    evt::OxPlay.Reset();
  }
  BumpChangeCounter();
}

void PlayButton() {
  if (!evt::OxPlay.IsSet()) PlayStop();
  else if (!evt::OxPause.IsSet()) evt::OxSkip.Set();
  else evt::OxPause.Reset();
}

void SkipBack() {
  uint32_t time[3] = {};
  block::OxTrackTime.Read(time);
  if (time[1] > 5000) {
    const uint32_t restart = 1;
    block::OxSkipToPos.WriteValue(restart);
    return;
  }
  for (const std::string& path : {PriorityQueueFile(), QueueFile()}) {
    if (FileSize(path) < kQueueRecord) continue;
    DataFile file;
    if (!OpenRetrying(file, path, FileAccess::ReadWrite, FileCreation::OpenExisting, false)) continue;
    QueueRecord q;
    if (file.Read(&q, kQueueRecord, FileOrigin::Start) != kQueueRecord || !IsPlaylistRecord(q.track)) continue;
    const bool stepped = q.entriesTaken >= 2;
    q.entriesTaken = stepped ? q.entriesTaken - 2 : 0;
    file.Write(&q, kQueueRecord, FileOrigin::Start);
    if (stepped) {
      file.Close();
      BumpChangeCounter();
      evt::OxSkip.Set();
      return;
    }
  }
  // The history: the record before the one replayed last (each replay lands at the front again).
  TrackRecord earlier{};
  const int32_t step = g_historyStep.load();
  if (step >= 0 && ReadNewestHistory(earlier, static_cast<uint64_t>(step))) {
    block::OxTrackShouldPlay.WriteValue(earlier);
    g_historyStep.store(step + 2);
  } else {
    g_historyStep.store(1);
  }
}

void RecordAsPlayed(const TrackRecord& record) {
  {
    DataFile file;
    if (OpenRetrying(file, HistoryFile(), FileAccess::ReadWrite, FileCreation::OpenAlways, true)) {
      const uint64_t size = file.Size();
      if (size > 0) file.MoveTail(0, kRecord);
      file.Write(&record, kRecord, FileOrigin::Start);
      if (size + kRecord > kHistoryMax) file.TruncateAt(kHistoryMax);
    }
  }
  BumpChangeCounter();
  UpdateCollectionEntry(record.Path(), true, kVolumeBoostAuto);
}

void UpdateCollectionEntry(std::string_view path, bool countPlay, int16_t volumeBoost) {
  {
    DataFile file;
    if (OpenRetrying(file, ActiveMusicCollection(), FileAccess::ReadWrite, FileCreation::OpenExisting, true)) {
      TrackRecord r;
      for (uint64_t at = 0; file.Read(&r, kRecord, FileOrigin::Current) == kRecord; at += kRecord) {
        if (!EqualNoCase(r.Path(), path)) continue;
        if (countPlay) ++r.timesPlayed;
        if (volumeBoost != kVolumeBoostAuto) r.volumeBoost = volumeBoost;
        file.SeekTo(at);
        file.Write(&r, kRecord);
        break;
      }
    }
  }
#pragma pack(push, 1)
  struct LiveUpdate {
    char path[260];
    uint8_t played;
    uint8_t zero;
    int16_t volumeBoost;
  } update{};
#pragma pack(pop)
  static_assert(sizeof(LiveUpdate) == kLiveUpdateSize, "OxRillLiveUpdate layout");
  CopyBounded(update.path, path);
  update.played = countPlay ? 1 : 0;
  update.volumeBoost = volumeBoost;
  block::OxRillLiveUpdate.WriteValue(update);
}

void CompleteTrackRecord(TrackRecord& r, std::string* text) {
  char codecText[OX_CODEC_TEXT_SIZE + 1024] = {};  // room beyond the documented 260, for safety
  if (text) text->clear();
  if (r.IsComplete()) return;
  const std::string path(r.Path());
  std::memset(&r, 0, kRecord);
  CopyBounded(r.path, path);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  r.dateAddedLow = now.dwLowDateTime;
  r.dateAddedHigh = now.dwHighDateTime;

  const CodecPlugin* codec = Codecs().Find(ExtensionOf(path));
  if (codec && codec->GetTrackInfo) {
    uint32_t fileSize = 0, yearAndTrack = 0;
    codec->GetTrackInfo(r.path, &r.bitRateKbps, &r.sampleRate, &r.channels, &r.lengthMs, &fileSize, r.artist,
                        r.title, r.album, &yearAndTrack, &r.preference, codecText);
    r.fileSize = fileSize;
    r.year = static_cast<int16_t>(yearAndTrack & 0xFFFF);
    r.trackNumber = static_cast<uint8_t>(yearAndTrack >> 16);
    // A plug-in may leave a tag field unterminated: cut every text at its field's end.
    r.artist[sizeof r.artist - 1] = r.title[sizeof r.title - 1] = r.album[sizeof r.album - 1] = '\0';
    codecText[sizeof codecText - 1] = '\0';
    if (text) *text = codecText;
  }
  if (!r.IsComplete()) {
    const std::string name = FileTitleOf(path);
    const size_t dash = name.find('-');
    std::string artist = dash == std::string::npos ? std::string() : name.substr(0, dash);
    std::string title = dash == std::string::npos ? name : name.substr(dash + 1);
    artist = artist.substr(0, 99);
    title = title.substr(0, 99);
    TrimSpaces(artist);
    TrimSpaces(title);
    CopyBounded(r.artist, artist);
    CopyBounded(r.title, title);
  }
}

bool IsAnythingToPlay() {
  if (evt::OxMyMusicRandom.IsSet()) return true;
  TrackRecord next{};
  if (block::OxTrackShouldPlay.ReadValue(next) && next.HasPath()) return true;
  return FileSize(PriorityQueueFile()) > 0 || FileSize(QueueFile()) > 0;
}

}  // namespace ox
