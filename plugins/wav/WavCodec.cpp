// Codec plug-in "WAV": plays RIFF/WAVE PCM files (8, 16 and 24 bit, 1 to 8 channels, plain or
// WAVE_FORMAT_EXTENSIBLE) by handing the samples on as they stand.
#include <cstdio>
#include <new>

#include "CodecPlugin.h"
#include "WavFormat.h"
#include "base/AudioMath.h"
#include "base/DataFile.h"
#include "base/FileSource.h"
#include "base/NoThrow.h"
#include "base/Text.h"

namespace {

struct Decoder {
  ox::DataFile file;
  wav::Info info;
  WAVEFORMATEX format{};
  uint64_t position = 0;  // bytes of sample data handed out
  bool ended = false;
};

Decoder* FromHandle(OxDecoder handle) { return reinterpret_cast<Decoder*>(handle); }

// Every entry point reads the headers through here, which keeps the parser's allocations (tag
// texts) from throwing out of the plug-in.
bool ReadInfo(const char* path, ox::DataFile& file, wav::Info& info) {
  if (!path || !file.Open(path, ox::FileAccess::Read, ox::FileCreation::OpenExisting)) return false;
  return ox::NoThrow(false, [&] {
    ox::FileSource source(file);
    return wav::Parse(source, info) == wav::Error::None;
  });
}

}  // namespace

extern "C" {

void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description) {
  if (index != 0) return;
  ox::CopyBounded(extension, OX_CODEC_EXTENSION_SIZE, ".wav");
  ox::CopyBounded(description, OX_CODEC_DESCRIPTION_SIZE, "WAV Audio");
}

void OX_PLUGIN_API GetTrackInfo(const char* path, uint16_t* bitRateKbps, uint32_t* sampleRateHz, uint8_t* channels,
                                uint32_t* lengthMs, uint32_t* fileSizeBytes, char* artist, char* title, char* album,
                                uint32_t* yearAndTrack, uint8_t* /*preference*/, char* /*text*/) {
  ox::DataFile file;
  wav::Info info;
  if (!ReadInfo(path, file, info)) return;
  const uint64_t size = file.Size();
  *bitRateKbps = static_cast<uint16_t>(uint64_t{info.AvgBytesPerSec()} * 8 / 1000);
  *sampleRateHz = info.sampleRate;
  *channels = static_cast<uint8_t>(info.channels);
  *lengthMs = ox::MsOfBytes(info.dataBytes, info.AvgBytesPerSec());
  *fileSizeBytes = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
  ox::CopyBounded(artist, OX_CODEC_TAG_SIZE, info.tags.artist);
  ox::CopyBounded(title, OX_CODEC_TAG_SIZE, info.tags.title);
  ox::CopyBounded(album, OX_CODEC_TAG_SIZE, info.tags.album);
  *yearAndTrack = info.tags.year | uint32_t{info.tags.track} << 16;
}

void OX_PLUGIN_API GetStringInfo(const char* path, char* text) {
  ox::DataFile file;
  wav::Info info;
  if (!ReadInfo(path, file, info)) return;
  char line[OX_CODEC_TEXT_SIZE];
  std::snprintf(line, sizeof line, "WAV PCM, %u-bit, %lu Hz, %u channel%s", info.bitsPerSample,
                static_cast<unsigned long>(info.sampleRate), info.channels, info.channels == 1 ? "" : "s");
  ox::CopyBounded(text, OX_CODEC_TEXT_SIZE, line);
}

OxDecoder OX_PLUGIN_API CreateANewDecoderObject(const char* path, int32_t* error, uint8_t* wantsOutput,
                                                WAVEFORMATEX** format, uintptr_t* outputHint) {
  *error = 1;
  auto* d = new (std::nothrow) Decoder;
  if (!d) return 0;
  if (!ReadInfo(path, d->file, d->info)) {
    delete d;
    return 0;
  }
  WAVEFORMATEX& f = d->format;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = d->info.channels;
  f.nSamplesPerSec = d->info.sampleRate;
  f.wBitsPerSample = d->info.bitsPerSample;
  f.nBlockAlign = d->info.blockAlign;
  f.nAvgBytesPerSec = d->info.AvgBytesPerSec();
  f.cbSize = 0;
  *error = 0;
  *wantsOutput = 1;
  *format = &d->format;
  *outputHint = 0;
  return reinterpret_cast<OxDecoder>(d);
}

void OX_PLUGIN_API DeleteADecoderObject(OxDecoder decoder) { delete FromHandle(decoder); }

uint32_t OX_PLUGIN_API OutputWantsABlockOfData(OxDecoder decoder, void* buffer, uint32_t bufferBytes,
                                               uint8_t* endOfStream, uint32_t* /*ignored*/, uint32_t* positionMs,
                                               uint32_t* lengthMs) {
  Decoder* d = FromHandle(decoder);
  if (!d) return 0;
  const wav::Info& info = d->info;
  *positionMs = ox::MsOfBytes(d->position, info.AvgBytesPerSec());
  *lengthMs = ox::MsOfBytes(info.dataBytes, info.AvgBytesPerSec());
  uint32_t got = 0;
  if (buffer && !d->ended) {
    const uint64_t left = info.dataBytes - d->position;
    uint32_t want = bufferBytes - bufferBytes % info.blockAlign;
    if (want > left) want = static_cast<uint32_t>(left);
    if (want > 0 && d->file.SeekTo(info.dataOffset + d->position)) got = d->file.Read(buffer, want);
    got -= got % info.blockAlign;
    d->position += got;
    // A read that comes up short means the file shrank under us: the stream ends there.
    if (got < want || d->position >= info.dataBytes) d->ended = true;
  }
  if (!buffer && d->position >= info.dataBytes) d->ended = true;
  *endOfStream = d->ended ? 1 : 0;
  return got;
}

void OX_PLUGIN_API SkipTo(OxDecoder decoder, int32_t percent) {
  Decoder* d = FromHandle(decoder);
  if (!d) return;
  percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
  const uint64_t frames = d->info.dataBytes / d->info.blockAlign;
  d->position = frames * static_cast<uint64_t>(percent) / 100 * d->info.blockAlign;
  d->ended = d->position >= d->info.dataBytes;
}

}  // extern "C"
