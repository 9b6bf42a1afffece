// The export tables of the DLLs the build ships, both flavours: every entry point under its plain
// name, no other symbol, and the machine type of the flavour. The folders come in OX_DIST_DIRS
// (installation folders separated by ":"), which the test script sets once both flavours are built.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "PeExports.h"

namespace {

const std::set<std::string> kCodecEntries = {
    "WhatFormats", "GetTrackInfo", "CreateANewDecoderObject", "DeleteADecoderObject", "OutputWantsABlockOfData",
    "ShowAboutOptionsPage", "SkipTo", "SetVolume", "Pause", "UnPause", "GetStringInfo", "SetIDTagElement",
    "GetIDTagElement", "GetLoudnessInfo"};
const std::set<std::string> kOutputEntries = {
    "CreateANewSoundOutObject", "DeleteASoundOutObject", "ServiceCall", "ANewDataBlockArrived",
    "ShowAboutOptionsPage", "HowManyBytesHaveBeenWritten", "SkipTo", "SetVolume", "Pause", "UnPause"};
const std::set<std::string> kCodecRequired = {"WhatFormats", "CreateANewDecoderObject", "DeleteADecoderObject",
                                              "OutputWantsABlockOfData"};
const std::set<std::string> kOutputRequired = {"CreateANewSoundOutObject", "DeleteASoundOutObject", "ServiceCall",
                                               "ANewDataBlockArrived", "HowManyBytesHaveBeenWritten"};

std::vector<std::string> DllsIn(const std::string& folder) {
  std::vector<std::string> dlls;
  std::error_code missing;  // no folder: no DLLs
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing))
    if (entry.path().extension() == ".dll") dlls.push_back(entry.path().string());
  return dlls;
}

TEST(Exports, ShippedDllsExportPlainEntryPointsOnly) {
  const char* dirs = std::getenv("OX_DIST_DIRS");
  if (!dirs) GTEST_SKIP() << "OX_DIST_DIRS not set";
  std::istringstream list(dirs);
  int checked = 0;
  for (std::string dist; std::getline(list, dist, ':');) {
    const uint16_t machine = dist.find("i686") != std::string::npos ? 0x14C : 0x8664;
    for (const bool codec : {true, false}) {
      const auto dlls = DllsIn(dist + (codec ? "/Multiplayer/Input" : "/SoundOutputs"));
      EXPECT_FALSE(dlls.empty()) << dist;
      for (const std::string& path : dlls) {
        SCOPED_TRACE(path);
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        oxtest::PeExports exports;
        ASSERT_TRUE(oxtest::ReadPeExports(bytes, exports));
        EXPECT_EQ(exports.machine, machine);
        const std::set<std::string> names(exports.names.begin(), exports.names.end());
        const auto& allowed = codec ? kCodecEntries : kOutputEntries;
        const auto& required = codec ? kCodecRequired : kOutputRequired;
        for (const std::string& n : names) EXPECT_TRUE(allowed.count(n)) << "unexpected export " << n;
        for (const std::string& n : required) EXPECT_TRUE(names.count(n)) << "missing export " << n;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
