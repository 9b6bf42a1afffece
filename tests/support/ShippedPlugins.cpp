#include "ShippedPlugins.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace oxtest {

const ox::CodecHost& ShippedCodecs() {
  static const ox::CodecHost host(ExecutableFolder() + "..\\dist\\Multiplayer\\Input\\");
  return host;
}

const ox::SoundOutputPlugin* ShippedOutput(const std::string& name) {
  static const ox::SoundOutputHost host(ExecutableFolder() + "..\\dist\\SoundOutputs\\");
  for (const ox::SoundOutputPlugin& p : host.Plugins())
    if (p.name == name) return &p;
  return nullptr;
}

Decoding::Decoding(const ox::CodecPlugin* c, const std::string& path) : codec(c) {
  int32_t error = -1;
  uint8_t wants = 0;
  uintptr_t hint = 0;
  if (codec) handle = codec->CreateANewDecoderObject(path.c_str(), &error, &wants, &format, &hint);
  if (error != 0 || wants != 1) handle = 0;
}

Decoding::~Decoding() {
  if (handle) codec->DeleteADecoderObject(handle);
}

std::vector<uint8_t> Decoding::Read(uint32_t blockBytes, size_t atMost) {
  std::vector<uint8_t> all, block(blockBytes);
  blocks.clear();
  for (int guard = 0; guard < 100000 && all.size() < atMost; ++guard) {
    uint8_t end = 0;
    uint32_t ignored = 0, position = 0;
    const uint32_t n =
        codec->OutputWantsABlockOfData(handle, block.data(), blockBytes, &end, &ignored, &position, &lengthMs);
    EXPECT_EQ(n % format->nBlockAlign, 0u);
    blocks.emplace_back(all.size(), position);
    all.insert(all.end(), block.begin(), block.begin() + n);
    if (end) break;
  }
  return all;
}

TrackInfo TrackInfoOf(const ox::CodecPlugin* codec, const std::string& path) {
  char artist[100] = {}, title[100] = {}, album[100] = {}, text[260] = {};
  TrackInfo t;
  uint8_t preference = 0;
  codec->GetTrackInfo(path.c_str(), &t.kbps, &t.hz, &t.channels, &t.lengthMs, &t.size, artist, title, album,
                      &t.yearAndTrack, &preference, text);
  t.artist = artist, t.title = title, t.album = album;
  return t;
}

}  // namespace oxtest
