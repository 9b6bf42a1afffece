// The playback thread end to end: real codec DLLs (the shipped WAV and MP3 codecs, a test codec
// that renders by itself) into a recording output DLL that plays like a device at a settable
// speed and keeps everything it is handed.
#include "engine/TrackPlayer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "Recording.h"
#include "ScratchInstallation.h"
#include "ShippedPlugins.h"
#include "TestSupport.h"
#include "base/System.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "engine/VisualOutputHost.h"

namespace ox {
namespace {

// What the players told their owner, through the hooks every test player gets.
struct Reports {
  std::mutex lock;
  std::vector<std::string> played;
  std::vector<std::pair<std::string, int16_t>> levels;
};
Reports g_reports;

const TrackPlayerHooks kReportingHooks = {
    [](const TrackRecord& track) {
      std::lock_guard<std::mutex> hold(g_reports.lock);
      g_reports.played.emplace_back(track.Path());
    },
    [](std::string_view path, int16_t boost) {
      std::lock_guard<std::mutex> hold(g_reports.lock);
      g_reports.levels.emplace_back(std::string(path), boost);
    },
};

std::vector<std::string> Played() {
  std::lock_guard<std::mutex> hold(g_reports.lock);
  return g_reports.played;
}

std::vector<int16_t> Samples(const Recording* r) { return oxtest::Records<int16_t>({r->data, r->data + r->size}); }

TrackRecord Track(const std::string& path, int16_t volumeBoost = 0) {
  TrackRecord r = oxtest::PathRecord(path);
  r.volumeBoost = volumeBoost;
  return r;
}

class TrackPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oxtest::ResetQueueState();
    const std::string outputs = oxtest::QueueInstallFolder() + "TestOutputs\\";
    CreateFolders(outputs);
    CopyFileA((oxtest::ExecutableFolder() + "playback\\Recording.dll").c_str(), (outputs + "Recording.dll").c_str(), FALSE);
    CopyFileA((oxtest::ExecutableFolder() + "playback\\SelfRender.dll").c_str(),
              (oxtest::QueueInstallFolder() + "Multiplayer\\Input\\SelfRender.dll").c_str(), FALSE);
    if (!outputs_) outputs_ = new SoundOutputHost(outputs);
    if (!codecs_) codecs_ = new CodecHost(CodecFolder());
    ASSERT_EQ(outputs_->Plugins().size(), 1u);
    const HMODULE m = outputs_->Plugins()[0].module.Get();
    setup_ = reinterpret_cast<void (*)(int, uint32_t)>(reinterpret_cast<void*>(GetProcAddress(m, "RecordingSetup")));
    count_ = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(m, "RecordingCount")));
    get_ = reinterpret_cast<const Recording* (*)(int)>(reinterpret_cast<void*>(GetProcAddress(m, "RecordingGet")));
    reset_ = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(m, "RecordingReset")));
    reset_();
    setup_(20, 50);
    SetTextSetting("Recording", "DefaultSO");
    for (const char* name : {"GapLessOn", "CrossFadeOn", "CrossFadeLengthSec"}) SetNumberSetting(0, name);
    DeleteSetting("GapLessLatencymS");
    for (auto [b, value] : {std::pair{&block::OxVolume, 100u}, {&block::OxBalance, 50u}, {&block::OxSelectorSwitch, 0u},
                            {&block::OxSkipToPos, 0u}, {&block::OxMPVolBoost, 0u}})
      b->WriteValue(value);
    block::OxEqPositions.WriteValue(EqPositions{});
    for (NamedEvent* e : {&evt::OxPause, &evt::OxClose, &evt::OxMute, &evt::OxEqOn}) e->Reset();
    evt::OxPlay.Set();
    TrackPlayer::SetLivingPlayers(1);
    std::lock_guard<std::mutex> hold(g_reports.lock);
    g_reports.played.clear();
    g_reports.levels.clear();
  }
  void TearDown() override {
    evt::OxPlay.Reset();
    evt::OxClose.Reset();
    reset_();
  }

  std::unique_ptr<TrackPlayer> Play(const TrackRecord& track, uint32_t fadeInMs = 0) {
    return std::make_unique<TrackPlayer>(outputs_, track, fadeInMs, kReportingHooks, codecs_);
  }
  static bool WaitFinished(const TrackPlayer& p, uint32_t limitMs = 20000) {
    return oxtest::WaitFor([&] { return p.IsFinished(); }, limitMs);
  }
  std::string File(const std::string& name) const { return oxtest::QueueInstallFolder() + name; }
  // A mono 8 kHz track holding `value` throughout.
  std::string Constant(const std::string& name, int16_t value, double seconds) {
    return oxtest::WriteSteadyWav(File(name), 8000, seconds, value);
  }
  static TrackTime Time() { return oxtest::Value<TrackTime>(block::OxTrackTime); }

  static SoundOutputHost* outputs_;
  static CodecHost* codecs_;
  void (*setup_)(int, uint32_t) = nullptr;
  int (*count_)() = nullptr;
  const Recording* (*get_)(int) = nullptr;
  void (*reset_)() = nullptr;
};

SoundOutputHost* TrackPlayerTest::outputs_ = nullptr;
CodecHost* TrackPlayerTest::codecs_ = nullptr;

TEST_F(TrackPlayerTest, NeutralSettingsPassTheCodecsSamplesUnchanged) {
  auto player = Play(Track(oxtest::Fixture("s16_stereo.wav")));
  ASSERT_TRUE(WaitFinished(*player));
  ASSERT_EQ(count_(), 1);
  const Recording* r = get_(0);
  EXPECT_EQ(r->format.nSamplesPerSec, 44100u);
  EXPECT_EQ(std::vector<uint8_t>(r->data, r->data + r->size), oxtest::ReadWholeFile(oxtest::Fixture("s16_stereo.raw")));
  EXPECT_EQ(std::make_pair(r->endSeen, r->deleted), std::make_pair(1, 1));
  const TrackTime t = Time();
  EXPECT_EQ(std::make_tuple(t.lengthMs, t.elapsedMs, t.remainingMs), std::make_tuple(1300u, 1300u, 0u));
  player.reset();
  EXPECT_EQ(oxtest::Value<uint32_t>(block::OxCurrentBitRate), 0u);
}

// The arithmetic of the levels and of the level correction's divisors: PlaybackMath.
TEST_F(TrackPlayerTest, VolumeBalanceMuteAndLevelCorrectionReachTheOutput) {
  const std::string path = Constant("levels.wav", 1000, 0.3);
  struct Case {
    uint32_t balance, volume;
    bool mute;
    uint32_t selector, request;  // request: a correction left in "OxMPVolBoost", which the start clears
    int16_t boost;
    int left, right;
    int16_t sample;
  } cases[] = {{51, 100, false, 1, 0, 0, 98, 100, 1000},  {100, 80, false, 0, 0, 0, 0, 80, 1000},
               {50, 100, true, 0, 0, 0, 0, 0, 1000},      {50, 100, false, 2, 0, 0, 0, 0, 1000},
               {50, 100, false, 0, 0, 250, 100, 100, 500}, {50, 100, false, 0, 250, 0, 100, 100, 1000}};
  for (const Case& c : cases) {
    block::OxBalance.WriteValue(c.balance);
    block::OxVolume.WriteValue(c.volume);
    block::OxSelectorSwitch.WriteValue(c.selector);
    block::OxMPVolBoost.WriteValue(c.request);
    if (c.mute) evt::OxMute.Set();
    else evt::OxMute.Reset();
    reset_();
    auto player = Play(Track(path, c.boost));
    ASSERT_TRUE(WaitFinished(*player));
    ASSERT_EQ(count_(), 1);
    EXPECT_EQ(std::make_pair(get_(0)->left, get_(0)->right), std::make_pair(c.left, c.right)) << &c - cases;
    EXPECT_EQ(get_(0)->volumeCalls, 1);  // sent once, on the first control pass
    const std::vector<int16_t> s = Samples(get_(0));
    ASSERT_EQ(s.size(), 2400u);
    EXPECT_EQ(std::make_pair(s.front(), s.back()), std::make_pair(c.sample, c.sample)) << &c - cases;
  }
}

TEST_F(TrackPlayerTest, CrossFadeOutFollowsTheFadeWindow) {
  SetNumberSetting(1, "CrossFadeOn");
  SetNumberSetting(5, "CrossFadeLengthSec");
  setup_(8, 100);  // one 100 ms block a pass: the fade is taken again every 500 ms of sound
  const std::string path = Constant("fade.wav", 1000, 12);
  auto player = Play(Track(path));
  player->Demote();  // the one fading out
  ASSERT_TRUE(WaitFinished(*player, 30000));
  EXPECT_TRUE(player->NextTrackWanted());
  const std::vector<int16_t> out = Samples(get_(0));
  ASSERT_EQ(out.size(), 96000u);
  auto at = [&](double secondsBeforeEnd) { return out[size_t((12 - secondsBeforeEnd) * 8000)]; };
  EXPECT_EQ(at(9.5), 1000);      // before the fade
  EXPECT_NEAR(at(5.5), 500, 150);  // half-way: 8 s to 3 s before the end
  EXPECT_LE(at(2), 60);          // from 3 s before the end it stays near 0
}

TEST_F(TrackPlayerTest, DestroyingAPlayerEndsItAtOnceAndHandsEveryBufferBack) {
  // One playing, and one gapless behind a living player holding its first block until the
  // deadline: what the core thread does when a new track replaces them.
  setup_(1, 50);
  auto playing = Play(Track(Constant("endless.wav", 1000, 60)));
  ASSERT_TRUE(oxtest::WaitFor([&] { return count_() == 1 && get_(0)->size > 0; }, 5000));
  SetNumberSetting(1, "GapLessOn");
  TrackPlayer::SetLivingPlayers(2);
  auto held = Play(Track(Constant("held.wav", 1000, 2)));
  ASSERT_TRUE(oxtest::WaitFor([&] { return count_() == 2; }, 5000));
  EXPECT_FALSE(oxtest::WaitFor([&] { return get_(1)->size > 0; }, 300));  // held
  for (auto* player : {&playing, &held}) {
    const DWORD start = GetTickCount();
    player->reset();
    EXPECT_LT(GetTickCount() - start, 1000u);
  }
  for (int i : {0, 1}) EXPECT_EQ(std::make_pair(get_(i)->deleted, get_(i)->brokenPromises), std::make_pair(1, 0)) << i;
}

TEST_F(TrackPlayerTest, PauseHoldsTheTimeAndStopEndsIt) {
  setup_(1, 50);
  auto player = Play(Track(Constant("long.wav", 1000, 4)));
  ASSERT_TRUE(oxtest::WaitFor([] { return Time().elapsedMs > 200; }, 5000));
  evt::OxPause.Set();
  ASSERT_TRUE(oxtest::WaitFor([&] { return count_() == 1 && get_(0)->pauses == 1; }, 5000));
  const uint32_t held = Time().elapsedMs;
  EXPECT_FALSE(oxtest::WaitFor([&] { return Time().elapsedMs != held; }, 500));
  evt::OxPause.Reset();
  EXPECT_TRUE(oxtest::WaitFor([&] { return Time().elapsedMs > held; }, 5000));

  evt::OxPlay.Reset();  // stop
  EXPECT_TRUE(WaitFinished(*player, 1000));
  EXPECT_TRUE(get_(0)->deleted);
}

TEST_F(TrackPlayerTest, PlaysAreReportedOnlyAfterFiveSeconds_AnAutomaticLevelOnceMeasured) {
  setup_(32, 400);
  auto shortTrack = Play(Track(Constant("short.wav", 1000, 4.5)));
  ASSERT_TRUE(WaitFinished(*shortTrack));
  auto longTrack = Play(Track(Constant("long.wav", 3000, 6), kVolumeBoostAuto));
  ASSERT_TRUE(WaitFinished(*longTrack));
  ASSERT_TRUE(oxtest::WaitFor([] { return !Played().empty(); }, 2000));
  EXPECT_EQ(Played(), std::vector<std::string>{File("long.wav")});
  {
    std::lock_guard<std::mutex> hold(g_reports.lock);
    // Peak 3000: as loud as the correction goes.
    EXPECT_EQ(g_reports.levels, (std::vector<std::pair<std::string, int16_t>>{{File("long.wav"), 968}}));
  }
}

TEST_F(TrackPlayerTest, SelfRenderingCodecAndFailuresEndTheTrack_MpegFramesFindTheMp3Codec) {
  oxtest::WriteWholeFile(File("x.oxself"), std::string("x"));
  const DWORD start = GetTickCount();
  auto self = Play(Track(File("x.oxself")));
  ASSERT_TRUE(WaitFinished(*self));
  EXPECT_GE(GetTickCount() - start, 550u);
  EXPECT_EQ(count_(), 0);  // no output was made
  EXPECT_EQ(std::make_pair(Time().lengthMs, Time().remainingMs), std::make_pair(600u, 0u));

  for (const std::string& bad : {File("missing.wav"), File("nothing.abc"), std::string()}) {
    auto p = Play(Track(bad));
    EXPECT_TRUE(WaitFinished(*p, 2000)) << bad;
  }
  SetTextSetting("Nonexistent", "DefaultSO");  // the first plug-in plays: still the recording one
  ASSERT_TRUE(CopyFileA(oxtest::Fixture("sweep_cbr.mp3").c_str(), File("sweep.xyz").c_str(), FALSE));
  auto mpeg = Play(Track(File("sweep.xyz")));  // an unknown extension on MPEG frames: the MP3 codec
  ASSERT_TRUE(WaitFinished(*mpeg));
  ASSERT_EQ(count_(), 1);
  EXPECT_EQ(get_(0)->size, 66150u * 4);  // the whole 1.5 s, gapless-trimmed by the codec
}

// Loudness tags through the shipped FLAC codec: f16_stereo.flac is tagged track -6.02 dB, album
// +2.5 dB (peak 0.9); f16_mono.flac is untagged. The gain rules themselves: ReplayGainTest.
TEST_F(TrackPlayerTest, TaggedTracksPlayAtTheGainTheSettingsPick_OthersAsBefore) {
  setup_(50, 50);
  const struct {
    const char* file;
    uint32_t mode, preamp, clip;
    double gain;
  } cases[] = {
      {"f16_stereo", 2, 0, 1, 1 / 0.9},                                            // album, held by its peak
      {"f16_stereo", 1, static_cast<uint32_t>(-30), 0, std::pow(10, -9.02 / 20)},  // track, a -3 dB preamp
      {"f16_mono", 1, 0, 1, 1.0},
  };
  for (const auto& c : cases) {
    SetNumberSetting(c.mode, "ReplayGainMode");
    SetNumberSetting(c.preamp, "ReplayGainPreamp");
    SetNumberSetting(c.clip, "ReplayGainClipPrevention");
    reset_();
    const std::string stem = oxtest::Fixture("codecs\\" + std::string(c.file));
    TrackPlayer player(outputs_, Track(stem + ".flac"), 0, {}, &oxtest::ShippedCodecs());
    ASSERT_TRUE(WaitFinished(player));
    const std::vector<int16_t> in = oxtest::ReadRecords<int16_t>(stem + ".raw"), out = Samples(get_(0));
    ASSERT_EQ(in.size(), out.size()) << c.file;
    double cross = 0, power = 0;  // the gain that best maps the source onto what was played
    for (size_t i = 0; i < in.size(); ++i) {
      cross += double(in[i]) * out[i];
      power += double(in[i]) * in[i];
    }
    EXPECT_NEAR(cross / power, c.gain, c.gain * 0.001) << c.file << " mode " << c.mode;
  }
  for (const char* name : {"ReplayGainMode", "ReplayGainPreamp", "ReplayGainClipPrevention"}) DeleteSetting(name);
}

TEST_F(TrackPlayerTest, UnterminatedPathFieldReachesCodecAndResumePointCut) {
  // Another program may fill the whole 260-byte path field; the fields after it are not text.
  TrackRecord r{};
  std::memset(r.path, 'p', sizeof r.path);
  std::memcpy(r.path + sizeof r.path - 7, ".oxself", 7);
  r.preference = 9;
  r.bitRateKbps = 0x4141;
  r.sampleRate = 0x41414141;
  auto player = Play(r);
  const HMODULE codec = GetModuleHandleA("SelfRender.dll");
  ASSERT_NE(codec, nullptr);
  auto lastPathLength = reinterpret_cast<size_t (*)()>(reinterpret_cast<void*>(GetProcAddress(codec, "SelfRenderLastPathLength")));
  ASSERT_TRUE(oxtest::WaitFor([] { return Time().lengthMs == 600; }, 5000));  // the codec plays
  EXPECT_EQ(lastPathLength(), sizeof r.path);
  evt::OxClose.Set();  // closing: the player keeps where to resume
  ASSERT_TRUE(WaitFinished(*player));
  EXPECT_EQ(GetTextSetting("OxMultiResumeFile", 1000), std::string(r.Path()));
}

struct Rendered {
  uint32_t timeMs, tick, rate;
  int first;
};

// The visual output host with the logging plug-in in a folder of its own; what the plug-in logged.
class VisualTest : public TrackPlayerTest {
 protected:
  void SetUp() override {
    TrackPlayerTest::SetUp();
    CreateFolders(folder_.Path());
    CopyFileA((oxtest::ExecutableFolder() + "playback\\LoggingVisual.dll").c_str(), (folder_ / "Logging.dll").c_str(), FALSE);
    RegDeleteTreeA(HKEY_CURRENT_USER, VisualOutputHost::HideKey("Logging.dll").c_str());
    SetEnvironmentVariableA("OX_VISUAL_LOG", (folder_ / "log.txt").c_str());
    SetEnvironmentVariableA("OX_VISUAL_ANSWER", "0");
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, VisualOutputHost::HideKey("Logging.dll").c_str());
    TrackPlayerTest::TearDown();
  }
  std::vector<std::string> Lines() const { return oxtest::ReadLines(folder_ / "log.txt"); }
  std::vector<Rendered> Renders() const {
    std::vector<Rendered> out;
    for (const std::string& line : Lines()) {
      Rendered r{};
      if (std::sscanf(line.c_str(), "render %u %u %u %d", &r.timeMs, &r.tick, &r.rate, &r.first) == 4) out.push_back(r);
    }
    return out;
  }
  oxtest::ScratchFolder folder_;
};

TEST_F(VisualTest, APluginIsShownAtOnceAndTicksWhileNothingPlays_HidingItselfSticks) {
  {
    VisualOutputHost host(folder_.Path());
    ASSERT_TRUE(oxtest::WaitFor([&] { return Renders().size() >= 10; }, 5000));
    EXPECT_EQ(Lines()[0], "show");
    EXPECT_EQ(Renders().back().rate, 44100u);  // a snapshot of zeros
    SetEnvironmentVariableA("OX_VISUAL_ANSWER", "1");  // the plug-in asks to be hidden
    ASSERT_TRUE(oxtest::WaitFor([&] { return Lines().back() == "hide"; }, 3000));
    EXPECT_EQ(GetNumberSetting("Hide", HKEY_CURRENT_USER, VisualOutputHost::HideKey("Logging.dll").c_str()), 0xFFFFFFFFu);
  }
  DeleteFileA((folder_ / "log.txt").c_str());
  VisualOutputHost next(folder_.Path());  // the next start leaves it hidden
  Sleep(300);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(VisualTest, SnapshotsFollowPlaybackEvery50Ms_SeeksLandAreTakenOnceAndLeaveNoOlderSnapshot) {
  VisualOutputHost host(folder_.Path());
  // Each sample holds its frame number (modulo 2^16), so the data after a seek tells where it landed.
  std::vector<int16_t> ramp(22050 * 4);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = int16_t(i);
  oxtest::WriteWav(File("ramp.wav"), 22050, 1, ramp);
  setup_(1, 50);  // real time, in blocks that hold the 512 frames of a snapshot
  auto player = Play(Track(File("ramp.wav")));
  ASSERT_TRUE(oxtest::WaitFor([] { return Time().elapsedMs > 1500; }, 5000));
  std::vector<Rendered> playing;
  for (const Rendered& r : Renders())
    if (r.rate == 22050) playing.push_back(r);
  ASSERT_GE(playing.size(), 20u);
  for (size_t i = 1; i < playing.size(); ++i) {
    EXPECT_GT(playing[i].timeMs, playing[i - 1].timeMs);
    // In step with the output's clock: the snapshot's time against the time played since the first.
    const int32_t lag = int32_t((playing[i].tick - playing[0].tick) - (playing[i].timeMs - playing[0].timeMs));
    EXPECT_LT(std::abs(lag), 200) << i;
  }
  EXPECT_NEAR(double(playing.back().timeMs - playing.front().timeMs) / (playing.size() - 1), 50, 15);

  // Each request is taken (the block goes back to 0), then 100 ms of sound follow the seek.
  auto request = [&](uint32_t n) {
    block::OxSkipToPos.WriteValue(n);
    EXPECT_TRUE(oxtest::WaitFor([] { return oxtest::Value<uint32_t>(block::OxSkipToPos) == 0; }, 5000)) << n;
    const Recording* r = get_(0);
    EXPECT_TRUE(oxtest::WaitFor([&] { return r->size >= r->skipAt[r->skips - 1] + 4410 || player->IsFinished(); }, 5000));
  };
  request(51);  // to 50 %: 2 s
  const size_t seeked = Renders().size();
  ASSERT_TRUE(oxtest::WaitFor([&] { return Renders().size() > seeked + 5; }, 3000));
  const std::vector<Rendered> after = Renders();
  for (size_t i = seeked; i < after.size(); ++i) EXPECT_TRUE(after[i].rate != 22050 || after[i].timeMs >= 1950) << i;
  request(1);    // back to the start
  request(500);  // counts as 101: the end
  ASSERT_TRUE(WaitFinished(*player));
  const Recording* r = get_(0);
  ASSERT_EQ(r->skips, 3);
  EXPECT_EQ(std::vector<int>(r->skipPercent, r->skipPercent + 3), (std::vector<int>{50, 0, 100}));
  const std::vector<int16_t> all = Samples(r);
  EXPECT_EQ(std::make_pair(all[r->skipAt[0] / 2], all[r->skipAt[1] / 2]), std::make_pair(int16_t(44100), int16_t{0}));
  EXPECT_EQ(r->size, r->skipAt[2]);  // nothing after the seek to the end
}

}  // namespace
}  // namespace ox
