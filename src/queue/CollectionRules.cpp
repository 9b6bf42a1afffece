#include "queue/CollectionRules.h"

#include "base/ByteSource.h"
#include "base/Text.h"

namespace ox {

namespace {

constexpr size_t kAddRecord = 260;

std::string AsciiUpper(std::string_view text) {
  std::string key(text);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

bool Chosen(const std::vector<std::string>& chosen, std::string_view value) {
  for (const std::string& c : chosen)
    if (EqualNoCase(c, value)) return true;
  return false;
}

}  // namespace

CollectionShape ShapeOf(uint64_t size) {
  return {size / sizeof(TrackRecord), static_cast<uint32_t>(size % sizeof(TrackRecord))};
}

FileChange CompareFile(const SideEntry& known, bool exists, uint64_t size, uint64_t modified) {
  if (!exists) return FileChange::Missing;
  return known.fileSize == size && known.modified == modified ? FileChange::Same : FileChange::Changed;
}

void KeepUserFields(const TrackRecord& old, TrackRecord& fresh) {
  fresh.preference = old.preference;
  fresh.timesPlayed = old.timesPlayed;
  fresh.volumeBoost = old.volumeBoost;
  fresh.dateAddedLow = old.dateAddedLow;
  fresh.dateAddedHigh = old.dateAddedHigh;
}

size_t TakeAddRecords(const uint8_t* bytes, size_t size, std::vector<std::string>& out,
                      std::unordered_set<std::string>& seen, size_t limit) {
  size_t leftOut = size % kAddRecord != 0 ? 1 : 0;
  for (size_t at = 0; at + kAddRecord <= size; at += kAddRecord) {
    const std::string_view path = FieldText(reinterpret_cast<const char*>(bytes + at), kAddRecord);
    // A record without its terminating zero would name a path one byte too long for a track record.
    if (path.empty() || path.size() == kAddRecord) continue;
    // Past the limit nothing more is remembered: a runaway file must not fill the memory.
    if (out.size() >= limit) {
      ++leftOut;
      continue;
    }
    if (seen.insert(AsciiUpper(path)).second) out.emplace_back(path);
  }
  return leftOut;
}

std::vector<uint32_t> SelectRecords(const std::vector<TrackRecord>& records, const std::vector<std::string>& genres,
                                    const Selection& s) {
  std::vector<uint32_t> numbers;
  const bool everyone = s.artists.empty() && s.genres.empty();
  for (uint32_t i = 0; i < records.size(); ++i) {
    const TrackRecord& r = records[i];
    if (r.preference < s.minPreference || r.preference > s.maxPreference) continue;
    const std::string_view genre = i < genres.size() ? std::string_view(genres[i]) : std::string_view();
    if (everyone || Chosen(s.artists, r.Artist()) || Chosen(s.genres, genre)) numbers.push_back(i);
  }
  return numbers;
}

std::vector<uint8_t> EncodeSelectiveList(const std::vector<uint32_t>& numbers) {
  std::vector<uint8_t> bytes(numbers.size() * 4);
  for (size_t i = 0; i < numbers.size(); ++i) PutLe32(&bytes[i * 4], numbers[i]);
  return bytes;
}

std::vector<uint32_t> DecodeSelectiveList(const uint8_t* bytes, size_t size, uint64_t recordCount, size_t* pastEnd) {
  std::vector<uint32_t> numbers;
  size_t outside = 0;
  if (size > 3) {
    for (size_t at = 0; at + 4 <= size; at += 4) {
      const uint32_t number = Le32(bytes + at);
      if (number < recordCount)
        numbers.push_back(number);
      else
        ++outside;
    }
  }
  if (pastEnd) *pastEnd = outside;
  return numbers;
}

}  // namespace ox
