#include "engine/TrackPlayer.h"

#include <windows.h>

#include <cstring>
#include <list>
#include <mutex>
#include <tuple>

#include "base/Path.h"
#include "base/Ticks.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "engine/MpegCheck.h"
#include "engine/PlaybackMath.h"
#include "engine/ReplayGain.h"
#include "engine/VisualOutputHost.h"

namespace ox {

namespace {

constexpr uint32_t kUnknown = 0xFFFFFFFFu;
constexpr DWORD kPassMs = 25;

std::atomic<int> g_livingPlayers{0};
std::atomic<uint32_t> g_gaplessDeadline{0};

// The played-track recorders: short-lived threads, reclaimed once finished; any still running at
// exit are waited for.
class Recorders {
 public:
  void Start(void (*played)(const TrackRecord&), const TrackRecord& track) {
    std::lock_guard<std::mutex> hold(lock_);
    threads_.remove_if([](const Entry& e) { return e.thread->IsFinished(); });
    threads_.emplace_back();
    Entry& e = threads_.back();
    e.track = track;
    e.played = played;
    e.thread = std::make_unique<WorkerThread>(
        [](WorkerThread& self) -> uint32_t {
          const Entry& entry = *reinterpret_cast<const Entry*>(self.Argument());
          entry.played(entry.track);
          return 0;
        },
        reinterpret_cast<uintptr_t>(&e));
  }

 private:
  struct Entry {
    TrackRecord track;
    void (*played)(const TrackRecord&) = nullptr;
    std::unique_ptr<WorkerThread> thread;
  };
  std::mutex lock_;
  std::list<Entry> threads_;  // a list: entries never move while their thread reads them
};

Recorders& TheRecorders() {
  static Recorders recorders;
  return recorders;
}

bool ReadU32(SharedDataBlock& block, uint32_t& value) { return block.ReadValue(value); }

}  // namespace

void TrackPlayer::SetLivingPlayers(int count) { g_livingPlayers = count; }
int TrackPlayer::LivingPlayers() { return g_livingPlayers; }
uint32_t TrackPlayer::GaplessDeadline() { return g_gaplessDeadline; }

TrackPlayer::TrackPlayer(const SoundOutputHost* outputs, const TrackRecord& track, uint32_t fadeInMs,
                         const TrackPlayerHooks& hooks, const CodecHost* codecs)
    : codecs_(codecs ? *codecs : Codecs()), outputs_(outputs), hooks_(hooks), track_(track), path_(track.Path()) {
  uint32_t seek = 0;
  ReadU32(block::OxSkipToPos, seek);
  noHistory_ = seek != 0;  // a resume: not a fresh play
  if (ReadNumber(setting::GapLessOn) != 0) {
    gapless_ = true;
    gaplessLatencyMs_ = ReadNumber(setting::GapLessLatencymS);
  } else if (ReadNumber(setting::CrossFadeOn) != 0) {
    const uint32_t seconds = ReadNumber(setting::CrossFadeLengthSec);
    crossFadeLengthMs_ = seconds ? seconds * 1000 : 5000;
    crossFadeThresholdMs_ = crossFadeLengthMs_;
  }
  if (fadeInMs) fadeIn_ = true, fadeInLengthMs_ = fadeInMs;
  block::OxTrackTime.WriteValue(time_);
  autoBoostPending_ = track_.volumeBoost == kVolumeBoostAuto;
  ApplyLevelCorrection(track_.volumeBoost);

  thread_ = std::make_unique<WorkerThread>(ThreadMain, reinterpret_cast<uintptr_t>(this), true);
  thread_->Resume();
  thread_->SetPriority(THREAD_PRIORITY_HIGHEST);
}

TrackPlayer::~TrackPlayer() {
  // Asked and waited for while thread_ still points at it: the playback thread reads its stop
  // request through it (unique_ptr::reset clears the pointer before the WorkerThread goes).
  thread_->Stop(true);
  thread_.reset();
  const uint32_t zero = 0;
  block::OxCurrentBitRate.WriteValue(zero);
}

uint32_t TrackPlayer::ThreadMain(WorkerThread& self) {
  reinterpret_cast<TrackPlayer*>(self.Argument())->Run();
  return 0;
}

bool TrackPlayer::Leaving() const { return thread_ && thread_->StopRequested(); }

void TrackPlayer::Run() {
  if (!Open()) return;
  bool loopRan = false;
  if (!output_ || outputHandle_) {
    Loop();
    loopRan = true;
  }
  Teardown(loopRan);
}

uint32_t TrackPlayer::MsOf(uint64_t bytes) {
  return format_ ? static_cast<uint32_t>(bytes * 1000 / bytesPerSecond_) : 0;
}

bool TrackPlayer::Open() {
  const CodecPlugin* mp3 = codecs_.Find(".mp3");
  codec_ = codecs_.Find(ExtensionOf(path_));
  if (!codec_ && mp3 && MpegAudioCheck(path_)) codec_ = mp3;
  if (!codec_ || !codec_->CreateANewDecoderObject || !codec_->OutputWantsABlockOfData) return false;

  auto create = [&] {
    int32_t error = 1;
    uint8_t wantsOutput = 0;
    uintptr_t hint = 0;
    WAVEFORMATEX* format = nullptr;
    decoder_ = codec_->CreateANewDecoderObject(path_.c_str(), &error, &wantsOutput, &format, &hint);
    format_ = format;
    return std::make_tuple(error, wantsOutput, hint);
  };
  auto deleteDecoder = [&] {
    if (decoder_ && codec_->DeleteADecoderObject) codec_->DeleteADecoderObject(decoder_);
    decoder_ = 0;
  };
  auto [error, wantsOutput, hint] = create();
  if (error != 0 && codec_ != mp3 && mp3 && MpegAudioCheck(path_)) {
    deleteDecoder();
    codec_ = mp3;
    std::tie(error, wantsOutput, hint) = create();
  }
  if (error != 0 || !decoder_ || (wantsOutput && !format_)) {
    deleteDecoder();
    return false;
  }
  if (!wantsOutput) return true;  // the codec renders by itself
  TakeReplayGain();
  bytesPerSecond_ = format_->nAvgBytesPerSec ? format_->nAvgBytesPerSec : 1;

  output_ = outputs_ ? outputs_->Choose() : nullptr;
  if (!output_ || !output_->CreateANewSoundOutObject || !output_->ServiceCall || !output_->ANewDataBlockArrived) {
    output_ = nullptr;
    deleteDecoder();
    return false;
  }
  int32_t outputError = 1;
  outputHandle_ = output_->CreateANewSoundOutObject(&outputError, format_, hint);
  if (outputError != 0) outputHandle_ = 0;
  visual_ = std::make_unique<VisualFeed>(
      VisualFormat{format_->nSamplesPerSec, format_->nChannels, format_->wBitsPerSample, format_->nAvgBytesPerSec});
  EqPositions positions{};
  block::OxEqPositions.ReadValue(positions);
  equaliser_ = std::make_unique<Equaliser>(
      AudioFormat{format_->nChannels, format_->nSamplesPerSec, format_->wBitsPerSample}, evt::OxEqOn.IsSet(),
      positions);
  evt::OxEqPosChanged.Set();  // the first control pass loads the positions
  return true;
}

void TrackPlayer::Loop() {
  int counter = 4;
  while (!Leaving()) {
    if (++counter == 5) {
      counter = 0;
      if (!ControlPass()) return;
    }
    // The output's "all played" counts only once the last block was handed over on an earlier
    // pass: said before that block arrived, it would cut the end of the track off.
    const bool endDelivered = endOfStream_;
    bool allPlayed = false;
    if (!DeliverBlock(allPlayed)) return;
    PublishTime();
    if (endOfStream_ && allPlayed && (endDelivered || !outputHandle_)) return;
    if (visual_) {  // only the main player's snapshots are shown
      visual_->SetEnabled(isMain_ && !selectorOn_);
      OxVisualSnapshot snapshot;
      if (visual_->Step(time_.elapsedMs, snapshot)) PostVisualSnapshot(snapshot);
    }
    Sleep(kPassMs);
    if (evt::OxClose.IsSet()) return;
  }
}

bool TrackPlayer::ControlPass() {
  if (!PauseHandling()) return false;
  if (!evt::OxPlay.IsSet()) return false;
  SeekHandling();
  VolumeAndEqualiser();
  RecordCheck();
  return true;
}

bool TrackPlayer::PauseHandling() {
  if (!evt::OxPause.IsSet()) return true;
  if (codec_->Pause) codec_->Pause(decoder_);
  if (outputHandle_ && output_->Pause) output_->Pause(outputHandle_);
  while (evt::OxPause.IsSet()) {
    Sleep(250);
    if (!evt::OxPlay.IsSet() || evt::OxClose.IsSet() || Leaving()) return false;  // left paused
  }
  evt::OxPause.Reset();
  if (codec_->UnPause) codec_->UnPause(decoder_);
  if (outputHandle_ && output_->UnPause) output_->UnPause(outputHandle_);
  return true;
}

void TrackPlayer::SeekHandling() {
  uint32_t n = 0;
  if (!ReadU32(block::OxSkipToPos, n) || n == 0) return;
  if (n > 101) n = 101;
  const int32_t percent = static_cast<int32_t>(n - 1);
  if (codec_->SkipTo) codec_->SkipTo(decoder_, percent);
  if (outputHandle_ && output_->SkipTo) output_->SkipTo(outputHandle_, percent);
  if (visual_) visual_->Reset();
  baseMs_ = kUnknown;
  const uint32_t zero = 0;
  block::OxSkipToPos.WriteValue(zero);
}

void TrackPlayer::VolumeAndEqualiser() {
  const uint32_t remaining = time_.remainingMs, elapsed = time_.elapsedMs;
  if (!isMain_) fadePercent_ = FadeOutPercent(remaining, crossFadeLengthMs_, fadePercent_);
  if (fadeIn_) {
    if (elapsed > fadeInLengthMs_) fadeIn_ = false, fadePercent_ = 100;
    else fadePercent_ = static_cast<int>(uint64_t{elapsed} * 100 / fadeInLengthMs_);
  }
  fadePercent_ = fadePercent_ < 0 ? 0 : fadePercent_ > 100 ? 100 : fadePercent_;

  uint32_t volume = 0, selector = 0, balance = 50;
  ReadU32(block::OxVolume, volume);
  ReadU32(block::OxSelectorSwitch, selector);
  selectorOn_ = selector != 0;
  if ((selector != 0 && selector != 1) || evt::OxMute.IsSet()) volume = 0;

  bool positionsLoaded = false;
  if (equaliser_) {
    equaliser_->SetEnabled(evt::OxEqOn.IsSet());
    if (evt::OxEqPosChanged.IsSet()) {
      evt::OxEqPosChanged.Reset();
      EqPositions positions{};
      block::OxEqPositions.ReadValue(positions);
      equaliser_->SetPositions(positions);
      positionsLoaded = true;
    }
  }

  ReadU32(block::OxBalance, balance);
  const Levels levels = LevelsFor(balance, volume);
  if (levels.left != lastLeft_ || levels.right != lastRight_) {
    lastLeft_ = levels.left, lastRight_ = levels.right;
    if (codec_->SetVolume) codec_->SetVolume(decoder_, levels.left, levels.right);
    if (outputHandle_ && output_->SetVolume) output_->SetVolume(outputHandle_, levels.left, levels.right);
  }

  uint32_t request = 0;
  ReadU32(block::OxMPVolBoost, request);
  // A request, or new equaliser positions: the level correction is taken again. Without a request
  // the track's own correction stands (new positions must not undo it).
  if (request != 0) ApplyLevelCorrection(static_cast<int16_t>(request));
  else if (positionsLoaded) ApplyLevelCorrection(track_.volumeBoost);
}

// A track whose tags carry a gain plays at it instead of the automatic level: nothing is measured
// and the record's boost counts as none. "The queue is an album" is judged from the track before:
// consecutive tracks of one album.
void TrackPlayer::TakeReplayGain() {
  static std::mutex lock;
  static std::string previousAlbum;
  const std::string album(track_.Album());
  bool albumQueue;
  {
    std::lock_guard<std::mutex> hold(lock);
    albumQueue = !album.empty() && album == previousAlbum;
    previousAlbum = album;
  }
  if (!codec_->GetLoudnessInfo) return;
  const ReplayGainSettings settings = ReadReplayGainSettings();
  if (settings.mode == ReplayGainMode::Off) return;
  OxLoudnessInfo info{};
  info.size = sizeof info;
  if (!codec_->GetLoudnessInfo(path_.c_str(), &info)) return;
  LoudnessTags tags;
  tags.hasTrackGain = info.flags & OX_LOUDNESS_TRACK_GAIN, tags.trackGainDb = info.trackGainDb;
  tags.hasAlbumGain = info.flags & OX_LOUDNESS_ALBUM_GAIN, tags.albumGainDb = info.albumGainDb;
  tags.hasTrackPeak = info.flags & OX_LOUDNESS_TRACK_PEAK, tags.trackPeak = info.trackPeak;
  tags.hasAlbumPeak = info.flags & OX_LOUDNESS_ALBUM_PEAK, tags.albumPeak = info.albumPeak;
  replayGain_ = ReplayGainFactor(settings, tags, albumQueue);
  if (replayGain_ > 0) {
    autoBoostPending_ = false;
    track_.volumeBoost = 500;
    boostDivisor_ = BoostDivisor(track_.volumeBoost);
  }
}

ReplayGainSettings ReadReplayGainSettings() {
  return ReplayGainSettingsOf(ReadNumber(setting::ReplayGainMode), ReadNumber(setting::ReplayGainPreamp),
                              ReadNumber(setting::ReplayGainClipPrevention));
}

void TrackPlayer::ApplyLevelCorrection(int16_t volumeBoost) {
  boostDivisor_ = BoostDivisor(volumeBoost);
  const uint32_t zero = 0;
  block::OxMPVolBoost.WriteValue(zero);  // each request is taken once
}

void TrackPlayer::RecordCheck() {
  if (recordedAsPlayed_ || noHistory_ || time_.elapsedMs < 5000) return;
  recordedAsPlayed_ = true;
  if (hooks_.played) TheRecorders().Start(hooks_.played, track_);
  Sleep(100);
}

bool TrackPlayer::DeliverBlock(bool& allPlayed) {
  void* buffer = nullptr;
  uint32_t room = 0;
  allPlayed = false;
  if (outputHandle_) allPlayed = output_->ServiceCall(outputHandle_, &buffer, &room) != 0;
  if (!buffer) room = 0;
  uint8_t end = 0;
  uint32_t ignored = 0, positionMs = 0, lengthMs = 0;
  auto decode = [&] {
    const uint32_t n = codec_->OutputWantsABlockOfData(decoder_, buffer, room, &end, &ignored, &positionMs, &lengthMs);
    return n < room ? n : room;
  };
  uint32_t bytes = decode();

  if (!outputHandle_) {  // a codec that renders by itself
    time_.elapsedMs = positionMs;
    time_.lengthMs = lengthMs;
    baseMs_ = 0;
    if (end) endOfStream_ = allPlayed = true;
    return true;
  }

  const int bits = format_->wBitsPerSample;
  uint8_t* data = static_cast<uint8_t*>(buffer);
  if (gapless_ && firstBlock_ && buffer) {
    firstBlock_ = false;
    // Drop the silence the encoder put in front, so the join with the previous track is seamless.
    // A track that fits in one block comes with the end flag on that block: it is trimmed too.
    while (bytes) {
      const size_t lead = LeadingSilence(data, bytes, bits);
      if (lead < bytes) {
        std::memmove(data, data + lead, bytes - lead);
        bytes -= static_cast<uint32_t>(lead);
        break;
      }
      if (end) break;  // nothing but silence: its last block stays
      bytes = decode();
    }
    // Hold the first block back until the previous track's deadline.
    while (g_livingPlayers == 2) {
      const uint32_t deadline = g_gaplessDeadline, now = Ticks();
      if (deadline && TickReached(now, deadline)) break;
      Sleep(!deadline || static_cast<int32_t>(deadline - now) > 250 ? kPassMs : 1);
      if (!evt::OxPlay.IsSet() || evt::OxClose.IsSet() || Leaving()) {
        GiveBack(buffer, 0, false);
        return false;
      }
    }
    if (!PauseHandling()) {
      GiveBack(buffer, 0, false);
      return false;
    }
    g_gaplessDeadline = 0;
  }
  if (baseMs_ == kUnknown) {
    baseMs_ = positionMs;
    time_.lengthMs = lengthMs;
    deliveredMs_ = 0;
  }
  if (bytes == 0 && !end) {
    GiveBack(buffer, 0, false);
    return true;
  }

  const uint32_t blockMs = MsOf(bytes);
  if (gapless_ && bytes && time_.lengthMs > 5000 &&
      uint64_t{baseMs_} + deliveredMs_ + blockMs >= time_.lengthMs - 5000) {
    // The next track may start when this one's last sound has played: the end, less the output's
    // latency and the silence this block ends with.
    const int64_t left =
        int64_t{lengthMs} - time_.elapsedMs - gaplessLatencyMs_ - MsOf(TrailingSilence(data, bytes, bits));
    deadline_ = Ticks() + static_cast<uint32_t>(left > 0 ? left : 0);
    if (deadline_ == 0) deadline_ = 1;  // 0 stands for no deadline
    g_gaplessDeadline = deadline_;
  }
  ProcessBlock(data, bytes, baseMs_ + deliveredMs_);
  GiveBack(buffer, bytes, end);
  deliveredMs_ += blockMs;
  if (end) endOfStream_ = true;
  return true;
}

// Every buffer the output handed out goes back to it, empty when there was nothing to put in.
void TrackPlayer::GiveBack(void* buffer, uint32_t bytes, bool end) {
  if (buffer || end) output_->ANewDataBlockArrived(outputHandle_, buffer, bytes, end ? 1 : 0);
}

void TrackPlayer::ProcessBlock(uint8_t* block, uint32_t bytes, uint32_t positionMs) {
  if (!format_ || !block || bytes == 0) return;
  const int bits = format_->wBitsPerSample;
  if (autoBoostPending_) {
    const int32_t peak = BlockPeak(block, bytes, bits);
    if (peak > peak_) peak_ = peak;
  }
  if (replayGain_ > 0) ApplyReplayGain(block, bytes, bits, replayGain_);
  if (equaliser_) equaliser_->Process(block, bytes);
  if (fadePercent_ != boostDivisor_) ScaleBlock(block, bytes, bits, fadePercent_, boostDivisor_);
  if (visual_) visual_->Feed(block, bytes, positionMs);
}

void TrackPlayer::PublishTime() {
  uint32_t& length = time_.lengthMs;
  uint32_t& elapsed = time_.elapsedMs;
  if (baseMs_ != kUnknown) {
    if (outputHandle_ && output_->HowManyBytesHaveBeenWritten) {
      const uint32_t played = MsOf(output_->HowManyBytesHaveBeenWritten(outputHandle_));
      if (played != kUnknown) elapsed = baseMs_ + played;
    }
    if (elapsed > length) elapsed = length;
    time_.remainingMs = length - elapsed;
    if (isMain_) block::OxTrackTime.WriteValue(time_);
    if (crossFadeThresholdMs_ && length > crossFadeThresholdMs_ && time_.remainingMs < crossFadeThresholdMs_)
      nextTrack_.Set();
    if (gapless_ && time_.remainingMs < 5000) nextTrack_.Set();
  }
  if (elapsed >= length / 4 && elapsed <= 2 * (length / 4)) playedEnough_ = true;
}

void TrackPlayer::Teardown(bool loopRan) {
  if (loopRan && autoBoostPending_ && time_.remainingMs <= 3000 && playedEnough_) {
    track_.volumeBoost = AutomaticBoost(peak_);
    if (hooks_.levelMeasured) hooks_.levelMeasured(path_, track_.volumeBoost);
  }
  // A deadline this track set is over with it: left standing, it would let the first block of a
  // later hand-over through at once.
  uint32_t mine = deadline_;
  if (mine) g_gaplessDeadline.compare_exchange_strong(mine, 0);
  // The visual feed is deleted here.
  equaliser_.reset();
  if (outputHandle_ && output_->DeleteASoundOutObject) output_->DeleteASoundOutObject(outputHandle_);
  outputHandle_ = 0;
  if (decoder_ && codec_->DeleteADecoderObject) codec_->DeleteADecoderObject(decoder_);
  decoder_ = 0;
  if (evt::OxClose.IsSet()) {  // the program closes: remember where to resume
    const uint32_t percent =
        time_.lengthMs ? static_cast<uint32_t>(uint64_t{time_.elapsedMs} * 100 / time_.lengthMs) : 0;
    WriteNumber(setting::OxMultiResumePos, percent);
    WriteText(setting::OxMultiResumeFile, path_);
  }
}

}  // namespace ox
