// FLAC metadata blocks and Vorbis comment lists: the first byte picks which reads the rest.
#include "AudioTags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  tags::Tags t;
  if (data[0] & 1) {
    ox::MemorySource source(std::vector<uint8_t>(data + 1, data + size));
    tags::FlacInfo info;
    if (tags::ReadFlacInfo(source, info) && (info.sampleRate == 0 || info.channels > 8)) __builtin_trap();
    t = info.tags;
  } else {
    tags::ParseCommentList(data + 1, size - 1, t);
  }
  const tags::Loudness l = tags::OpusLoudness(t);
  // A peak taken is positive (the clip guard divides by it); a gain taken is finite and bounded.
  if ((l.hasTrackPeak && !(l.trackPeak > 0)) || (l.hasAlbumPeak && !(l.albumPeak > 0))) __builtin_trap();
  if ((l.hasTrackGain && !(l.trackGainDb > -1200 && l.trackGainDb < 1200))) __builtin_trap();
  return 0;
}
