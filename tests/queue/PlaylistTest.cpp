#include "queue/Playlist.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

std::string Entry(const std::string& text, const std::string& playlist, uint32_t n) {
  MemorySource source(std::vector<uint8_t>(text.begin(), text.end()));
  return PlaylistEntry(source, playlist, n);
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
  bool isPls = false;
  EXPECT_TRUE(IsPlaylist("x.PlS", &isPls));
  EXPECT_TRUE(isPls);
  EXPECT_TRUE(IsPlaylist("x.M3u", &isPls));
  EXPECT_FALSE(isPls);
  EXPECT_FALSE(IsPlaylist("C:\\m3u.d\\x"));
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
