#include "queue/Playlist.h"

#include <cstdio>

#include "base/Path.h"
#include "base/Text.h"

namespace ox {

namespace {
constexpr size_t kChunk = 64 * 1024;
}

bool IsPlaylist(std::string_view path, bool* isPls) {
  const std::string ext = ExtensionOf(path);
  const bool pls = EqualNoCase(ext, ".pls");
  if (isPls) *isPls = pls;
  return pls || EqualNoCase(ext, ".m3u");
}

std::string ResolveEntry(std::string_view entry, std::string_view playlistPath) {
  if (entry.size() >= 1 && entry[0] == '\\' && (entry.size() < 2 || entry[1] != '\\')) {
    const size_t slash = playlistPath.find('\\');
    return std::string(playlistPath.substr(0, slash)) + std::string(entry);
  }
  if (entry.size() >= 2 && (entry[1] == ':' || entry[1] == '\\')) return std::string(entry);
  return FolderOf(playlistPath) + std::string(entry);
}

int LineReader::Get() {
  if (at_ >= buffer_.size()) {
    offset_ += buffer_.size();
    buffer_.resize(kChunk);
    buffer_.resize(source_.ReadAt(offset_, buffer_.data(), kChunk));
    at_ = 0;
    if (buffer_.empty()) return -1;
  }
  return buffer_[at_++];
}

bool LineReader::Next(std::string& line) {
  line.clear();
  while (line.size() < max_) {
    const int c = Get();
    if (c < 0) return !line.empty();
    if (c == '\n') return true;
    if (c == '\r') {
      // CR LF ends the line as one; after a lone CR the byte belongs to the next line.
      const int next = Get();
      if (next >= 0 && next != '\n') --at_;
      return true;
    }
    line += static_cast<char>(c);
  }
  return true;
}

std::string PlaylistEntry(ByteSource& playlist, std::string_view playlistPath, uint32_t n) {
  if (n == 0) return {};
  bool pls = false;
  IsPlaylist(playlistPath, &pls);
  LineReader reader(playlist, kPlaylistLineMax);
  std::string line;
  char key[32];
  std::snprintf(key, sizeof key, "File%lu=", static_cast<unsigned long>(n));
  const std::string_view keyText(key);
  uint32_t seen = 0;
  while (reader.Next(line)) {
    if (pls) {
      if (line.compare(0, keyText.size(), keyText) != 0) continue;
      std::string path = ResolveEntry(std::string_view(line).substr(keyText.size()), playlistPath);
      return path.size() < kMaxPath ? path : std::string();
    }
    if (line.empty() || line[0] == '#') continue;
    std::string path = ResolveEntry(line, playlistPath);
    if (path.size() >= kMaxPath) continue;  // would not fit a track record
    if (++seen == n) return path;
  }
  return {};
}

std::string M3uText(const std::vector<M3uTrack>& tracks) {
  std::string text = "#EXTM3U\r\n";
  for (const M3uTrack& t : tracks)
    text += "#EXTINF:" + std::to_string(t.lengthSeconds) + "," + t.name + "\r\n" + t.path + "\r\n";
  return text;
}

}  // namespace ox
