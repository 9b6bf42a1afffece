#include "Id3Tag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace id3 {
namespace {

// An ID3v2 tag of the given version from frames already laid out.
std::vector<uint8_t> V2(int version, const std::string& frames, uint8_t flags = 0) {
  std::vector<uint8_t> t = {'I', 'D', '3', static_cast<uint8_t>(version), 0, flags};
  const uint32_t n = static_cast<uint32_t>(frames.size());
  for (int shift : {21, 14, 7, 0}) t.push_back(static_cast<uint8_t>((n >> shift) & 0x7F));
  t.insert(t.end(), frames.begin(), frames.end());
  return t;
}

std::string Frame(int version, const char* id, const std::string& body, uint8_t formatFlags = 0) {
  const uint32_t n = static_cast<uint32_t>(body.size());
  std::string f(id, version == 2 ? 3 : 4);
  if (version == 2) {
    f += {static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
  } else if (version == 3) {
    f += {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n), 0,
          static_cast<char>(formatFlags)};
  } else {
    f += {static_cast<char>((n >> 21) & 0x7F), static_cast<char>((n >> 14) & 0x7F), static_cast<char>((n >> 7) & 0x7F),
          static_cast<char>(n & 0x7F), 0, static_cast<char>(formatFlags)};
  }
  return f + body;
}

Tag Parse(const std::vector<uint8_t>& bytes) {
  ox::MemorySource source(bytes);
  return Read(source);
}

TEST(Id3Tag, EveryTextEncodingComesOutAsUtf8) {
  struct Case {
    const char* what;
    std::string frame;  // encoding byte, then the text
    std::string utf8;
  };
  const Case cases[] = {
      {"0 Latin-1", std::string("\0Caf\xE9", 5), "Caf\u00e9"},
      {"1 with FF FE", std::string("\x01\xFF\xFE" "\x1F\x04\x35\x04\0\0junk", 13), "\u041f\u0435"},
      {"1 with FE FF", std::string("\x01\xFE\xFF" "\x59\x1C\x66\xF2", 7), "\u591c\u66f2"},
      {"1 without BOM", std::string("\x01" "Z\0o\0\xEB\0", 7), "Zo\u00eb"},
      {"2 big-endian", std::string("\x02\0A\x04\x3F", 5), "A\u043f"},
      {"3 UTF-8", std::string("\x03" "\xC3\x9C" "ber \xF0\x9F\x8E\xB5", 11), "\u00dcber \U0001F3B5"},
      {"3 invalid bytes", std::string("\x03" "a\xFF" "b\xE4\xB8", 6), "a\uFFFDb\uFFFD\uFFFD"},
      {"surrogate pair", std::string("\x01\xFF\xFE" "\x3C\xD8\xB5\xDF", 7), "\U0001F3B5"},
      {"unpaired surrogates", std::string("\x01\xFF\xFE" "\x3C\xD8" "x\0" "\xB5\xDF", 9), "\uFFFDx\uFFFD"},
      {"odd byte count", std::string("\x01\xFF\xFE" "A\0B", 6), "A"},
      {"empty", std::string("\x01\xFF\xFE", 3), ""},
      {"empty Latin-1", std::string("\0", 1), ""},
  };
  for (const Case& c : cases) {
    for (int version : {2, 3, 4}) {
      SCOPED_TRACE(std::string(c.what) + " v2." + std::to_string(version));
      EXPECT_EQ(Parse(V2(version, Frame(version, version == 2 ? "TT2" : "TIT2", c.frame))).title, c.utf8);
    }
  }

  const Tag v23 = Parse(V2(3, Frame(3, "TRCK", std::string("\0" "7/12", 5)) + Frame(3, "TYER", std::string("\x01\xFF\xFE" "1\0" "9\0", 7))));
  EXPECT_EQ(v23.track, 7);
  EXPECT_EQ(v23.year, 19);
  EXPECT_EQ(Parse(V2(4, Frame(4, "TDRC", std::string("\x03" "2004-05-06", 11)))).year, 2004);
  const Tag v24 = Parse(V2(4, Frame(4, "TCON", std::string("\0" "(8)", 4)) + Frame(4, "TPE2", std::string("\0" "Band", 5))));
  EXPECT_EQ(std::make_tuple(v24.genre, v24.albumArtist), std::make_tuple("Jazz", "Band"));
  for (const auto& [written, name] : {std::pair<std::string, std::string>{"17", "Rock"}, {"(17)Indie Rock", "Indie Rock"},
                                      {"(200)", "(200)"}, {"Fado", "Fado"}, {"((Odd", "((Odd"}, {"79", "Hard Rock"}, {"80", "80"}})
    EXPECT_EQ(GenreName(written), name) << written;
  // Frame sizes of 128 and more: all 32 bits in 2.3, 7 bits a byte in 2.4.
  for (int version : {3, 4}) {
    const std::string title = std::string(1, '\0') + std::string(150, 't');
    EXPECT_EQ(Parse(V2(version, Frame(version, "TIT2", title) + Frame(version, "TPE1", cases[0].frame))).artist, "Caf\u00e9");
  }
}

TEST(Id3Tag, UnsynchronisationExtendedHeaderAndFrameFlags) {
  // Tag-level unsynchronisation (2.3): every FF 00 in the body stands for FF.
  std::string body = Frame(3, "TIT2", std::string("\0\xFFz", 3));
  body.insert(body.find('z'), 1, '\0');  // unsynchronised on disk; the frame size counts it without
  const Tag unsync = Parse(V2(3, body, 0x80));
  EXPECT_EQ(unsync.title, "\u00ffz");

  // 2.3 extended header (size 6 after its own size field), then a frame.
  const std::string ext = std::string("\0\0\0\x06\0\0\0\0\0\0", 10);
  EXPECT_EQ(Parse(V2(3, ext + Frame(3, "TIT2", std::string("\0" "After", 6)), 0x40)).title, "After");

  // 2.4 frame with a data-length indicator in front of its text; a compressed frame is passed over.
  const std::string withLength = std::string("\0\0\0\x04", 4) + std::string("\0" "Len", 4);
  const Tag flags = Parse(V2(4, Frame(4, "TIT2", withLength, 0x01) + Frame(4, "TPE1", std::string("\0" "zip", 4), 0x08)));
  EXPECT_EQ(flags.title, "Len");
  EXPECT_EQ(flags.artist, "");
}

TEST(Id3Tag, LyingSizesStopTheReadingSafely) {
  std::vector<uint8_t> tag = V2(3, Frame(3, "TIT2", std::string("\0" "Whole", 6)) + Frame(3, "TPE1", std::string("\0" "Cut", 4)));
  tag[tag.size() - 5] = 0x7F;  // TPE1 claims a huge size
  const Tag t = Parse(tag);
  EXPECT_EQ(t.title, "Whole");
  EXPECT_EQ(t.artist, "");
  std::vector<uint8_t> longTag = V2(3, Frame(3, "TIT2", std::string("\0" "Short", 6)));
  longTag[6] = longTag[7] = 0x7F;  // the tag claims 256 MB
  EXPECT_EQ(Parse(longTag).title, "Short");
}

TEST(Id3Tag, Version1FillsWhatVersion2Lacks) {
  std::vector<uint8_t> bytes = V2(3, Frame(3, "TIT2", std::string("\0" "From V2", 8)));
  std::vector<uint8_t> v1(128, 0);
  const std::string fields = "TAG" + std::string("V1 Title") + std::string(22, ' ') + "V1 \xC4rtist";
  std::copy(fields.begin(), fields.end(), v1.begin());
  std::copy_n("1987", 4, v1.begin() + 93);
  v1[126] = 9;  // ID3v1.1 track
  v1[127] = 17;
  bytes.insert(bytes.end(), v1.begin(), v1.end());
  const Tag t = Parse(bytes);
  EXPECT_EQ(std::make_tuple(t.title, t.artist, t.year, t.track, t.genre),
            std::make_tuple("From V2", "V1 \u00c4rtist", 1987, 9, "Rock"));  // ID3v1 is Latin-1
  EXPECT_TRUE(Parse({}).Empty());
}

TEST(Id3Tag, SizesFromTheFileNeverWrapOrReadOutside) {
  // An extended header claiming nearly 4 GiB: in 32-bit arithmetic 4 + size wraps to just below
  // 4 GiB, and the frame walk would start before the tag in memory.
  const std::string frames = std::string("\xFF\xFF\xFF\xF8", 4) + Frame(3, "TIT2", std::string("\0Title", 6));
  Tag tag;
  std::vector<uint8_t> bytes = V2(3, frames, 0x40);
  ox::MemorySource source(bytes);
  EXPECT_TRUE(ReadV2(source, tag));
  EXPECT_TRUE(tag.Empty());
  // A file that is nothing but an ID3v1 tag.
  std::vector<uint8_t> v1(128, 0);
  std::memcpy(v1.data(), "TAGOnly", 7);
  ox::MemorySource only(v1);
  EXPECT_TRUE(ReadV1(only, tag));
  EXPECT_EQ(tag.title, "Only");
  // A tag of size 0 followed by audio: a read of nothing, into no buffer.
  tag = Tag();
  bytes = V2(4, "");
  bytes.insert(bytes.end(), 64, 0xFF);
  ox::MemorySource empty(bytes);
  EXPECT_TRUE(ReadV2(empty, tag));
  EXPECT_TRUE(tag.Empty());
}

}  // namespace
}  // namespace id3
