#include "app/CommandLineTokens.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

using V = std::vector<std::string>;

TEST(CommandLine, TokensQuotedAndPlain) {
  EXPECT_EQ(CommandLineTokens("\"C:\\Program Files\\rill.exe\" \"D:\\My Music\\a b.mp3\" D:\\x.wav"),
            (V{"C:\\Program Files\\rill.exe", "D:\\My Music\\a b.mp3", "D:\\x.wav"}));
  EXPECT_EQ(CommandLineTokens("rill.exe   spaced    out  "), (V{"rill.exe", "spaced", "out"}));
  EXPECT_EQ(CommandLineTokens("rill.exe \"unterminated quote"), (V{"rill.exe", "unterminated quote"}));
  // A closing quote ends its token; what follows it starts the next one.
  EXPECT_EQ(CommandLineTokens("rill.exe \"a\"b c"), (V{"rill.exe", "a", "b", "c"}));
  EXPECT_EQ(CommandLineTokens("rill.exe \"\" x"), (V{"rill.exe", "", "x"}));
  EXPECT_EQ(CommandLineTokens(""), V{});
}

TEST(CommandLine, FilesSkipTheProgramAndOverlongOrEmptyTokens) {
  const std::string longToken(300, 'x');
  const CommandLineRequest r = ParseCommandLine("rill.exe \"C:\\a b.wav\" " + longToken + " \"\" C:\\c.wav " +
                                                std::string(259, 'y') + " " + std::string(260, 'z'));
  EXPECT_EQ(r.kind, CommandLineRequest::Files);
  EXPECT_EQ(r.files, (V{"C:\\a b.wav", "C:\\c.wav", std::string(259, 'y')}));
  EXPECT_EQ(r.tooLong, (V{longToken, std::string(260, 'z')}));  // named to the user, not played
}

TEST(CommandLine, AudioCdMarkers) {
  CommandLineRequest r = ParseCommandLine("\"C:\\rill.exe\" <audiocd>E:\\");
  EXPECT_EQ(r.kind, CommandLineRequest::AudioCd);
  EXPECT_EQ(r.audioCdFolder, "E:\\");
  r = ParseCommandLine("rill.exe x.wav <autoplayaudiocd>");
  EXPECT_EQ(r.kind, CommandLineRequest::AutoplayAudioCd);
  EXPECT_TRUE(r.files.empty());
}

}  // namespace
}  // namespace ox
