// Codec plug-in "Opus": Ogg Opus files through opusfile, fed by our own file reader (UTF-8
// names), as 16-bit PCM at 48 kHz in the WAV channel order. The header's pre-skip and the last
// page's end trim are honoured, so the length is the encoder's input and albums join without
// gaps; the header's output gain is always applied. Samples are rounded from the decoder's float
// output without dither. A chained file whose links change channels does not play.
#include <xmmintrin.h>

#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "CodecPlugin.h"

#include <opusfile.h>

#include "AudioTags.h"
#include "PluginFile.h"
#include "TagFields.h"
#include "base/NoThrow.h"

namespace {

constexpr uint32_t kRate = 48000;

int ReadFile(void* source, unsigned char* buffer, int bytes) {
  return static_cast<int>(
      static_cast<tags::PluginFile*>(source)->Read(buffer, bytes < 0 ? 0 : static_cast<size_t>(bytes)));
}
int SeekFile(void* source, opus_int64 offset, int whence) {
  return static_cast<tags::PluginFile*>(source)->Seek(offset, whence) ? 0 : -1;
}
opus_int64 TellFile(void* source) { return static_cast<tags::PluginFile*>(source)->Tell(); }
const OpusFileCallbacks kCallbacks = {ReadFile, SeekFile, TellFile, nullptr};

struct Stream {
  tags::PluginFile file;
  OggOpusFile* of = nullptr;
  int channels = 0;
  uint64_t samples = 0;  // per channel, at 48 kHz

  ~Stream() {
    if (of) op_free(of);
  }
  bool Open(const char* path) {
    if (!file.Open(path)) return false;
    int error = 0;
    of = op_open_callbacks(&file, &kCallbacks, nullptr, 0, &error);
    if (!of) return false;
    channels = op_channel_count(of, 0);
    if (channels < 1 || channels > 8) return false;
    for (int link = 1; link < op_link_count(of); ++link)
      if (op_channel_count(of, link) != channels) return false;
    const ogg_int64_t total = op_pcm_total(of, -1);
    samples = total > 0 ? static_cast<uint64_t>(total) : 0;
    return true;
  }
  tags::Tags Tags() const {
    tags::Tags t;
    if (const OpusTags* ot = op_tags(of, -1))
      for (int i = 0; i < ot->comments; ++i)
        if (ot->user_comments[i] && ot->comment_lengths[i] >= 0)
          tags::ApplyComment(std::string_view(ot->user_comments[i], static_cast<size_t>(ot->comment_lengths[i])), t);
    return t;
  }
};

struct Decoder {
  Stream stream;
  WAVEFORMATEX format{};
  std::vector<float> scratch;
  uint64_t position = 0;
  bool ended = false;
  uint32_t LengthMs() const { return static_cast<uint32_t>(stream.samples * 1000 / kRate); }
};

Decoder* FromHandle(OxDecoder handle) { return reinterpret_cast<Decoder*>(handle); }

// Rounds to the nearest step (ties to even, the SSE default), held to the 16-bit range.
int16_t ToSample(float v) {
  const int s = _mm_cvtss_si32(_mm_set_ss(v * 32768.0f));
  return static_cast<int16_t>(s > 32767 ? 32767 : s < -32768 ? -32768 : s);
}

// Decodes up to `frames` sample frames into out; 0 at the end or on an error.
size_t ReadPcm(Decoder& d, int16_t* out, size_t frames) {
  const int channels = d.stream.channels;
  if (frames > 5760) frames = 5760;  // 120 ms, the longest packet
  d.scratch.resize(frames * static_cast<size_t>(channels));
  int link = 0, got;
  do {
    got = op_read_float(d.stream.of, d.scratch.data(), static_cast<int>(d.scratch.size()), &link);
  } while (got == OP_HOLE);
  if (got <= 0 || op_channel_count(d.stream.of, link) != channels) return 0;
  const uint8_t* order = tags::VorbisToWavOrder(channels);
  const OpusHead* head = op_head(d.stream.of, link);
  const bool reorder = head && head->mapping_family == 1 && channels > 2;
  for (int f = 0; f < got; ++f)
    for (int c = 0; c < channels; ++c)
      out[f * channels + c] = ToSample(d.scratch[static_cast<size_t>(f) * channels + (reorder ? order[c] : c)]);
  return static_cast<size_t>(got);
}

}  // namespace

extern "C" {

void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description) {
  if (index != 0) return;
  ox::CopyBounded(extension, OX_CODEC_EXTENSION_SIZE, ".opus");
  ox::CopyBounded(description, OX_CODEC_DESCRIPTION_SIZE, "Opus Audio");
}

void OX_PLUGIN_API GetTrackInfo(const char* path, uint16_t* bitRateKbps, uint32_t* sampleRateHz, uint8_t* channels,
                                uint32_t* lengthMs, uint32_t* fileSizeBytes, char* artist, char* title, char* album,
                                uint32_t* yearAndTrack, uint8_t* /*preference*/, char* /*text*/) {
  ox::NoThrow([&] {
    Stream s;
    if (!s.Open(path)) return;
    *fileSizeBytes = tags::ReportedSize(s.file.File().Size());
    *sampleRateHz = kRate;
    *channels = static_cast<uint8_t>(s.channels);
    *lengthMs = static_cast<uint32_t>(s.samples * 1000 / kRate);
    const opus_int32 bitRate = op_bitrate(s.of, -1);
    if (bitRate > 0) *bitRateKbps = static_cast<uint16_t>(bitRate / 1000);
    tags::PutTags(s.Tags(), artist, title, album, yearAndTrack);
  });
}

void OX_PLUGIN_API GetStringInfo(const char* path, char* text) {
  ox::NoThrow([&] {
    Stream s;
    if (!s.Open(path)) return;
    const OpusHead* head = op_head(s.of, 0);
    char line[OX_CODEC_TEXT_SIZE];
    snprintf(line, sizeof line, "Opus, %ld kbit/s average, %d channel%s, encoded from %lu Hz",
             static_cast<long>(op_bitrate(s.of, -1) / 1000), s.channels, s.channels == 1 ? "" : "s",
             static_cast<unsigned long>(head ? head->input_sample_rate : 0));
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
    return s.Open(path) ? tags::PutLoudness(tags::OpusLoudness(s.Tags()), loudness) : 0;
  });
}

OxDecoder OX_PLUGIN_API CreateANewDecoderObject(const char* path, int32_t* error, uint8_t* wantsOutput,
                                                WAVEFORMATEX** format, uintptr_t* outputHint) {
  *error = 1;
  std::unique_ptr<Decoder> owner(new (std::nothrow) Decoder);
  Decoder* d = owner.get();
  if (!d || !ox::NoThrow(false, [&] { return d->stream.Open(path); })) return 0;
  d->format = tags::PcmFormat(static_cast<unsigned>(d->stream.channels), kRate, 16);
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
    *positionMs = static_cast<uint32_t>(d->position * 1000 / kRate);
    *lengthMs = d->LengthMs();
    const size_t want = buffer ? bufferBytes / frame : 0;
    size_t done = 0;
    while (done < want && !d->ended) {
      const size_t got = ReadPcm(*d, static_cast<int16_t*>(buffer) + done * d->stream.channels, want - done);
      if (got == 0) d->ended = true;
      done += got;
    }
    if (d->stream.samples && d->position + done >= d->stream.samples) d->ended = true;
    d->position += done;
    *endOfStream = d->ended ? 1 : 0;
    return static_cast<uint32_t>(done * frame);
  });
}

void OX_PLUGIN_API SkipTo(OxDecoder decoder, int32_t percent) {
  ox::NoThrow([&] {
    Decoder* d = FromHandle(decoder);
    if (!d) return;
    percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    const uint64_t target = d->stream.samples * static_cast<uint64_t>(percent) / 100;
    d->position = target;
    d->ended = target >= d->stream.samples || op_pcm_seek(d->stream.of, static_cast<ogg_int64_t>(target)) != 0;
  });
}

}  // extern "C"
