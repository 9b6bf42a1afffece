// The shipped Wave Out plug-in, playing for real through Wine's waveOut into ALSA. The test run
// points ALSA's default device at its "file" plug-in; OX_ALSA_CAPTURE names the file it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ShippedPlugins.h"
#include "TestSupport.h"

namespace ox {
namespace {

// Feeds pcm through the output as the playback loop does, one pass every 10 ms; calls `during`
// after each block. Returns false when the output did not finish playing within `limitMs`.
template <typename During>
bool Play(const SoundOutputPlugin* out, OxSoundOut handle, const std::vector<uint8_t>& pcm, During during,
          DWORD limitMs = 20000) {
  size_t fed = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < limitMs) {
    void* buffer = nullptr;
    uint32_t room = 0;
    const bool done = out->ServiceCall(handle, &buffer, &room) != 0;
    if (fed == pcm.size() && done) return true;
    if (buffer && fed < pcm.size()) {
      const uint32_t n = static_cast<uint32_t>(std::min<size_t>(room, pcm.size() - fed));
      std::memcpy(buffer, pcm.data() + fed, n);
      fed += n;
      out->ANewDataBlockArrived(handle, buffer, n, fed == pcm.size());
      during(fed);
    }
    Sleep(10);
  }
  return false;
}

TEST(WaveOut, RefusesFormatsItCannotOpen_PlaysEveryByteIntoTheDevice_PauseHoldsTheCount_SkipRestartsIt) {
  const SoundOutputPlugin* out = oxtest::ShippedOutput("Wave Out");
  ASSERT_NE(out, nullptr);
  const std::vector<uint8_t> pcm = oxtest::ReadWholeFile(oxtest::FixtureFolder() + "s16_stereo.raw");
  ASSERT_EQ(pcm.size(), 229320u);
  const char* capture = std::getenv("OX_ALSA_CAPTURE");
  if (capture) DeleteFileA(capture);
  int32_t error = 0;
  WAVEFORMATEX bad[] = {{0x7777, 2, 44100, 176400, 4, 16, 0}, {WAVE_FORMAT_PCM, 0, 0, 0, 0, 0, 0}};
  for (WAVEFORMATEX& f : bad) {
    EXPECT_EQ(out->CreateANewSoundOutObject(&error, &f, 0), 0u) << f.wFormatTag;
    EXPECT_NE(error, 0);
  }

  WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  const OxSoundOut handle = out->CreateANewSoundOutObject(&error, &format, 0);
  ASSERT_EQ(error, 0);
  ASSERT_NE(handle, 0u);
  out->SetVolume(handle, 100, 100);
  bool paused = false;
  ASSERT_TRUE(Play(out, handle, pcm, [&](size_t fed) {
    if (paused || fed < pcm.size() / 2) return;
    paused = true;
    EXPECT_TRUE(oxtest::WaitFor([&] { return out->HowManyBytesHaveBeenWritten(handle) > 0; }, 3000));
    out->Pause(handle);
    // The device stops a moment later; then the count holds.
    EXPECT_TRUE(oxtest::WaitFor([&] {
      const uint32_t before = out->HowManyBytesHaveBeenWritten(handle);
      Sleep(100);
      return out->HowManyBytesHaveBeenWritten(handle) == before;
    }, 3000));
    const uint32_t held = out->HowManyBytesHaveBeenWritten(handle);
    EXPECT_FALSE(oxtest::WaitFor([&] { return out->HowManyBytesHaveBeenWritten(handle) != held; }, 300));
    out->UnPause(handle);
  }));
  EXPECT_TRUE(paused);
  EXPECT_EQ(out->HowManyBytesHaveBeenWritten(handle), pcm.size());

  // An empty last block changes nothing.
  void* buffer = nullptr;
  uint32_t room = 0;
  EXPECT_EQ(out->ServiceCall(handle, &buffer, &room), 1);
  out->ANewDataBlockArrived(handle, buffer, 0, 1);
  EXPECT_EQ(out->ServiceCall(handle, &buffer, &room), 1);
  out->SkipTo(handle, 0);
  EXPECT_EQ(out->HowManyBytesHaveBeenWritten(handle), 0u);
  out->DeleteASoundOutObject(handle);

  if (capture) {
    const std::vector<uint8_t> got = oxtest::ReadWholeFile(capture);
    ASSERT_GE(got.size(), pcm.size());
    // Whatever silence the device adds around it, or inside it when the feed ran late on a loaded
    // machine, the samples arrive whole and in order.
    auto heard = oxtest::Records<uint32_t>(got), sound = oxtest::Records<uint32_t>(pcm);  // frames
    for (auto* frames : {&heard, &sound}) frames->erase(std::remove(frames->begin(), frames->end(), 0u), frames->end());
    EXPECT_NE(std::search(heard.begin(), heard.end(), sound.begin(), sound.end()), heard.end());
  }
}

}  // namespace
}  // namespace ox
