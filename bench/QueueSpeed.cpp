// Queue lookups that sit between two tracks: the last entry of a 10,000-entry M3U and PLS
// playlist, and the MPEG audio check over a 10 MB file.
//   queue_speed <scratch folder> <files of about 10 MB to check>...
#include <windows.h>

#include "BenchClock.h"

#include <cstdio>
#include <string>

#include "base/DataFile.h"
#include "queue/PlaylistFile.h"
#include "engine/MpegCheck.h"
#include "queue/TrackInfo.h"

namespace {

template <typename F>
double BestMs(F f, int rounds = 5) {
  double best = 1e9;
  for (int i = 0; i < rounds; ++i) {
    const double start = Now();
    f();
    const double ms = (Now() - start) * 1000;
    if (ms < best) best = ms;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: queue_speed <scratch folder> <mp3 file>\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "\\";
  std::string m3u = "#EXTM3U\r\n", pls = "[playlist]\r\n";
  for (int i = 1; i <= 10000; ++i) {
    const std::string path = "D:\\Music\\Some Artist\\Some Album\\" + std::to_string(i) + " - A Track Title.mp3";
    m3u += "#EXTINF:215,Some Artist - A Track Title\r\n" + path + "\r\n";
    pls += "File" + std::to_string(i) + "=" + path + "\r\nTitle" + std::to_string(i) + "=A Track Title\r\nLength" +
           std::to_string(i) + "=215\r\n";
  }
  for (const auto& [name, text] : {std::pair<std::string, std::string>{"big.m3u", m3u}, {"big.pls", pls}}) {
    ox::DataFile file(folder + name, ox::FileAccess::Write, ox::FileCreation::CreateAlways);
    file.Write(text.data(), static_cast<uint32_t>(text.size()));
  }
  std::string entry;
  const double m3uMs = BestMs([&] { entry = ox::PlaylistEntryOf(folder + "big.m3u", 10000); });
  std::printf("last of 10000 M3U entries: %.2f ms (%s)\n", m3uMs, entry.c_str());
  const double plsMs = BestMs([&] { entry = ox::PlaylistEntryOf(folder + "big.pls", 10000); });
  std::printf("last of 10000 PLS entries: %.2f ms (%s)\n", plsMs, entry.c_str());
  for (int i = 2; i < argc; ++i) {
    bool mpeg = false;
    const double checkMs = BestMs([&] { mpeg = ox::MpegAudioCheck(argv[i]); });
    std::printf("MPEG audio check of %s: %.2f ms (%s)\n", argv[i], checkMs, mpeg ? "MPEG audio" : "not MPEG audio");
  }
  return 0;
}
