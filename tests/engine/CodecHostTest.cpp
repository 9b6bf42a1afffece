#include "engine/CodecHost.h"

#include <gtest/gtest.h>

#include "ShippedPlugins.h"
#include "TestSupport.h"

namespace ox {
namespace {

// The test codec DLLs are built beside this test into "codecs\".
std::string TestDll(const std::string& name) { return oxtest::ExecutableFolder() + "codecs\\" + name + ".dll"; }

// Puts the named test DLLs into a fresh folder and gives the order the folder walk lists them in.
std::vector<std::string> Install(const oxtest::ScratchFolder& dir, std::vector<std::pair<std::string, std::string>> dlls) {
  for (auto& [source, target] : dlls) source = TestDll(source);
  return oxtest::CopyDlls(dir, dlls);
}

std::string ArtistFrom(const CodecPlugin* plugin) { return oxtest::TrackInfoOf(plugin, "x").artist; }

TEST(CodecHost, SameExtensionInTwoDlls_TheFirstFoundWinsWhateverTheCase) {
  oxtest::ScratchFolder dir;
  const auto order = Install(dir, {{"codec_upper", "one.dll"}, {"codec_lower", "two.dll"}});
  ASSERT_EQ(order.size(), 2u);
  const CodecHost host(dir.Path());
  ASSERT_EQ(host.Plugins().size(), 2u);
  // codec_upper announces ".XYZ" and ".mp3"; codec_lower ".xyz" and ".abc".
  const std::string first = order[0] == "one.dll" ? "UPPER" : "LOWER";
  for (const char* ext : {".xyz", ".XYZ", ".Xyz"}) {
    const CodecPlugin* p = host.Find(ext);
    ASSERT_NE(p, nullptr) << ext;
    EXPECT_EQ(ArtistFrom(p), first);
  }
  EXPECT_EQ(ArtistFrom(host.Find(".MP3")), "UPPER");
  EXPECT_EQ(ArtistFrom(host.Find(".abc")), "LOWER");
  EXPECT_EQ(host.Find("."), nullptr);
  EXPECT_EQ(host.Find(".wav"), nullptr);
  EXPECT_FALSE(host.IsPlayable(".wav"));
  EXPECT_TRUE(host.IsPlayable(".ABC"));
}

TEST(CodecHost, PartialAndBrokenDlls) {
  oxtest::ScratchFolder dir;
  Install(dir, {{"codec_partial", "partial.dll"}});
  oxtest::WriteWholeFile(dir / "broken.dll", std::string("this is not a DLL"));
  oxtest::WriteWholeFile(dir / "notes.txt", std::string("ignored"));
  const CodecHost host(dir.Path());
  ASSERT_EQ(host.Plugins().size(), 1u);  // the broken one is skipped
  const CodecPlugin& p = host.Plugins()[0];
  EXPECT_TRUE(p.WhatFormats && !p.GetTrackInfo && !p.CreateANewDecoderObject && !p.SkipTo);
  EXPECT_EQ(host.Find(".part"), &p);  // kept and found, though it can do little
}

TEST(CodecHost, PatternList) {
  oxtest::ScratchFolder dir;
  Install(dir, {{"codec_lower", "a.dll"}});
  const CodecHost host(dir.Path());
  std::string list = "Music|";  // appended to, nothing put before the first
  host.AppendPatternList(list);
  EXPECT_EQ(list, "Music|*.xyz;*.abc");
  const CodecHost missing(dir / "none");
  list.clear();
  missing.AppendPatternList(list);
  EXPECT_EQ(list, "");
  EXPECT_FALSE(missing.IsPlayable(".wav"));
}

TEST(CodecHost, ExampleCodecPlaysItsSecondOfTone) {
  oxtest::ScratchFolder dir;
  ASSERT_TRUE(CopyFileA((oxtest::ExecutableFolder() + "..\\examples\\Example Tone.dll").c_str(),
                        (dir / "Example Tone.dll").c_str(), FALSE));
  const CodecHost host(dir.Path());
  const CodecPlugin* tone = host.Find(".OXTONE");
  ASSERT_NE(tone, nullptr);
  oxtest::Decoding d(tone, "any.oxtone");
  ASSERT_NE(d.handle, 0u);
  EXPECT_EQ(d.format->nSamplesPerSec, 44100u);
  EXPECT_EQ(d.Read(2000).size(), 2u * 44100);
  EXPECT_EQ(d.lengthMs, 1000u);
}

}  // namespace
}  // namespace ox
