#include "queue/PlaylistText.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "base/Path.h"
#include "base/Text.h"
#include "base/Utf8.h"

namespace ox {

namespace {

// Calls line(text) for each line, passing over (and counting) those longer than limit.
template <typename F>
void ForEachLine(ByteSource& source, size_t limit, size_t* overlong, F line) {
  uint64_t at = 0;
  if (source.Size() >= 3) {
    uint8_t bom[3];
    if (source.ReadAt(0, bom, 3) == 3 && bom[0] == 0xEF && bom[1] == 0xBB && bom[2] == 0xBF) at = 3;
  }
  std::vector<char> chunk(64 * 1024);
  std::string current;
  bool tooLong = false, afterCr = false;
  const auto finish = [&] {
    if (tooLong) ++*overlong;
    else line(std::string_view(current));
    current.clear();
    tooLong = false;
  };
  for (;;) {
    const size_t got = source.ReadAt(at, chunk.data(), chunk.size());
    if (got == 0) break;
    at += got;
    for (size_t i = 0; i < got; ++i) {
      const char c = chunk[i];
      if (afterCr && c == '\n') {
        afterCr = false;
        continue;
      }
      afterCr = c == '\r';
      if (c == '\r' || c == '\n') {
        finish();
      } else if (current.size() < limit) {
        current.push_back(c);
      } else {
        tooLong = true;
      }
    }
  }
  if (!current.empty() || tooLong) finish();
}

bool FitsRecord(const std::string& path) { return !path.empty() && path.size() < kMaxPath; }

}  // namespace

PlaylistEntries ReadPlaylistEntries(ByteSource& playlist, std::string_view playlistPath, size_t maxEntries,
                                    AnsiToUtf8 fromAnsi, size_t lineLimit) {
  PlaylistEntries result;
  bool pls = false;
  IsPlaylist(playlistPath, &pls);
  const bool utf8 = EqualNoCase(ExtensionOf(playlistPath), ".m3u8") || IsUtf8Source(playlist);
  if (!fromAnsi) fromAnsi = Latin1ToUtf8;
  const auto text = [&](std::string_view bytes) { return utf8 ? Utf8(Utf16(bytes)) : fromAnsi(bytes); };
  std::map<uint32_t, std::string> numbered;  // PLS: the first value of each number
  const auto take = [&](std::string path) {
    if (result.paths.size() >= maxEntries || !FitsRecord(path)) ++result.skipped;
    else result.paths.push_back(std::move(path));
  };
  ForEachLine(playlist, lineLimit, &result.skipped, [&](std::string_view line) {
    if (!pls) {
      if (!line.empty() && line[0] != '#') take(ResolveEntry(text(line), playlistPath));
      return;
    }
    if (line.substr(0, 4) != "File") return;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 4) return;
    const std::string digits(line.substr(4, equals - 4));
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) return;
    const uint32_t n = static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 10));
    if (n > 0) numbered.emplace(n, ResolveEntry(text(line.substr(equals + 1)), playlistPath));
  });
  for (auto& [n, path] : numbered) take(std::move(path));
  return result;
}

std::string EntryPathFor(std::string_view playlistPath, std::string_view trackPath) {
  const std::string folder = FolderOf(playlistPath);
  if (!folder.empty() && folder.back() == '\\' && trackPath.size() > folder.size() &&
      EqualNoCase(trackPath.substr(0, folder.size()), folder))
    return std::string(trackPath.substr(folder.size()));
  return std::string(trackPath);
}

std::string PlaylistFileText(std::string_view playlistPath, const std::vector<PlaylistTrack>& tracks) {
  bool pls = false;
  IsPlaylist(playlistPath, &pls);
  std::string text;
  if (pls) {
    text = "[playlist]\r\n";
    for (size_t i = 0; i < tracks.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      text += "File" + n + "=" + EntryPathFor(playlistPath, tracks[i].path) + "\r\n";
      if (!tracks[i].name.empty()) text += "Title" + n + "=" + tracks[i].name + "\r\n";
      text += "Length" + n + "=" + (tracks[i].lengthMs ? std::to_string(tracks[i].lengthMs / 1000) : "-1") + "\r\n";
    }
    text += "NumberOfEntries=" + std::to_string(tracks.size()) + "\r\nVersion=2\r\n";
    return text;
  }
  text = "#EXTM3U\r\n";
  for (const PlaylistTrack& track : tracks) {
    if (!track.name.empty() || track.lengthMs)
      text += "#EXTINF:" + (track.lengthMs ? std::to_string(track.lengthMs / 1000) : std::string("-1")) + "," +
              track.name + "\r\n";
    text += EntryPathFor(playlistPath, track.path) + "\r\n";
  }
  return text;
}

}  // namespace ox
