#include "queue/SideIndex.h"

#include <cstring>
#include <unordered_map>

#include "base/ByteSource.h"

namespace ox {

namespace {

constexpr char kMagic[8] = {'O', 'X', 'L', 'I', 'B', 'I', 'D', 'X'};
constexpr uint32_t kVersion = 1;

uint32_t Fnv1a(const uint8_t* bytes, size_t size) {
  uint32_t sum = 2166136261u;
  for (size_t i = 0; i < size; ++i) sum = (sum ^ bytes[i]) * 16777619u;
  return sum;
}

std::string Key(std::string_view path) {
  std::string key(path);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

void PutText(std::vector<uint8_t>& out, std::string_view text) {
  const size_t n = text.size() < 0xFFFF ? text.size() : 0xFFFF;
  out.push_back(static_cast<uint8_t>(n));
  out.push_back(static_cast<uint8_t>(n >> 8));
  out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Put64(std::vector<uint8_t>& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}

// Reads forward through the bytes; once a read runs past the end every later one fails too.
class Reader {
 public:
  Reader(const uint8_t* bytes, size_t size) : p_(bytes), left_(size) {}
  bool Ok() const { return ok_; }
  const uint8_t* Take(size_t n) {
    if (!ok_ || n > left_) return ok_ = false, nullptr;
    const uint8_t* at = p_;
    p_ += n;
    left_ -= n;
    return at;
  }
  uint32_t U32() {
    const uint8_t* p = Take(4);
    return p ? Le32(p) : 0;
  }
  uint64_t U64() {
    const uint64_t low = U32();
    return low | uint64_t{U32()} << 32;
  }
  std::string Text() {
    const uint8_t* n = Take(2);
    const uint8_t* p = n ? Take(Le16(n)) : nullptr;
    return p ? std::string(reinterpret_cast<const char*>(p), Le16(n)) : std::string();
  }

 private:
  const uint8_t* p_;
  size_t left_;
  bool ok_ = true;
};

}  // namespace

std::string SideIndexFileFor(const std::string& collection) { return collection + ".oxli"; }

std::vector<uint8_t> EncodeSideIndex(const std::vector<TrackRecord>& records, const std::vector<SideEntry>& entries) {
  std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
  const size_t count = records.size() < entries.size() ? records.size() : entries.size();
  Put32(out, kVersion);
  Put32(out, static_cast<uint32_t>(count));
  for (size_t i = 0; i < count; ++i) {
    const SideEntry& e = entries[i];
    PutText(out, records[i].Path());
    PutText(out, e.genre);
    PutText(out, e.albumArtist);
    Put64(out, e.fileSize);
    Put64(out, e.modified);
    Put32(out, static_cast<uint32_t>(e.trackGainCentiDb));
    Put32(out, static_cast<uint32_t>(e.albumGainCentiDb));
  }
  Put32(out, Fnv1a(out.data(), out.size()));
  return out;
}

bool DecodeSideIndex(const uint8_t* bytes, size_t size, const std::vector<TrackRecord>& records,
                     std::vector<SideEntry>& entries, std::vector<bool>& known) {
  entries.assign(records.size(), SideEntry{});
  known.assign(records.size(), false);
  if (size < sizeof kMagic + 12 || std::memcmp(bytes, kMagic, sizeof kMagic) != 0 ||
      Le32(bytes + size - 4) != Fnv1a(bytes, size - 4))
    return false;
  Reader in(bytes + sizeof kMagic, size - sizeof kMagic - 4);
  if (in.U32() != kVersion) return false;
  const uint32_t count = in.U32();
  // Entries usually come in the records' own order: those are taken in place, and only the rest
  // are looked up by path.
  std::unordered_map<std::string, SideEntry> byPath;
  std::vector<bool> placed(records.size(), false);
  for (uint32_t i = 0; i < count && in.Ok(); ++i) {
    const std::string path = in.Text();
    SideEntry e;
    e.genre = in.Text();
    e.albumArtist = in.Text();
    e.fileSize = in.U64();
    e.modified = in.U64();
    e.trackGainCentiDb = static_cast<int32_t>(in.U32());
    e.albumGainCentiDb = static_cast<int32_t>(in.U32());
    if (!in.Ok()) break;
    if (i < records.size() && records[i].Path() == path) {
      entries[i] = std::move(e);
      placed[i] = true;
    } else {
      byPath[Key(path)] = std::move(e);
    }
  }
  if (!in.Ok()) {
    entries.assign(records.size(), SideEntry{});
    return false;
  }
  for (size_t i = 0; i < records.size(); ++i) {
    if (placed[i]) {
      known[i] = true;
      continue;
    }
    if (byPath.empty()) continue;
    auto found = byPath.find(Key(records[i].Path()));
    if (found == byPath.end()) continue;
    entries[i] = found->second;
    known[i] = true;
  }
  return true;
}

}  // namespace ox
