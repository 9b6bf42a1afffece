// Loudness tags through the playback thread: the shipped FLAC codec's tagged file into the
// recording output, at the gain the settings pick.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>

#include "TestSupport.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "engine/TrackPlayer.h"

namespace ox {
namespace {

struct Recording {  // the head of RecordingOutput.c's record
  WAVEFORMATEX format;
  uint8_t* data;
  size_t size;
};

// The gain that best maps the source onto what was played (least squares).
double PlayedGain(const std::vector<uint8_t>& source, const Recording* r) {
  const std::vector<int16_t> in = oxtest::Records<int16_t>(source),
                             out = oxtest::Records<int16_t>({r->data, r->data + r->size});
  double cross = 0, power = 0;
  for (size_t i = 0; i < in.size() && i < out.size(); ++i)
    cross += static_cast<double>(in[i]) * out[i], power += static_cast<double>(in[i]) * in[i];
  EXPECT_EQ(in.size(), out.size());
  return cross / power;
}

TEST(ReplayGainPlayback, TaggedTracksPlayAtTheirGainOthersAsBefore) {
  oxtest::ScratchFolder outputs;
  CopyFileA((oxtest::ExecutableFolder() + "playback\\Recording.dll").c_str(), (outputs / "Recording.dll").c_str(),
            FALSE);
  SoundOutputHost host(outputs.Path());
  const CodecHost codecs(oxtest::ExecutableFolder() + "..\\dist\\Multiplayer\\Input\\");
  ASSERT_EQ(host.Plugins().size(), 1u);
  const HMODULE m = host.Plugins()[0].module.Get();
  auto entry = [m](const char* name) { return reinterpret_cast<void*>(GetProcAddress(m, name)); };
  reinterpret_cast<void (*)(int, uint32_t)>(entry("RecordingSetup"))(50, 50);
  auto get = reinterpret_cast<const Recording* (*)(int)>(entry("RecordingGet"));
  auto reset = reinterpret_cast<void (*)()>(entry("RecordingReset"));
  SetTextSetting("Recording", "DefaultSO");
  for (const char* name : {"GapLessOn", "CrossFadeOn"}) SetNumberSetting(0, name);
  for (auto [b, value] : {std::pair{&block::OxVolume, 100u},
                          {&block::OxBalance, 50u},
                          {&block::OxSkipToPos, 0u},
                          {&block::OxMPVolBoost, 0u}})
    b->WriteValue(value);
  evt::OxEqOn.Reset();
  evt::OxPlay.Set();
  TrackPlayer::SetLivingPlayers(1);

  // f16_stereo.flac: track -6.02 dB (peak 0.794), album +2.5 dB (peak 0.9); f16_mono.flac: none.
  const struct {
    const char* file;
    uint32_t mode, preamp, clip;
    double gain;
  } cases[] = {
      {"f16_stereo", 0, 0, 1, 1.0},      // off
      {"f16_stereo", 1, 0, 1, 0.5},      // -6.02 dB: half
      {"f16_stereo", 2, 0, 1, 1 / 0.9},  // +2.5 dB, held so the album peak stays <= 1
      {"f16_stereo", 1, static_cast<uint32_t>(-30), 0, std::pow(10, -9.02 / 20)},  // a -3 dB preamp
      {"f16_mono", 1, 0, 1, 1.0},  // untagged: the automatic level, none here
  };
  for (const auto& c : cases) {
    SetNumberSetting(c.mode, "ReplayGainMode");
    SetNumberSetting(c.preamp, "ReplayGainPreamp");
    SetNumberSetting(c.clip, "ReplayGainClipPrevention");
    reset();
    TrackRecord track{};
    CopyBounded(track.path, oxtest::Fixture(std::string(c.file) + ".flac"));
    TrackPlayer player(&host, track, 0, {}, &codecs);
    ASSERT_TRUE(oxtest::WaitFor([&] { return player.IsFinished(); }, 20000));
    EXPECT_NEAR(PlayedGain(oxtest::ReadWholeFile(oxtest::Fixture(std::string(c.file) + ".raw")), get(0)), c.gain,
                c.gain * 0.001)
        << c.file << " mode " << c.mode;
  }
  evt::OxPlay.Reset();
  for (const char* name : {"ReplayGainMode", "ReplayGainPreamp", "ReplayGainClipPrevention"}) DeleteSetting(name);
}

}  // namespace
}  // namespace ox
