// Decode speed of the shipped codec plug-ins, in times real time: audio seconds decoded per
// second of the decoding thread's CPU time (and per second of wall time).
//   codec_speed <installation folder> <file> [<file> ...]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/Path.h"
#include "engine/CodecHost.h"

namespace {

double ThreadSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) { return (uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}

double WallSeconds() {
  LARGE_INTEGER now, rate;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&rate);
  return double(now.QuadPart) / rate.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: codec_speed <installation folder> <file>...\n");
    return 2;
  }
  std::string folder = argv[1];
  ox::EnsureTrailingBackslash(folder);
  const ox::CodecHost host(folder + "Multiplayer\\Input\\");
  for (int i = 2; i < argc; ++i) {
    const ox::CodecPlugin* codec = host.Find(ox::ExtensionOf(argv[i]));
    if (!codec) {
      std::printf("%s: no codec\n", argv[i]);
      continue;
    }
    double totalCpu = 0, bestWall = 1e9, audioSeconds = 0;
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
      int32_t error = 1;
      uint8_t wants = 0;
      uintptr_t hint = 0;
      WAVEFORMATEX* format = nullptr;
      const double cpu0 = ThreadSeconds(), wall0 = WallSeconds();
      const OxDecoder d = codec->CreateANewDecoderObject(argv[i], &error, &wants, &format, &hint);
      if (error || !d) {
        std::printf("%s: cannot open\n", argv[i]);
        break;
      }
      std::vector<uint8_t> block(17640);  // 100 ms of CD audio, the size the player asks for
      uint64_t bytes = 0;
      for (;;) {
        uint8_t end = 0;
        uint32_t ignored, position, length;
        bytes += codec->OutputWantsABlockOfData(d, block.data(), static_cast<uint32_t>(block.size()), &end, &ignored,
                                                &position, &length);
        if (end) break;
      }
      audioSeconds = double(bytes) / format->nAvgBytesPerSec;
      codec->DeleteADecoderObject(d);
      const double cpu = ThreadSeconds() - cpu0, wall = WallSeconds() - wall0;
      totalCpu += cpu;  // summed: the thread clock ticks coarsely
      if (wall < bestWall) bestWall = wall;
    }
    const char* name = std::strrchr(argv[i], '/') ? std::strrchr(argv[i], '/') + 1 : argv[i];
    std::printf("%s: %.1f s of audio; %.0fx real time per second of decoding CPU (%d rounds), %.0fx per second of "
                "wall time (best round)\n",
                name, audioSeconds, kRounds * audioSeconds / (totalCpu > 1e-6 ? totalCpu : 1e-6), kRounds,
                audioSeconds / bestWall);
  }
  return 0;
}
