// The visual feed's spectrum step for one snapshot, and a folder-watch scan of 10,000 files
// against a collection of 10,000 records (half of the files known).
//   watch_bench <installation folder with codecs> <scratch folder>
#include <windows.h>

#include "BenchClock.h"

#include <cstdio>
#include <string>

#include "base/DataFile.h"
#include "base/System.h"
#include "core/TrackRecord.h"
#include "engine/CodecHost.h"
#include "engine/VisualFeed.h"
#include "queue/FolderWatch.h"

int main(int argc, char** argv) {
  using namespace ox;
  if (argc < 3) return 2;
  OxVisualSnapshot snapshot{};
  for (int i = 0; i < OX_VIS_FRAMES; ++i) snapshot.waveform[0][i] = snapshot.waveform[1][i] = int8_t(i * 37 % 200 - 100);
  const int rounds = 20000;
  double start = Now();
  for (int i = 0; i < rounds; ++i) {
    snapshot.waveform[0][i % OX_VIS_FRAMES] ^= 1;
    ComputeSpectrum(snapshot);
  }
  std::printf("visual: spectrum of one snapshot (both channels) %.1f us\n", (Now() - start) * 1e6 / rounds);

  const std::string folder = std::string(argv[2]) + "\\watch\\";
  CreateFolders(folder);
  KnownPaths known;
  for (int i = 0; i < 10000; ++i) {
    const std::string path = folder + "track " + std::to_string(i) + ".mp3";
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      DataFile file(path, FileAccess::Write, FileCreation::CreateAlways);
      file.Write("x", 1);
    }
    // The collection: the even files, and as many paths elsewhere.
    known.Add(i % 2 ? "D:\\Elsewhere\\song " + std::to_string(i) + ".mp3" : path);
  }
  const CodecHost codecs(std::string(argv[1]) + "\\Multiplayer\\Input\\");
  for (int round = 0; round < 2; ++round) {  // the second with the folder in the system's cache
    size_t handed = 0;
    start = Now();
    ScanFolder(folder, false, known, codecs, [&](const std::string&) { ++handed; });
    std::printf("folder watch: scan of 10,000 files against 10,000 known paths %.0f ms (%zu new)\n",
                (Now() - start) * 1000, handed);
  }
  return 0;
}
