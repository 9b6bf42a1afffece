// Codec plug-in "Ogg Vorbis": Ogg Vorbis files through vorbisfile, fed by our own file reader
// (UTF-8 names), as 16-bit PCM in the WAV channel order. The length is the last granule position,
// so the decoded sample count is the encoder's input and albums join without gaps; seeking lands
// on the exact sample (vorbisfile decodes forward from the page before it). A chained file whose
// links change channels or rate does not play.
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "CodecPlugin.h"

#include <vorbis/vorbisfile.h>

#include "AudioTags.h"
#include "PluginFile.h"
#include "TagFields.h"
#include "base/NoThrow.h"

namespace {

size_t ReadFile(void* buffer, size_t size, size_t count, void* source) {
  if (size == 0) return 0;
  const int64_t got = static_cast<tags::PluginFile*>(source)->Read(buffer, size * count);
  return got < 0 ? 0 : static_cast<size_t>(got) / size;
}
int SeekFile(void* source, ogg_int64_t offset, int whence) {
  return static_cast<tags::PluginFile*>(source)->Seek(offset, whence) ? 0 : -1;
}
long TellFile(void* source) { return static_cast<long>(static_cast<tags::PluginFile*>(source)->Tell()); }
const ov_callbacks kCallbacks = {ReadFile, SeekFile, nullptr, TellFile};

// An open stream: the file and vorbisfile's state over it.
struct Stream {
  tags::PluginFile file;
  OggVorbis_File vf{};
  bool open = false;
  int channels = 0;
  long rate = 0;
  uint64_t samples = 0;  // per channel

  ~Stream() {
    if (open) ov_clear(&vf);
  }
  // False when the file is no Ogg Vorbis one vorbisfile opens, or its links disagree in format.
  bool Open(const char* path) {
    if (!file.Open(path) || ov_open_callbacks(&file, &vf, nullptr, 0, kCallbacks) != 0) return false;
    open = true;
    const vorbis_info* first = ov_info(&vf, 0);
    if (!first || first->channels < 1 || first->channels > 8 || first->rate < 1) return false;
    channels = first->channels, rate = first->rate;
    for (long link = 1; link < ov_streams(&vf); ++link) {
      const vorbis_info* vi = ov_info(&vf, static_cast<int>(link));
      if (!vi || vi->channels != channels || vi->rate != rate) return false;
    }
    const ogg_int64_t total = ov_pcm_total(&vf, -1);
    samples = total > 0 ? static_cast<uint64_t>(total) : 0;
    return true;
  }
  tags::Tags Tags() {
    tags::Tags t;
    if (const vorbis_comment* vc = ov_comment(&vf, -1))
      for (int i = 0; i < vc->comments; ++i)
        if (vc->user_comments[i] && vc->comment_lengths[i] >= 0)
          tags::ApplyComment(std::string_view(vc->user_comments[i], static_cast<size_t>(vc->comment_lengths[i])), t);
    return t;
  }
};

struct Decoder {
  Stream stream;
  WAVEFORMATEX format{};
  std::vector<int16_t> scratch;  // one read in the Vorbis order, for files of 3 channels and more
  uint64_t position = 0;
  bool ended = false;
  uint32_t LengthMs() const {
    return static_cast<uint32_t>(stream.samples * 1000 / static_cast<uint64_t>(stream.rate));
  }
};

Decoder* FromHandle(OxDecoder handle) { return reinterpret_cast<Decoder*>(handle); }

// Reads up to `bytes` (whole frames) of 16-bit PCM; 0 at the end or on an error.
size_t ReadPcm(Decoder& d, uint8_t* out, size_t bytes) {
  const int channels = d.stream.channels;
  const bool reorder = channels > 2 && channels != 4;
  int link = 0;
  if (bytes > 0x10000000u) bytes = 0x10000000u;
  char* target = reinterpret_cast<char*>(out);
  if (reorder) {
    d.scratch.resize(bytes / 2);
    target = reinterpret_cast<char*>(d.scratch.data());
  }
  long got;
  do {
    got = ov_read(&d.stream.vf, target, static_cast<int>(bytes), 0, 2, 1, &link);
  } while (got == OV_HOLE);  // a gap in the data: the decoder picks up after it
  if (got <= 0) return 0;
  const vorbis_info* vi = ov_info(&d.stream.vf, link);
  if (!vi || vi->channels != channels || vi->rate != d.stream.rate) return 0;  // an unseekable chain changed
  if (reorder) {
    const uint8_t* order = tags::VorbisToWavOrder(channels);
    const size_t frames = static_cast<size_t>(got) / 2 / static_cast<size_t>(channels);
    auto* samples = reinterpret_cast<int16_t*>(out);
    for (size_t f = 0; f < frames; ++f)
      for (int c = 0; c < channels; ++c) samples[f * channels + c] = d.scratch[f * channels + order[c]];
  }
  return static_cast<size_t>(got);
}

}  // namespace

extern "C" {

void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description) {
  const char* ext = index == 0 ? ".ogg" : index == 1 ? ".oga" : nullptr;
  if (!ext) return;
  ox::CopyBounded(extension, OX_CODEC_EXTENSION_SIZE, ext);
  ox::CopyBounded(description, OX_CODEC_DESCRIPTION_SIZE, "Ogg Vorbis Audio");
}

void OX_PLUGIN_API GetTrackInfo(const char* path, uint16_t* bitRateKbps, uint32_t* sampleRateHz, uint8_t* channels,
                                uint32_t* lengthMs, uint32_t* fileSizeBytes, char* artist, char* title, char* album,
                                uint32_t* yearAndTrack, uint8_t* /*preference*/, char* /*text*/) {
  ox::NoThrow([&] {
    Stream s;
    if (!s.Open(path)) return;
    *fileSizeBytes = tags::ReportedSize(s.file.File().Size());
    *sampleRateHz = static_cast<uint32_t>(s.rate);
    *channels = static_cast<uint8_t>(s.channels);
    *lengthMs = static_cast<uint32_t>(s.samples * 1000 / static_cast<uint64_t>(s.rate));
    const long bitRate = ov_bitrate(&s.vf, -1);
    if (bitRate > 0) *bitRateKbps = static_cast<uint16_t>(bitRate / 1000);
    tags::PutTags(s.Tags(), artist, title, album, yearAndTrack);
  });
}

void OX_PLUGIN_API GetStringInfo(const char* path, char* text) {
  ox::NoThrow([&] {
    Stream s;
    if (!s.Open(path)) return;
    char line[OX_CODEC_TEXT_SIZE];
    snprintf(line, sizeof line, "Ogg Vorbis, %ld kbit/s average, %ld Hz, %d channel%s", ov_bitrate(&s.vf, -1) / 1000,
             s.rate, s.channels, s.channels == 1 ? "" : "s");
    ox::CopyBounded(text, OX_CODEC_TEXT_SIZE, line);
  });
}

int32_t OX_PLUGIN_API GetIDTagElement(const char* path, const char* element, char* value) {
  return ox::NoThrow<int32_t>(0, [&] {
    Stream s;
    return s.Open(path) ? tags::PutTagElement(s.Tags(), element, value) : 0;
  });
}

int32_t OX_PLUGIN_API GetLoudnessInfo(const char* path, OxLoudnessInfo* loudness) {
  return ox::NoThrow<int32_t>(0, [&] {
    Stream s;
    return s.Open(path) ? tags::PutLoudness(s.Tags().loudness, loudness) : 0;
  });
}

OxDecoder OX_PLUGIN_API CreateANewDecoderObject(const char* path, int32_t* error, uint8_t* wantsOutput,
                                                WAVEFORMATEX** format, uintptr_t* outputHint) {
  *error = 1;
  std::unique_ptr<Decoder> owner(new (std::nothrow) Decoder);
  Decoder* d = owner.get();
  if (!d || !ox::NoThrow(false, [&] { return d->stream.Open(path); })) return 0;
  d->format = tags::PcmFormat(static_cast<unsigned>(d->stream.channels), static_cast<uint32_t>(d->stream.rate), 16);
  return tags::HandOver(std::move(owner), error, wantsOutput, format, outputHint);
}

void OX_PLUGIN_API DeleteADecoderObject(OxDecoder decoder) { delete FromHandle(decoder); }

uint32_t OX_PLUGIN_API OutputWantsABlockOfData(OxDecoder decoder, void* buffer, uint32_t bufferBytes,
                                               uint8_t* endOfStream, uint32_t* /*ignored*/, uint32_t* positionMs,
                                               uint32_t* lengthMs) {
  return ox::NoThrow<uint32_t>(0, [&]() -> uint32_t {
    Decoder* d = FromHandle(decoder);
    if (!d) return 0;
    const uint32_t frame = d->format.nBlockAlign;
    *positionMs = static_cast<uint32_t>(d->position * 1000 / static_cast<uint64_t>(d->stream.rate));
    *lengthMs = d->LengthMs();
    const size_t want = buffer ? bufferBytes - bufferBytes % frame : 0;
    size_t done = 0;
    while (done < want && !d->ended) {
      const size_t got = ReadPcm(*d, static_cast<uint8_t*>(buffer) + done, want - done);
      if (got == 0) d->ended = true;
      done += got;
    }
    if (d->stream.samples && d->position + done / frame >= d->stream.samples) d->ended = true;
    d->position += done / frame;
    *endOfStream = d->ended ? 1 : 0;
    return static_cast<uint32_t>(done);
  });
}

void OX_PLUGIN_API SkipTo(OxDecoder decoder, int32_t percent) {
  ox::NoThrow([&] {
    Decoder* d = FromHandle(decoder);
    if (!d) return;
    percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    const uint64_t target = d->stream.samples * static_cast<uint64_t>(percent) / 100;
    d->position = target;
    d->ended = target >= d->stream.samples || ov_pcm_seek(&d->stream.vf, static_cast<ogg_int64_t>(target)) != 0;
  });
}

}  // extern "C"
