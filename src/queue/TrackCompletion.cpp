#include "queue/TrackCompletion.h"

#include <windows.h>

#include <cstring>

#include "base/Path.h"
#include "engine/CodecHost.h"

namespace ox {

void CompleteTrackRecord(TrackRecord& r, std::string* text) {
  char codecText[OX_CODEC_TEXT_SIZE + 1024] = {};  // room beyond the documented 260, for safety
  if (text) text->clear();
  if (r.IsComplete()) return;
  const std::string path(r.Path());
  r = TrackRecord{};
  CopyBounded(r.path, path);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  r.dateAddedLow = now.dwLowDateTime;
  r.dateAddedHigh = now.dwHighDateTime;

  const CodecPlugin* codec = Codecs().Find(ExtensionOf(path));
  if (codec && codec->GetTrackInfo) {
    uint32_t fileSize = 0, yearAndTrack = 0;
    codec->GetTrackInfo(r.path, &r.bitRateKbps, &r.sampleRate, &r.channels, &r.lengthMs, &fileSize, r.artist,
                        r.title, r.album, &yearAndTrack, &r.preference, codecText);
    r.fileSize = fileSize;
    r.year = static_cast<int16_t>(yearAndTrack & 0xFFFF);
    r.trackNumber = static_cast<uint8_t>(yearAndTrack >> 16);
    // A plug-in may leave a tag field unterminated: cut every text at its field's end.
    r.artist[sizeof r.artist - 1] = r.title[sizeof r.title - 1] = r.album[sizeof r.album - 1] = '\0';
    codecText[sizeof codecText - 1] = '\0';
    if (text) *text = codecText;
  }
  if (!r.IsComplete()) {
    const std::string name = FileTitleOf(path);
    const size_t dash = name.find('-');
    std::string artist = dash == std::string::npos ? std::string() : name.substr(0, dash);
    std::string title = dash == std::string::npos ? name : name.substr(dash + 1);
    artist = artist.substr(0, 99);
    title = title.substr(0, 99);
    TrimSpaces(artist);
    TrimSpaces(title);
    CopyBounded(r.artist, artist);
    CopyBounded(r.title, title);
  }
}

}  // namespace ox
