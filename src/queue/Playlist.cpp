#include "queue/Playlist.h"

#include <cstdio>

#include "base/Path.h"
#include "base/Text.h"
#include "base/Utf8.h"

namespace ox {

namespace {
constexpr size_t kChunk = 64 * 1024;
}

bool IsPlaylist(std::string_view path, bool* isPls) {
  const std::string ext = ExtensionOf(path);
  const bool pls = EqualNoCase(ext, ".pls");
  if (isPls) *isPls = pls;
  return pls || EqualNoCase(ext, ".m3u") || EqualNoCase(ext, ".m3u8");
}

std::string ResolveEntry(std::string_view entry, std::string_view playlistPath) {
  if (entry.size() >= 1 && entry[0] == '\\' && (entry.size() < 2 || entry[1] != '\\')) {
    const size_t slash = playlistPath.find('\\');
    return std::string(playlistPath.substr(0, slash)) + std::string(entry);
  }
  if (entry.size() >= 2 && (entry[1] == ':' || entry[1] == '\\')) return std::string(entry);
  return FolderOf(playlistPath) + std::string(entry);
}

namespace {
bool StartsWithBom(ByteSource& source) {
  uint8_t bom[3];
  return source.ReadAt(0, bom, 3) == 3 && bom[0] == 0xEF && bom[1] == 0xBB && bom[2] == 0xBF;
}
}  // namespace

LineReader::LineReader(ByteSource& source, size_t max, bool skipBom) : source_(source), max_(max) {
  if (skipBom && StartsWithBom(source_)) offset_ = 3;
}

bool IsUtf8Source(ByteSource& source) {
  std::vector<uint8_t> chunk(kChunk);
  std::string text;  // the incomplete last character of one chunk, then the next chunk
  for (uint64_t offset = 0;;) {
    chunk.resize(source.ReadAt(offset, chunk.data(), kChunk));
    offset += chunk.size();
    text.append(chunk.begin(), chunk.end());
    if (chunk.empty()) return IsValidUtf8(text);
    // Hold back a last character whose lead byte wants more bytes than the chunk has left.
    size_t keep = 0;
    for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
      const uint8_t c = static_cast<uint8_t>(text[text.size() - back]);
      if ((c & 0xC0) == 0x80) continue;
      if ((c >= 0xF0 ? 4u : c >= 0xE0 ? 3u : c >= 0xC0 ? 2u : 1u) > back) keep = back;
      break;
    }
    if (!IsValidUtf8(std::string_view(text).substr(0, text.size() - keep))) return false;
    text.erase(0, text.size() - keep);
    chunk.resize(kChunk);
  }
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

std::string PlaylistEntry(ByteSource& playlist, std::string_view playlistPath, uint32_t n, AnsiToUtf8 fromAnsi) {
  if (n == 0) return {};
  bool pls = false;
  IsPlaylist(playlistPath, &pls);
  const bool utf8 =
      EqualNoCase(ExtensionOf(playlistPath), ".m3u8") || StartsWithBom(playlist) || IsUtf8Source(playlist);
  if (!fromAnsi) fromAnsi = Latin1ToUtf8;
  // Valid UTF-8 passes through Utf16 unchanged; in an .m3u8 anything else becomes U+FFFD.
  const auto text = [&](std::string_view bytes) { return utf8 ? Utf8(Utf16(bytes)) : fromAnsi(bytes); };
  LineReader reader(playlist, kPlaylistLineMax, true);
  std::string line;
  char key[32];
  std::snprintf(key, sizeof key, "File%lu=", static_cast<unsigned long>(n));
  const std::string_view keyText(key);
  uint32_t seen = 0;
  while (reader.Next(line)) {
    if (pls) {
      if (line.compare(0, keyText.size(), keyText) != 0) continue;
      std::string path = ResolveEntry(text(std::string_view(line).substr(keyText.size())), playlistPath);
      return path.size() < kMaxPath ? path : std::string();
    }
    if (line.empty() || line[0] == '#') continue;
    std::string path = ResolveEntry(text(line), playlistPath);
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
