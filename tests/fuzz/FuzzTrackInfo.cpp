// The track information text of any track record another program may have written.
#include <cstring>

#include "queue/TrackInfoText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(ox::TrackRecord)) return 0;
  ox::TrackRecord record;
  std::memcpy(&record, data, sizeof record);
  ox::TrackInfoParts parts;
  parts.hasCodecText = size > sizeof record;
  parts.codecText.assign(reinterpret_cast<const char*>(data) + sizeof record, size - sizeof record);
  ox::TrackInfoText(record, parts);
  return 0;
}
