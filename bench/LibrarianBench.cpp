// The collection editor at scale: a collection of 100,000 records opened (file read, side index,
// the list's search text and first sort), a find-as-you-type keystroke, a sort by each column,
// the memory it all takes; then an "add folder" of 10,000 files (walk and track information).
// Run from a copy of the installation folder (the codecs are found beside the executable).
//   librarian_bench <scratch folder>
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "BenchClock.h"
#include "base/System.h"
#include "core/Locations.h"
#include "engine/CodecHost.h"
#include "queue/CollectionScan.h"
#include "queue/CollectionStore.h"
#include "queue/CollectionView.h"

namespace {

void WriteSmallWav(const std::string& path, uint32_t n) {
  const uint32_t data = 200 + n % 400;
  uint8_t header[44] = {'R',  'I',  'F', 'F', 0, 0, 0,  0, 'W', 'A', 'V',  'E',  'f', 'm',
                        't',  ' ',  16,  0,   0, 0, 1,  0, 1,   0,   0x40, 0x1F, 0,   0,
                        0x80, 0x3E, 0,   0,   2, 0, 16, 0, 'd', 'a', 't',  'a'};
  const uint32_t riff = 36 + data;
  std::memcpy(header + 4, &riff, 4);
  std::memcpy(header + 40, &data, 4);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD wrote;
  std::string samples(data, '\0');
  WriteFile(f, header, sizeof header, &wrote, nullptr);
  WriteFile(f, samples.data(), data, &wrote, nullptr);
  CloseHandle(f);
}

double PeakMb() {
  PROCESS_MEMORY_COUNTERS m{};
  m.cb = sizeof m;
  GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
  return m.PeakWorkingSetSize / 1048576.0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ox;
  if (argc < 2) return 2;
  InstallFolder(false);  // the codecs beside this program
  const std::string work = std::string(argv[1]) + "\\librarian\\";
  CreateFolders(work);
  const std::string path = work + "bench.mcc";
  {
    std::vector<TrackRecord> records(100000);
    std::vector<SideEntry> side(records.size());
    const char* words[] = {"love", "night", "blue", "river", "fire", "dance", "home", "rain", "gold", "road"};
    for (size_t i = 0; i < records.size(); ++i) {
      TrackRecord& r = records[i];
      const std::string artist = "Artist " + std::to_string(i * 7919 % 3000);
      const std::string title = std::string(words[i % 10]) + " " + words[i / 10 % 10] + " " + std::to_string(i);
      CopyBounded(r.artist, artist);
      CopyBounded(r.title, title);
      CopyBounded(r.album, "Album " + std::to_string(i / 12));
      CopyBounded(r.path, "D:\\Music\\" + artist + "\\Album " + std::to_string(i / 12) + "\\" + title + ".mp3");
      r.year = static_cast<int16_t>(1950 + i % 70);
      r.lengthMs = static_cast<uint32_t>(120000 + i * 31 % 300000);
      r.preference = static_cast<uint8_t>(i % 10);
      r.timesPlayed = static_cast<uint32_t>(i * 13 % 50);
      side[i].genre = words[i * 3 % 10];
    }
    DeleteFileA(path.c_str());
    SaveCollection(path, records, side);
  }

  double start = Now();
  LoadedCollection c = LoadCollection(path);
  std::vector<std::string> genres(c.records.size());
  for (size_t i = 0; i < genres.size(); ++i) genres[i] = c.side[i].genre;
  CollectionView view;
  view.Reset(&c.records, &genres);
  std::printf("librarian: open 100,000 records and list them sorted %.0f ms (limit 1000)\n", (Now() - start) * 1000);

  double worst = 0;
  std::string typed;
  for (char key : std::string("river 4")) {
    typed += key;
    start = Now();
    view.SetFilter(typed);
    worst = std::max(worst, Now() - start);
  }
  std::printf("librarian: find-as-you-type keystroke, worst of 7 %.1f ms (limit 50; %zu rows left)\n", worst * 1000,
              view.Rows().size());
  view.SetFilter("");
  worst = 0;
  for (int column = 0; column < kColumnCount; ++column) {
    start = Now();
    view.SortBy(static_cast<Column>(column), column % 2 == 0);
    worst = std::max(worst, Now() - start);
  }
  std::printf("librarian: sort by a column, worst of %d %.0f ms (limit 300)\n", kColumnCount, worst * 1000);
  std::printf("librarian: peak memory with 100,000 records %.0f MB (limit 200)\n", PeakMb());
  start = Now();
  SaveCollection(path, c.records, c.side);
  std::printf("librarian: save 100,000 records (new file, flushed, moved into place) %.0f ms\n",
              (Now() - start) * 1000);

  const std::string scan = work + "scan\\";
  for (int i = 0; i < 10000; ++i) {
    const std::string folder = scan + "folder " + std::to_string(i / 100) + "\\";
    if (i % 100 == 0) CreateFolders(folder);
    const std::string file = folder + "track " + std::to_string(i) + ".wav";
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) WriteSmallWav(file, static_cast<uint32_t>(i));
  }
  Codecs();
  for (int round = 0; round < 2; ++round) {  // the second with the folders in the system's cache
    std::atomic<bool> cancel{false};
    std::atomic<uint32_t> done{0};
    std::vector<FoundFile> files;
    std::vector<TrackRecord> records;
    std::vector<SideEntry> side;
    start = Now();
    FindMusicFiles(scan, Codecs(), files, cancel);
    const double walked = Now() - start;
    ReadTracks(files, records, side, done, cancel);
    std::printf("librarian: add a folder of %zu files %.0f ms (walk %.0f ms; limit 10000)\n", files.size(),
                (Now() - start) * 1000, walked * 1000);
  }
  return 0;
}
