#include "queue/TrackInfoText.h"

#include <cstdio>

#include "base/Path.h"

namespace ox {

namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format, args...);
  std::string text(n > 0 ? n : 0, '\0');
  if (n > 0) std::snprintf(text.data(), text.size() + 1, format, args...);
  return text;
}

std::string RatioText(int64_t originalKb, int64_t sizeKb) {
  if (originalKb == sizeKb) return "1";
  const int64_t tenths = originalKb * 10 / sizeKb;
  if (tenths > 30) return std::to_string(tenths / 10);
  std::string digits = std::to_string(tenths);
  digits.insert(digits.size() - 1, ".");
  return digits;
}

}  // namespace

std::string DefaultTypeText(const std::string& extension) {
  if (extension.size() < 2) return "File";
  std::string upper = extension.substr(1);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper + " File";
}

std::string TrackInfoText(const TrackRecord& r, const TrackInfoParts& parts) {
  const std::string path(r.Path());
  if (path.empty()) return "Not Playing";
  const std::string name = FileNameOf(path), folder = FolderOf(path), extension = ExtensionOf(path);
  const int sizeKb = r.fileSize == 0 ? 0 : static_cast<int>(r.fileSize / 1024 + 1);
  const uint32_t minutes = r.lengthMs / 60000, seconds = (r.lengthMs - minutes * 60000) / 1000;
  std::string text = Format("File :\t\t%s\r\nLocation :\t\t%s\r\nType :\t\t%s\r\nExtension : \t%s\r\nLength (m:ss) :\t%d:%02d\r\nSize :\t\t%dKB",
                            name.c_str(), folder.c_str(), parts.typeText.c_str(), extension.c_str(),
                            static_cast<int>(minutes), static_cast<int>(seconds), sizeKb);

  // Bytes of the track as 16-bit PCM. A record from another program may hold any rate and length:
  // split the length into seconds and milliseconds so that no product passes 2^63
  // (|per second| <= 128 * 2^32 * 2 = 2^40, seconds < 2^23).
  const int64_t perSecond = static_cast<int8_t>(r.channels) * int64_t{r.sampleRate} * 2;
  const int64_t pcmBytes = perSecond * (r.lengthMs / 1000) + perSecond * (r.lengthMs % 1000) / 1000;
  int64_t originalKb = pcmBytes / 1024;
  if (originalKb != 0 && sizeKb != 0) {
    const int64_t difference = originalKb > sizeKb ? originalKb - sizeKb : sizeKb - originalKb;
    if (difference < 1024) originalKb = sizeKb;  // uncompressed: ratio 1
    const int64_t percent = int64_t{sizeKb} * 100 / originalKb;
    text += Format("\r\nOriginal Size :\t%lldKB\r\n", static_cast<long long>(originalKb));
    text += Format("Compression Ratio :\t%s to 1   (%lld %%)\r\n", RatioText(originalKb, sizeKb).c_str(),
                   static_cast<long long>(percent));
  }

  std::string preference = std::to_string((r.preference + 1) / 2);
  if ((r.preference + 1) % 2 == 1) preference += ".5";
  const std::string boost = r.volumeBoost == kVolumeBoostAuto ? std::string("Auto [Yet to set]")
                                                              : Format("%d dB", (r.volumeBoost - 500) / 50);
  text += Format("\r\nPreferrence :\t%s\r\nYear :\t\t%d\r\nTimes Played :\t%d\r\nDate Added :\t%s\r\nVolume Boost :\t%s",
                 preference.c_str(), static_cast<int>(r.year), static_cast<int>(r.timesPlayed),
                 parts.dateText.c_str(), boost.c_str());
  if (parts.hasCodecText) text += "\r\n\r\n" + parts.codecText;
  return text;
}

}  // namespace ox
