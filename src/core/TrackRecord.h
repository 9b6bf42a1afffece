// The 648-byte track record every file and shared block of the suite uses for a track, and the
// 652-byte queue record (a track record and a count). Little-endian on disk; the structs are read
// and written as raw bytes, which matches on every x86 build. Texts are UTF-8, cut only between
// characters. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/Text.h"

namespace ox {

#pragma pack(push, 1)
struct TrackRecord {
  char artist[100];
  char title[100];
  char album[100];
  char path[260];           // empty: no track
  uint8_t preference;       // 1-9, 0 unset
  uint8_t unused561;
  uint16_t bitRateKbps;
  uint32_t sampleRate;
  int16_t volumeBoost;      // 4000: automatic, not yet measured; else (v - 500) / 50 dB
  uint8_t unused570[40];
  int16_t year;
  uint8_t channels;
  uint8_t unused613[3];
  uint32_t fileSize;
  uint32_t lengthMs;
  uint8_t unused624[4];
  uint32_t timesPlayed;
  uint32_t dateAddedLow;    // FILETIME, UTC
  uint32_t dateAddedHigh;
  uint8_t unused640[4];
  uint8_t trackNumber;
  uint8_t unused645[3];

  // The texts; each stops at the field's end when another program left no terminating zero.
  std::string_view Path() const { return FieldText(path); }
  std::string_view Artist() const { return FieldText(artist); }
  std::string_view Title() const { return FieldText(title); }
  std::string_view Album() const { return FieldText(album); }
  bool HasPath() const { return path[0] != '\0'; }
  bool IsComplete() const { return artist[0] != '\0' || title[0] != '\0'; }
};

struct QueueRecord {
  TrackRecord track;
  uint32_t entriesTaken;  // of a queued playlist: entries already handed out
};
#pragma pack(pop)

constexpr int16_t kVolumeBoostAuto = 4000;

static_assert(sizeof(TrackRecord) == 648, "track record is 648 bytes");
static_assert(sizeof(QueueRecord) == 652, "queue record is 652 bytes");
static_assert(offsetof(TrackRecord, title) == 100 && offsetof(TrackRecord, album) == 200);
static_assert(offsetof(TrackRecord, path) == 300 && offsetof(TrackRecord, preference) == 560);
static_assert(offsetof(TrackRecord, bitRateKbps) == 562 && offsetof(TrackRecord, sampleRate) == 564);
static_assert(offsetof(TrackRecord, volumeBoost) == 568 && offsetof(TrackRecord, year) == 610);
static_assert(offsetof(TrackRecord, channels) == 612 && offsetof(TrackRecord, fileSize) == 616);
static_assert(offsetof(TrackRecord, lengthMs) == 620 && offsetof(TrackRecord, timesPlayed) == 628);
static_assert(offsetof(TrackRecord, dateAddedLow) == 632 && offsetof(TrackRecord, trackNumber) == 644);
static_assert(offsetof(QueueRecord, entriesTaken) == 648);

}  // namespace ox
