// rill.exe as a user runs it: real processes under Wine, playing through the shipped codecs into
// the Disk Writer, driven through the suite's named objects and oxctl.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <tuple>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "base/ByteSource.h"
#include "base/DataFile.h"
#include "engine/Equaliser.h"
#include "base/System.h"
#include "app/CommandLine.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/PlayerCommands.h"

namespace ox {
namespace {

std::string Folder() { return oxtest::QueueInstallFolder(); }
std::string Out() { return Folder() + "out\\"; }


std::vector<int16_t> OutputSamples(const std::string& title) {
  return oxtest::Records<int16_t>(oxtest::ReadWholeFile(Out() + title + ".wav"), 44);
}

// What the recording output left of one of its objects (in creation order) in the player process.
struct Recorded {
  bool present = false;
  DWORD firstTick = 0, lastTick = 0;
  std::vector<int16_t> samples;
};

Recorded ReadRecording(int index) {
  Recorded r;
  const std::string stem = Folder() + "rec\\rec" + std::to_string(index);
  unsigned long first = 0, last = 0, bytes = 0;
  if (std::sscanf(oxtest::ReadText(stem + ".txt").c_str(), "%lu %lu %lu", &first, &last, &bytes) != 3) return r;
  const std::vector<uint8_t> raw = oxtest::ReadWholeFile(stem + ".raw");
  r.present = raw.size() == bytes;
  r.firstTick = first, r.lastTick = last;
  r.samples = oxtest::Records<int16_t>(raw);
  return r;
}

using oxtest::WaitFor;

// A player process (or a second start) with its command line; one still running at the end is closed.
struct Process : oxtest::Process {
  explicit Process(const std::string& exe, const std::string& arguments = "")
      : oxtest::Process(exe, arguments, [] { evt::OxClose.Set(); }) {}
};

class PlayerProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oxtest::ResetQueueState();
    evt::OxRillRunning.Reset();
    evt::OxClose.Reset();
    for (const char* exe : {"rill.exe", "oxctl.exe"})
      ASSERT_TRUE(CopyFileA((oxtest::ExecutableFolder() + "..\\dist\\" + exe).c_str(), (Folder() + exe).c_str(), FALSE));
    CreateFolders(Folder() + "SoundOutputs");
    ASSERT_TRUE(CopyFileA((oxtest::ExecutableFolder() + "..\\dist\\SoundOutputs\\Disk Writer.dll").c_str(),
                          (Folder() + "SoundOutputs\\Disk Writer.dll").c_str(), FALSE));
    CreateFolders(Out());
    SetTextSetting("Disk Writer", "DefaultSO");
    SetTextSetting(Out().c_str(), "DiskWriterFolder");
    for (const char* name : {"OxVolume", "OxBalance", "OxPlayDown", "OxRandomPlay", "OxEQOn", "OxEQSettings",
                             "OxMultiResumeFile", "OxMultiResumePos", "CrossFadeOn", "CrossFadeLengthSec", "GapLessOn"})
      DeleteSetting(name);
  }
  void TearDown() override {
    evt::OxClose.Set();
    WaitFor([] { return !evt::OxRillRunning.IsSet(); }, 5000);
    evt::OxClose.Reset();
    DeleteFileA((Folder() + "SoundOutputs\\Recording.dll").c_str());
    for (int i = 0; i < 8; ++i)
      for (const char* ext : {".raw", ".txt"}) DeleteFileA((Folder() + "rec\\rec" + std::to_string(i) + ext).c_str());
  }
  // Starts the player and waits until a second start would find it.
  std::unique_ptr<Process> StartPlayer(const std::string& arguments) {
    auto p = std::make_unique<Process>(Folder() + "rill.exe", arguments);
    EXPECT_TRUE(p->Started());
    EXPECT_TRUE(WaitFor([] { return evt::OxRillRunning.IsSet() && FindWindowA("Orlavox Audio Player", nullptr); }, 15000));
    return p;
  }
  // Plays through the recording output in real time (times speed) instead of the Disk Writer.
  void UseRecordingOutput(int speed, int blockMs) {
    ASSERT_TRUE(CopyFileA((oxtest::ExecutableFolder() + "playback\\Recording.dll").c_str(),
                          (Folder() + "SoundOutputs\\Recording.dll").c_str(), FALSE));
    CreateFolders(Folder() + "rec");
    SetTextSetting("Recording", "DefaultSO");
    SetEnvironmentVariableA("OX_RECORDING_DIR", (Folder() + "rec").c_str());
    SetEnvironmentVariableA("OX_RECORDING_SPEED", std::to_string(speed).c_str());
    SetEnvironmentVariableA("OX_RECORDING_BLOCK_MS", std::to_string(blockMs).c_str());
  }
  int Oxctl(const std::string& arguments) { return oxtest::RunAndWait(Folder() + "oxctl.exe", arguments); }
  std::string Constant(const std::string& name, double seconds, int16_t value = 1000, uint32_t rate = 44100) {
    return oxtest::WriteSteadyWav(Folder() + name, rate, seconds, value);
  }
  static uint32_t Counter() { return oxtest::Value<uint32_t>(block::OxPlayListChanged); }
  static uint32_t Elapsed() { return oxtest::Value<TrackTime>(block::OxTrackTime).elapsedMs; }
};

TEST_F(PlayerProcessTest, PlaysItsFilesInOrderThenStopsAndCloses_AResumePointGoesUnused) {
  SetTextSetting(Constant("resume.wav", 1, 1000, 8000).c_str(), "OxMultiResumeFile");
  SetNumberSetting(50, "OxMultiResumePos");
  const uint32_t before = Counter();
  auto player = StartPlayer("\"" + oxtest::Fixture("s16_stereo.wav") + "\" \"" + oxtest::Fixture("s16_mono.wav") + "\"");
  // First start with no settings: volume, balance, random play, the equaliser.
  const int32_t preamp = oxtest::Value<EqPositions>(block::OxEqPositions).preamp;
  EXPECT_EQ(std::make_tuple(oxtest::Value<uint32_t>(block::OxVolume), oxtest::Value<uint32_t>(block::OxBalance),
                            evt::OxMyMusicRandom.IsSet(), evt::OxEqOn.IsSet(), preamp),
            std::make_tuple(100u, 50u, true, false, 0));

  // The queue runs dry: play stops and the change counter moves.
  ASSERT_TRUE(WaitFor([] { return !evt::OxPlay.IsSet(); }, 20000));
  EXPECT_GT(Counter(), before);
  EXPECT_EQ(oxtest::ReadWholeFile(Out() + "s16_stereo.wav"), oxtest::ReadWholeFile(oxtest::Fixture("s16_stereo.wav")));
  EXPECT_EQ(OutputSamples("s16_mono"), oxtest::ReadRecords<int16_t>(oxtest::Fixture("s16_mono.raw")));
  EXPECT_TRUE(oxtest::ReadWholeFile(Out() + "resume.wav").empty());  // a start with files drops it
  EXPECT_EQ(GetTextSetting("OxMultiResumeFile"), "");

  const DWORD start = GetTickCount();
  evt::OxClose.Set();
  EXPECT_EQ(player->Wait(5000), 0);
  EXPECT_LT(GetTickCount() - start, 2500u);  // a cycle of the main loop and the core thread, in practice
  EXPECT_FALSE(evt::OxRillRunning.IsSet());
  EXPECT_EQ(std::make_pair(GetNumberSetting("OxVolume"), GetNumberSetting("OxPlayDown")), std::make_pair(101u, 1u));
}

TEST_F(PlayerProcessTest, SecondStartHandsItsFilesOverAndLeaves) {
  UseRecordingOutput(1, 50);  // real time: the long track is still playing when the second start comes
  const std::string longTrack = Constant("long.wav", 60, 1000, 8000);
  auto player = StartPlayer("\"" + longTrack + "\"");
  // More than 2 s after the player's own play-now, so the next one takes the play-next slot.
  ASSERT_TRUE(WaitFor([] { return Elapsed() > 2200; }, 10000));
  const std::string installed = GetTextSetting("InstalledTo");
  SetTextSetting("marker", "InstalledTo");
  const HWND taskbar = FindWindowA("Orlavox Audio Player", nullptr);
  ShowWindow(taskbar, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(taskbar) != 0; }, 5000));
  // The options program gave M to mute while the player ran: a second start makes it read the table.
  SetNumberSetting('M', "Key10", HKEY_CURRENT_USER, "Software\\Quillmarsh\\Orlavox\\Orp-KeyControl");
  const std::string c = Constant("c.wav", 0.5, 2000, 8000), d = Constant("d.wav", 0.5, 3000, 8000);
  const DWORD secondStarted = GetTickCount();
  Process second(Folder() + "rill.exe", "\"" + c + "\" \"" + d + "\"");
  EXPECT_EQ(second.Wait(5000), 0);
  const DWORD handedOver = GetTickCount();
  EXPECT_LT(handedOver - secondStarted, 2000u);  // about 0.5 s here; room for a loaded machine
  EXPECT_EQ(GetTextSetting("InstalledTo"), "marker");  // the second start writes nothing of its own
  SetTextSetting(installed.c_str(), "InstalledTo");
  // It asked the running player to come up (evtOxShowRill), which restores its taskbar window.
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(taskbar); }, 5000));
  evt::OxMute.Reset();
  EXPECT_TRUE(WaitFor([] { return !evt::ReloadKeyMappings.IsSet(); }, 3000));  // the player has read it
  PostMessageA(taskbar, WM_KEYUP, 'M', 0);
  EXPECT_TRUE(WaitFor([] { return evt::OxMute.IsSet(); }, 3000));
  DeleteSetting("Key10", HKEY_CURRENT_USER, "Software\\Quillmarsh\\Orlavox\\Orp-KeyControl");
  evt::OxMute.Reset();
  ASSERT_TRUE(WaitFor([] { return ReadRecording(2).present; }, 10000));
  const Recorded replaced = ReadRecording(0), first = ReadRecording(1), next = ReadRecording(2);
  EXPECT_LT(replaced.samples.size(), 60u * 8000);  // cut short
  EXPECT_EQ(first.samples, std::vector<int16_t>(4000, 2000));
  EXPECT_EQ(next.samples, std::vector<int16_t>(4000, 3000));
  EXPECT_LT(int32_t(first.firstTick - handedOver), 500);  // at the core thread's next cycle (100 ms)
  EXPECT_GE(int32_t(next.firstTick - first.lastTick), 0);
}

TEST_F(PlayerProcessTest, CloseSavesTheStateAndTheNextStartResumes) {
  const std::string longTrack = Constant("resume.wav", 60, 1000, 8000);
  auto player = StartPlayer("\"" + longTrack + "\"");
  block::OxVolume.WriteValue(uint32_t{37});
  block::OxBalance.WriteValue(uint32_t{20});
  evt::OxEqOn.Set();
  EqPositions eq{};
  eq.preamp = 7;
  eq.sliders[3] = -40;
  block::OxEqPositions.WriteValue(eq);
  ASSERT_TRUE(WaitFor([] { return Elapsed() > 12000; }, 20000));  // at least 20 % in
  evt::OxClose.Set();
  EXPECT_EQ(player->Wait(5000), 0);
  for (auto [name, value] : {std::pair{"OxVolume", 38u}, {"OxBalance", 20u}, {"OxEQOn", 1u}, {"OxPlayDown", 0u}})
    EXPECT_EQ(GetNumberSetting(name), value) << name;
  EqPositions saved{};
  EXPECT_TRUE(GetBytesSetting("OxEQSettings", &saved, sizeof saved));
  EXPECT_EQ(std::memcmp(&saved, &eq, sizeof eq), 0);
  EXPECT_EQ(GetTextSetting("OxMultiResumeFile"), longTrack);
  const uint32_t percent = GetNumberSetting("OxMultiResumePos");
  EXPECT_GE(percent, 20u);
  ASSERT_LT(percent, 100u);

  // Started without files, it resumes one percent earlier.
  evt::OxEqOn.Reset();
  DeleteFileA((Out() + "resume.wav").c_str());
  auto resumed = StartPlayer("");
  ASSERT_TRUE(WaitFor([] { return !evt::OxPlay.IsSet(); }, 30000));
  const size_t total = 60 * 8000, played = OutputSamples("resume").size();
  EXPECT_NEAR(double(played), double(total) * (101 - percent) / 100, total * 0.011);
  EXPECT_TRUE(evt::OxEqOn.IsSet());  // restored
  EXPECT_EQ(GetTextSetting("OxMultiResumeFile"), "");
  evt::OxClose.Set();
  EXPECT_EQ(resumed->Wait(5000), 0);
}

TEST_F(PlayerProcessTest, GaplessAndCrossFadeHandOvers) {
  // Gapless: one sine cut at a loud sample (no block boundary) in two files, the second with 1000
  // samples of encoder silence in front, joins back sample for sample.
  SetNumberSetting(1, "GapLessOn");
  std::vector<int16_t> sine(8000 * 9);
  for (size_t i = 0; i < sine.size(); ++i) sine[i] = int16_t(8000 * std::sin(2 * 3.14159265358979 * 220 * i / 8000.0 + 0.4));
  const size_t cut = 8000 * 6 + 1237;
  ASSERT_GT(std::abs(sine[cut]), 1000);  // the join itself is loud: only the added silence may go
  oxtest::WriteWav(Folder() + "one.wav", 8000, 1, std::vector<int16_t>(sine.begin(), sine.begin() + cut));
  std::vector<int16_t> second(1000, 0);
  second.insert(second.end(), sine.begin() + cut, sine.end());
  oxtest::WriteWav(Folder() + "two.wav", 8000, 1, second);
  {
    auto player = StartPlayer("\"" + Folder() + "one.wav\" \"" + Folder() + "two.wav\"");
    ASSERT_TRUE(WaitFor([] { return !evt::OxPlay.IsSet(); }, 30000));
  }
  std::vector<int16_t> joined = OutputSamples("one");
  const std::vector<int16_t> rest = OutputSamples("two");
  joined.insert(joined.end(), rest.begin(), rest.end());
  EXPECT_TRUE(joined == sine);

  // Cross-fade of 2 s, through an output that plays in time (four times real time): the next track
  // starts 2 s of sound before the first one ends and fades in over those 2 s while the first plays
  // on to its end (its own fade window, 5 s to 3 s before the end, lies before its hand-over).
  SetNumberSetting(0, "GapLessOn");
  SetNumberSetting(1, "CrossFadeOn");
  SetNumberSetting(2, "CrossFadeLengthSec");
  UseRecordingOutput(4, 100);
  const std::string a = Constant("fadeout.wav", 10, 1000, 8000), b = Constant("fadein.wav", 4, 1000, 8000);
  {
    auto player = StartPlayer("\"" + a + "\" \"" + b + "\"");
    ASSERT_TRUE(WaitFor([] { return ReadRecording(1).present; }, 30000));
  }
  const Recorded out = ReadRecording(0), in = ReadRecording(1);
  ASSERT_EQ(out.samples.size(), 80000u);
  ASSERT_EQ(in.samples.size(), 32000u);
  EXPECT_EQ(out.samples.back(), 1000);
  EXPECT_NEAR(double(int32_t(out.lastTick - in.firstTick)), 2000 / 4, 400);  // the overlap
  EXPECT_LE(in.samples[400], 150);           // 50 ms into the next: fading in
  EXPECT_NEAR(in.samples[8000], 500, 200);   // 1 s of 2
  EXPECT_EQ(in.samples[8000 * 3], 1000);     // done
}

// oxctl against no player and against a running one. Names in Cyrillic, CJK and an accented letter,
// given on the command line of the player and of oxctl and in a .m3u8 playlist, play and reach the
// shared block and the queue file as the same UTF-8 bytes.
TEST_F(PlayerProcessTest, OxctlDrivesTheRunningPlayer_NamesInEveryScriptKeepTheirBytes) {
  EXPECT_EQ(Oxctl("status"), 3);  // no player
  EXPECT_EQ(Oxctl("bogus"), 1);
  const std::string title = "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F \xE5\xA4\x9C\xE6\x9B\xB2 \xC3\xA9";  // Песня 夜曲 é
  const std::string song = Constant(title + ".wav", 120, 1000, 8000), next = Constant(title + " 2.wav", 120, 1000, 8000);
  auto player = StartPlayer("\"" + song + "\"");
  ASSERT_TRUE(WaitFor([] { return Elapsed() > 500; }, 10000));  // it plays: the position advances
  const TrackRecord playing = oxtest::Value<TrackRecord>(block::OxTrackPlaying);
  EXPECT_EQ(playing.Path(), song);
  EXPECT_EQ(playing.Title(), title);
  ASSERT_EQ(Oxctl("enqueue \"" + next + "\""), 0);
  const std::vector<QueueRecord> records = oxtest::ReadRecords<QueueRecord>(QueueFile());
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].track.Path(), next);
  EXPECT_EQ(Oxctl("status"), 0);
  ASSERT_EQ(Oxctl("volume 30"), 0);
  EXPECT_EQ(oxtest::Value<uint32_t>(block::OxVolume), 30u);
  EXPECT_EQ(Oxctl("volume 200"), 2);
  EXPECT_EQ(Oxctl("balance 61"), 0);
  ASSERT_EQ(Oxctl("next"), 0);
  ASSERT_TRUE(WaitFor([&] { return oxtest::Value<TrackRecord>(block::OxTrackPlaying).Title() == title + " 2"; }, 5000));
  ASSERT_EQ(Oxctl("pause"), 0);
  EXPECT_TRUE(evt::OxPause.IsSet());  // what a pause holds: the track player tests
  ASSERT_EQ(Oxctl("resume"), 0);
  ASSERT_EQ(Oxctl("eq on"), 0);
  EXPECT_TRUE(evt::OxEqOn.IsSet());
  // A skin by name: the active-skin setting, which the skin thread then loads.
  const char* skinKey = "Software\\Quillmarsh\\Orlavox\\Skin";
  ASSERT_EQ(Oxctl("skin Strip"), 0);
  EXPECT_EQ(GetTextSetting("[SetActive]", 260, HKEY_CURRENT_USER, skinKey), "Strip");
  EXPECT_EQ(Oxctl("skin"), 1);
  DeleteSetting("[SetActive]", HKEY_CURRENT_USER, skinKey);
  // A UTF-8 playlist (with its byte-order mark) that a second start hands over.
  const std::string listed = Constant(title + " 3.wav", 60, 1000, 8000);
  oxtest::WriteWholeFile(Folder() + "list.m3u8", "\xEF\xBB\xBF#EXTM3U\r\n" + listed + "\r\n");
  Process second(Folder() + "rill.exe", "\"" + Folder() + "list.m3u8\"");
  EXPECT_EQ(second.Wait(5000), 0);
  EXPECT_TRUE(WaitFor([&] { return oxtest::Value<TrackRecord>(block::OxTrackPlaying).Path() == listed; }, 10000));
  ASSERT_EQ(Oxctl("close"), 0);
  EXPECT_EQ(player->Wait(5000), 0);
}

TEST_F(PlayerProcessTest, AudioCdPlaylistFromCdaTracks) {
  const std::string cd = Folder() + "cd\\";
  CreateFolders(cd);
  for (const char* track : {"Track02.cda", "Track01.cda", "track03.cda"}) oxtest::WriteWholeFile(cd + track, std::string("cda"));
  ASSERT_TRUE(CopyFileA((oxtest::ExecutableFolder() + "codecs\\codec_cda.dll").c_str(),
                        (Folder() + "Multiplayer\\Input\\codec_cda.dll").c_str(), FALSE));
  SetNumberSetting(0, "CDA-OneTimeFreedB");
  DeleteSetting("NoAudioCDFromfreedB");
  Enqueue(TrackRecord{});  // the queue is cleared
  evt::OxRillRunning.Set();  // as from inside a running player: no player is started
  PlayAudioCd(cd);
  EXPECT_EQ(oxtest::ReadText(InstallFolder(false) + "AudioCD.m3u"),
            "#EXTM3U\r\n#EXTINF:72,CD - Track01.cda\r\n" + cd + "Track01.cda\r\n#EXTINF:72,CD - Track02.cda\r\n" + cd +
                "Track02.cda\r\n#EXTINF:72,CD - track03.cda\r\n" + cd + "track03.cda\r\n");
  EXPECT_EQ(GetNumberSetting("CDA-OneTimeFreedB"), 0xFFFFFFFFu);
  EXPECT_EQ(FileSize(QueueFile()), 0u);
  EXPECT_EQ(oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).Path(), InstallFolder(false) + "AudioCD.m3u");
  evt::OxRillRunning.Reset();
  DeleteFileA((Folder() + "Multiplayer\\Input\\codec_cda.dll").c_str());
}

}  // namespace
}  // namespace ox
