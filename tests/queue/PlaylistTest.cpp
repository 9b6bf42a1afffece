#include "queue/Playlist.h"

#include <gtest/gtest.h>

#include "base/Utf8.h"

namespace ox {
namespace {

std::string Entry(const std::string& text, const std::string& playlist, uint32_t n, AnsiToUtf8 fromAnsi = nullptr) {
  MemorySource source(std::vector<uint8_t>(text.begin(), text.end()));
  return PlaylistEntry(source, playlist, n, fromAnsi);
}

TEST(Playlist, M3uSkipsCommentsAndBlankLinesWhateverTheLineEnds) {
  const std::string crlf = "#EXTM3U\r\n#EXTINF:123,Artist - One\r\none.mp3\r\n\r\n#EXTINF:5,Two\r\nsub\\two.wav\r\n"
                           "\r\n\r\nC:\\abs\\three.mp3";
  std::string lf = crlf;
  for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  for (const std::string& text : {crlf, lf}) {
    EXPECT_EQ(Entry(text, "D:\\Lists\\mix.m3u", 1), "D:\\Lists\\one.mp3");
    EXPECT_EQ(Entry(text, "D:\\Lists\\mix.m3u", 2), "D:\\Lists\\sub\\two.wav");
    EXPECT_EQ(Entry(text, "D:\\Lists\\mix.m3u", 3), "C:\\abs\\three.mp3");
    EXPECT_EQ(Entry(text, "D:\\Lists\\mix.m3u", 4), "");
    EXPECT_EQ(Entry(text, "D:\\Lists\\mix.m3u", 0), "");
  }
  // A lone CR ends a line without eating the next one's first character.
  EXPECT_EQ(Entry("a.mp3\rb.mp3\r", "C:\\l.M3U", 2), "C:\\b.mp3");
}

TEST(Playlist, PlsFindsEntriesByKeyNotPosition) {
  const std::string pls = "[playlist]\r\nFile2=second.mp3\r\nTitle1=x\r\nFile1=first.mp3\r\nfile3=lower.mp3\r\n"
                          "NumberOfEntries=3\r\nFile10=tenth.mp3\r\n";
  EXPECT_EQ(Entry(pls, "D:\\L\\a.PLS", 1), "D:\\L\\first.mp3");
  EXPECT_EQ(Entry(pls, "D:\\L\\a.pls", 2), "D:\\L\\second.mp3");
  EXPECT_EQ(Entry(pls, "D:\\L\\a.pls", 3), "");  // the key's case counts
  EXPECT_EQ(Entry(pls, "D:\\L\\a.pls", 10), "D:\\L\\tenth.mp3");
  EXPECT_EQ(Entry(pls, "D:\\L\\a.pls", 0), "");
  for (const auto& [name, want] : {std::pair<const char*, bool>{"x.PlS", true}, {"x.M3u", false}, {"x.m3U8", false}}) {
    bool isPls = !want;
    EXPECT_TRUE(IsPlaylist(name, &isPls));
    EXPECT_EQ(isPls, want) << name;
  }
  EXPECT_FALSE(IsPlaylist("C:\\m3u.d\\x"));
}

TEST(Playlist, EntriesComeOutAsUtf8WhateverTheFileEncoding) {
  // Stands for the system's code page, and shows where it was used.
  const AnsiToUtf8 ansi = [](std::string_view bytes) -> std::string { return "ansi " + Latin1ToUtf8(bytes); };
  const std::string bom = "\xEF\xBB\xBF", song = "\u041f\u0435\u0441\u043d\u044f \u591c\u66f2.mp3";
  const std::string straddling = "#" + std::string(65533, 'x') + "\n\u00e9.mp3";  // the 64 KB read ends inside \u00e9
  const struct {
    const char* playlist;
    std::string text, entry2;  // entry 2: entry 1 is always "one.mp3"
  } cases[] = {
      {"l.m3u8", bom + "one.mp3\r\n" + song, song},
      {"l.M3U8", "one.mp3\n" + song, song},
      {"l.m3u8", "one.mp3\nbad\xE9.mp3", "bad\uFFFD.mp3"},                  // not UTF-8: U+FFFD
      {"l.m3u", "one.mp3\n" + song, song},                                   // valid UTF-8
      {"l.m3u", bom + "one.mp3\ncaf\xE9.mp3", "caf\uFFFD.mp3"},              // the mark says UTF-8
      {"l.m3u", "one.mp3\ncaf\xE9.mp3", "ansi caf\u00e9.mp3"},               // Latin-1 bytes
      {"l.m3u", "one.mp3\n\u00e9.mp3\n\xE9.mp3", "ansi \u00c3\u00a9.mp3"},   // one bad byte: the whole file is ANSI
      {"l.pls", "[playlist]\nFile2=" + song + "\nFile1=one.mp3", song},
      {"l.pls", bom + "File1=one.mp3\nFile2=\xC0.mp3", "\uFFFD.mp3"},
      {"l.pls", "File1=one.mp3\nFile2=\xC0.mp3", "ansi \u00c0.mp3"},
      {"l.m3u", "#\xC0\xBF\none.mp3\nx\xC0.mp3", "ansi x\u00c0.mp3"},  // ends like a mark, is none
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    const std::string playlist = std::string("D:\\L\\") + c.playlist;
    EXPECT_EQ(Entry(c.text, playlist, 1, ansi), c.entry2.rfind("ansi", 0) == 0 ? "D:\\L\\ansi one.mp3" : "D:\\L\\one.mp3");
    EXPECT_EQ(Entry(c.text, playlist, 2, ansi), "D:\\L\\" + c.entry2);
  }
  EXPECT_EQ(Entry(straddling, "D:\\l.m3u", 1, ansi), "D:\\\u00e9.mp3");
  // Without a converter, bytes that are not UTF-8 are Latin-1.
  EXPECT_EQ(Entry("caf\xE9.mp3", "D:\\l.m3u", 1), "D:\\caf\u00e9.mp3");
}

TEST(Playlist, ResolveEntryByItsShape) {
  EXPECT_EQ(ResolveEntry("song.mp3", "D:\\Music\\list.m3u"), "D:\\Music\\song.mp3");
  EXPECT_EQ(ResolveEntry("\\Other\\song.mp3", "D:\\Music\\list.m3u"), "D:\\Other\\song.mp3");
  EXPECT_EQ(ResolveEntry("E:\\song.mp3", "D:\\Music\\list.m3u"), "E:\\song.mp3");
  EXPECT_EQ(ResolveEntry("\\\\server\\share\\song.mp3", "D:\\Music\\list.m3u"), "\\\\server\\share\\song.mp3");
  EXPECT_EQ(ResolveEntry("x:relative", "D:\\Music\\list.m3u"), "x:relative");
  EXPECT_EQ(ResolveEntry("..\\up.mp3", "list.m3u"), "list.m3u..\\up.mp3");  // no folder: the path as it stands
}

TEST(Playlist, OverlongLinesAndPathsNeverMakeOverlongEntries) {
  // A 64 KB line reads as 1000-character pieces; each is an entry too long to be a path once
  // resolved, so it is passed over.
  const std::string text = std::string(65536, 'x') + "\nshort.mp3\n" + std::string(32767, 'p') + ".mp3\nlast.mp3\n";
  EXPECT_EQ(Entry(text, "C:\\l.m3u", 1), "C:\\short.mp3");
  EXPECT_EQ(Entry(text, "C:\\l.m3u", 2), "C:\\last.mp3");
  EXPECT_EQ(Entry(text, "C:\\l.m3u", 3), "");
  // Exactly 259 characters still fit the path field; 260 do not.
  const std::string fits = "C:\\" + std::string(256, 'f');
  EXPECT_EQ(Entry(fits + "\n", "C:\\l.m3u", 1), fits);
  EXPECT_EQ(Entry(fits + "g\n", "C:\\l.m3u", 1), "");
  EXPECT_EQ(Entry("File1=" + fits + "g\n", "C:\\l.pls", 1), "");
}

TEST(Playlist, M3uTextIsExtendedWithCrLf) {
  EXPECT_EQ(M3uText({{215, "Track 01", "D:\\Track01.cda"}, {4, "Track 02", "D:\\Track02.cda"}}),
            "#EXTM3U\r\n#EXTINF:215,Track 01\r\nD:\\Track01.cda\r\n#EXTINF:4,Track 02\r\nD:\\Track02.cda\r\n");
  EXPECT_EQ(M3uText({}), "#EXTM3U\r\n");
}

}  // namespace
}  // namespace ox
