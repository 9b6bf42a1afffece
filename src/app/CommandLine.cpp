#include "app/CommandLine.h"

#include <windows.h>

#include "base/DataFile.h"
#include "base/FileFinder.h"
#include "base/Path.h"
#include "base/Sort.h"
#include "base/UserMessage.h"
#include "app/CommandLineTokens.h"
#include "core/Locations.h"
#include "core/Settings.h"
#include "queue/Playlist.h"
#include "queue/PlayerCommands.h"
#include "queue/TrackCompletion.h"

namespace ox {

namespace {

// The first CD-ROM drive with "*.cda" tracks in its root; "" when there is none. Empty drives must
// not bring up a system dialog while they are looked at.
std::string FindAudioCd() {
  char roots[1000] = {};
  const DWORD n = GetLogicalDriveStringsA(sizeof roots - 1, roots);
  for (const char* root = roots; n > 0 && n < sizeof roots && *root; root += strlen(root) + 1) {
    if (GetDriveTypeA(root) != DRIVE_CDROM) continue;
    FileFinder finder(root, "*.cda");
    if (finder.Next()) return root;
  }
  return {};
}

}  // namespace

void PlayAudioCd(const std::string& folder) {
  std::vector<std::string> tracks;
  FileFinder finder(folder, "*.cda");
  while (finder.Next())
    if (!finder.IsDirectory()) tracks.push_back(finder.FullPath());
  finder.Close();
  SortStrings(tracks, false);

  std::vector<M3uTrack> entries;
  for (size_t i = 0; i < tracks.size(); ++i) {
    if (i == 0 && ReadNumber(setting::NoAudioCDFromfreedB) == 0)
      WriteNumber(setting::CdaOneTimeFreedB, 0xFFFFFFFFu);  // a one-time request to the CD codec
    TrackRecord r{};
    if (!CopyBounded(r.path, tracks[i])) continue;
    CompleteTrackRecord(r);
    std::string name = r.Artist().empty() ? std::string(r.Title()) : std::string(r.Artist()) + " - " + std::string(r.Title());
    if (name.empty()) name = FileNameOf(tracks[i]);
    entries.push_back({r.lengthMs / 1000, name, tracks[i]});
  }
  const std::string playlist = InstallFolder(false) + "AudioCD.m3u";
  {
    DataFile file(playlist, FileAccess::ReadWrite, FileCreation::CreateAlways);
    const std::string text = M3uText(entries);
    if (file.IsOpen()) file.Write(text.data(), static_cast<uint32_t>(text.size()));
  }
  ClearQueue();
  PlayNow(playlist);
}

void ProcessCommandLine(const std::string& commandLine) {
  const CommandLineRequest request = ParseCommandLine(commandLine);
  switch (request.kind) {
    case CommandLineRequest::AudioCd:
      PlayAudioCd(request.audioCdFolder);
      return;
    case CommandLineRequest::AutoplayAudioCd: {
      SetErrorMode(SEM_FAILCRITICALERRORS);
      const std::string drive = FindAudioCd();
      if (!drive.empty()) PlayAudioCd(drive);
      else ShowUserMessage("No Audio CD tracks found to play!", "Orlavox", MB_ICONERROR | MB_TOPMOST);
      SetErrorMode(0);
      return;
    }
    case CommandLineRequest::Files:
      for (const std::string& file : request.files) PlayNow(file);
      ReportPathsTooLong(request.tooLong);
      return;
  }
}

}  // namespace ox
