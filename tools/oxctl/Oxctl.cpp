// oxctl.exe: drives a running Orlavox player from the command line, through the same named
// objects and queue files the suite's other programs use.
//
//   oxctl play FILE...      play now (the first at once, the rest after it, in order)
//   oxctl enqueue FILE...   append to the queue
//   oxctl next | previous   next track | previous track (or the start of this one after 5 s)
//   oxctl pause | resume    pause | resume playback
//   oxctl start | stop      start playing | stop
//   oxctl volume [0-100]    set the volume, or print it
//   oxctl balance [0-100]   set the balance (50 is centre), or print it
//   oxctl eq on|off         switch the equaliser
//   oxctl skin NAME         show the skin of that name (a folder of Skins\)
//   oxctl status            print state, artist, title, position and length
//   oxctl clear             empty the queue
//   oxctl close             close the player
//
// Exit codes: 0 done; 1 usage; 2 a value out of range; 3 no player runs (status, and the commands
// that need one; play, enqueue and start start the player when it does not run).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

#include "base/Wide.h"
#include "core/EnsureRunning.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/PlayerCommands.h"

namespace {

enum Exit { kDone = 0, kUsage = 1, kBadValue = 2, kNoPlayer = 3 };

int Usage() {
  std::fprintf(stderr,
               "usage: oxctl play|enqueue FILE... | next | previous | pause | resume | start | stop |\n"
               "             volume [0-100] | balance [0-100] | eq on|off | skin NAME | status | clear |\n"
               "             close\n");
  return kUsage;
}

bool PlayerRuns() { return ox::evt::OxRillRunning.IsSet(); }

int NoPlayer() {
  std::fprintf(stderr, "oxctl: no Orlavox player is running\n");
  return kNoPlayer;
}

// A whole number from 0 to 100, or -1.
int Percent(const char* text) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && v >= 0 && v <= 100 ? static_cast<int>(v) : -1;
}

int Level(ox::SharedDataBlock& block, const char* name, int argc, char** argv) {
  if (argc == 2) {
    uint32_t value = 0;
    block.ReadValue(value);
    std::printf("%s: %lu\n", name, static_cast<unsigned long>(value));
    return kDone;
  }
  const int v = Percent(argv[2]);
  if (v < 0) {
    std::fprintf(stderr, "oxctl: %s takes a whole number from 0 to 100\n", name);
    return kBadValue;
  }
  const uint32_t value = static_cast<uint32_t>(v);
  block.WriteValue(value);
  return kDone;
}

std::string Clock(uint32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%lu:%02lu", static_cast<unsigned long>(ms / 60000),
                static_cast<unsigned long>(ms / 1000 % 60));
  return text;
}

int Status() {
  if (!PlayerRuns()) return NoPlayer();
  ox::TrackRecord playing{};
  ox::block::OxTrackPlaying.ReadValue(playing);
  ox::TrackTime time{};
  ox::block::OxTrackTime.ReadValue(time);
  const bool plays = ox::evt::OxPlay.IsSet();
  std::printf("state: %s\n", !plays ? "stopped" : ox::evt::OxPause.IsSet() ? "paused" : "playing");
  std::printf("artist: %s\n", std::string(playing.Artist()).c_str());
  std::printf("title: %s\n", std::string(playing.Title()).c_str());
  std::printf("path: %s\n", std::string(playing.Path()).c_str());
  std::printf("position: %lu ms (%s)\n", static_cast<unsigned long>(time.elapsedMs), Clock(time.elapsedMs).c_str());
  std::printf("length: %lu ms (%s)\n", static_cast<unsigned long>(time.lengthMs), Clock(time.lengthMs).c_str());
  return kDone;
}

}  // namespace

static int Run(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  static const char* const kCommands[] = {"play", "enqueue", "next", "previous", "pause", "resume", "start",
                                          "stop", "volume", "balance", "eq", "skin", "status", "clear", "close"};
  bool known = false;
  for (const char* c : kCommands) known = known || command == c;
  if (!known) return Usage();
  if (command == "play" || command == "enqueue") {
    if (argc < 3) return Usage();
    for (int i = 2; i < argc; ++i) {
      if (std::strlen(argv[i]) > 259) {
        std::fprintf(stderr, "oxctl: path too long, skipped: %.60s...\n", argv[i]);
        continue;
      }
      ox::TrackRecord record{};
      ox::CopyBounded(record.path, argv[i]);
      if (command == "play") ox::PlayNow(record);
      else ox::Enqueue(record);
    }
    if (command == "enqueue") ox::EnsurePlayerRunning();
    return kDone;
  }
  if (command == "status") return Status();
  if (command == "start") {
    if (!ox::evt::OxPlay.IsSet()) ox::PlayStop();
    return kDone;
  }
  if (command == "clear") {
    ox::ClearQueue();
    return kDone;
  }
  if (!PlayerRuns()) return NoPlayer();
  if (command == "next") {
    if (ox::evt::OxPlay.IsSet()) ox::evt::OxSkip.Set();
    else ox::PlayStop();
  } else if (command == "previous") {
    ox::SkipBack();
  } else if (command == "pause") {
    ox::evt::OxPause.Set();
  } else if (command == "resume") {
    ox::evt::OxPause.Reset();
  } else if (command == "stop") {
    ox::evt::OxPlay.Reset();
  } else if (command == "volume") {
    return Level(ox::block::OxVolume, "volume", argc, argv);
  } else if (command == "balance") {
    return Level(ox::block::OxBalance, "balance", argc, argv);
  } else if (command == "eq" && argc == 3 && (std::strcmp(argv[2], "on") == 0 || std::strcmp(argv[2], "off") == 0)) {
    if (argv[2][1] == 'n') ox::evt::OxEqOn.Set();
    else ox::evt::OxEqOn.Reset();
  } else if (command == "skin" && argc == 3 && argv[2][0] != '\0') {
    // The active skin is a setting any program of the suite may write; the event has it loaded.
    ox::SetTextSetting(argv[2], "[SetActive]", HKEY_CURRENT_USER, "Software\\Quillmarsh\\Orlavox\\Skin");
    ox::evt::OxNewSkin.Set();
  } else if (command == "close") {
    ox::evt::OxClose.Set();
  } else {
    return Usage();
  }
  return kDone;
}

int main() {
  // The arguments in UTF-16 from the system, as UTF-8: a name outside the code page arrives whole.
  int argc = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 0; wide && i < argc; ++i) args.push_back(ox::FromWide(wide[i]));
  LocalFree(wide);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return Run(static_cast<int>(args.size()), argv.data());
}
