// Codec plug-in "FLAC": native FLAC files through libFLAC's stream decoder, fed by our own file
// reader (UTF-8 names). Samples keep their width: 8-bit as unsigned bytes, 9 to 16 bits as 16-bit,
// 17 to 32 bits as 24-bit (wider ones lose their lowest bits). FLAC's channel order is the WAV
// order already. Seeking is sample-exact.
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "CodecPlugin.h"

#include <FLAC/stream_decoder.h>

#include "AudioTags.h"
#include "TagFields.h"
#include "base/DataFile.h"
#include "base/FileSource.h"
#include "base/NoThrow.h"

namespace {

struct Decoder {
  ox::DataFile file;
  tags::FlacInfo info;
  FLAC__StreamDecoder* flac = nullptr;
  WAVEFORMATEX format{};
  int shift = 0;                 // bits each decoded sample moves by into the output width
  std::vector<uint8_t> pending;  // decoded, not yet handed out
  size_t pendingAt = 0;
  uint64_t position = 0;  // sample frames into the stream of the next block
  bool broken = false;    // a frame contradicted STREAMINFO: the stream ends there
  bool ended = false;

  ~Decoder() {
    if (flac) FLAC__stream_decoder_delete(flac);
  }
  uint32_t LengthMs() const { return static_cast<uint32_t>(info.totalSamples * 1000 / info.sampleRate); }
};

Decoder* FromHandle(OxDecoder handle) { return reinterpret_cast<Decoder*>(handle); }

FLAC__StreamDecoderReadStatus Read(const FLAC__StreamDecoder*, FLAC__byte* buffer, size_t* bytes, void* data) {
  auto* d = static_cast<Decoder*>(data);
  if (*bytes == 0) return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
  const uint32_t want = *bytes > 0x40000000u ? 0x40000000u : static_cast<uint32_t>(*bytes);
  bool closed = false;
  *bytes = d->file.Read(buffer, want, ox::FileOrigin::Current, &closed);
  if (closed) return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
  return *bytes == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
}

FLAC__StreamDecoderSeekStatus Seek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* data) {
  return static_cast<Decoder*>(data)->file.SeekTo(offset) ? FLAC__STREAM_DECODER_SEEK_STATUS_OK
                                                          : FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
}

FLAC__StreamDecoderTellStatus Tell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* data) {
  auto* d = static_cast<Decoder*>(data);
  LARGE_INTEGER zero{}, at{};
  if (!SetFilePointerEx(d->file.Handle(), zero, &at, FILE_CURRENT)) return FLAC__STREAM_DECODER_TELL_STATUS_ERROR;
  *offset = static_cast<FLAC__uint64>(at.QuadPart);
  return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

FLAC__StreamDecoderLengthStatus Length(const FLAC__StreamDecoder*, FLAC__uint64* length, void* data) {
  *length = static_cast<Decoder*>(data)->file.Size();
  return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

FLAC__bool AtEnd(const FLAC__StreamDecoder* decoder, void* data) {
  FLAC__uint64 at = 0, length = 0;
  return Tell(decoder, &at, data) != FLAC__STREAM_DECODER_TELL_STATUS_OK ||
         Length(decoder, &length, data) != FLAC__STREAM_DECODER_LENGTH_STATUS_OK || at >= length;
}

FLAC__StreamDecoderWriteStatus Write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                     const FLAC__int32* const channels[], void* data) {
  auto* d = static_cast<Decoder*>(data);
  const FLAC__FrameHeader& h = frame->header;
  if (h.channels != d->info.channels || h.bits_per_sample != d->info.bitsPerSample) {
    d->broken = true;  // a STREAMINFO that lies: better silence than noise
    return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
  }
  const size_t width = d->format.wBitsPerSample / 8, n = h.blocksize, count = h.channels;
  const size_t start = d->pending.size();
  d->pending.resize(start + n * count * width);
  uint8_t* out = &d->pending[start];
  const int shift = d->shift;
  if (width == 2 && shift == 0) {  // the common case, kept simple enough to vectorise
    auto* samples = reinterpret_cast<int16_t*>(out);
    for (size_t c = 0; c < count; ++c)
      for (size_t i = 0; i < n; ++i) samples[i * count + c] = static_cast<int16_t>(channels[c][i]);
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
  }
  for (size_t i = 0; i < n; ++i) {
    for (size_t c = 0; c < count; ++c) {
      const int32_t s = shift >= 0 ? channels[c][i] * (1 << shift) : channels[c][i] >> -shift;
      if (width == 1) {
        *out++ = static_cast<uint8_t>(s + 128);
      } else {
        *out++ = static_cast<uint8_t>(s);
        *out++ = static_cast<uint8_t>(s >> 8);
        if (width == 3) *out++ = static_cast<uint8_t>(s >> 16);
      }
    }
  }
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void Error(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {
  // Lost sync and bad frames are stepped over by the decoder; what it cannot decode is left out.
}

bool ReadInfo(const char* path, ox::DataFile& file, tags::FlacInfo& info) {
  if (!path || !file.Open(path, ox::FileAccess::Read, ox::FileCreation::OpenExisting)) return false;
  return ox::NoThrow(false, [&] {
    ox::FileSource source(file);
    return tags::ReadFlacInfo(source, info);
  });
}

// Decodes until some PCM is pending; false when the stream has no more.
bool DecodeMore(Decoder& d) {
  if (d.broken) return false;
  const bool ok = FLAC__stream_decoder_process_single(d.flac) != 0;
  if (d.broken || !ok) return false;
  return FLAC__stream_decoder_get_state(d.flac) != FLAC__STREAM_DECODER_END_OF_STREAM || d.pendingAt < d.pending.size();
}

}  // namespace

extern "C" {

void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description) {
  if (index != 0) return;
  ox::CopyBounded(extension, OX_CODEC_EXTENSION_SIZE, ".flac");
  ox::CopyBounded(description, OX_CODEC_DESCRIPTION_SIZE, "FLAC Audio");
}

void OX_PLUGIN_API GetTrackInfo(const char* path, uint16_t* bitRateKbps, uint32_t* sampleRateHz, uint8_t* channels,
                                uint32_t* lengthMs, uint32_t* fileSizeBytes, char* artist, char* title, char* album,
                                uint32_t* yearAndTrack, uint8_t* /*preference*/, char* /*text*/) {
  ox::NoThrow([&] {
    ox::DataFile file;
    tags::FlacInfo info;
    if (!ReadInfo(path, file, info)) return;
    const uint64_t size = file.Size();
    *fileSizeBytes = tags::ReportedSize(size);
    *sampleRateHz = info.sampleRate;
    *channels = info.channels;
    *lengthMs = static_cast<uint32_t>(info.totalSamples * 1000 / info.sampleRate);
    if (info.totalSamples > 0 && size > info.audioOffset)
      *bitRateKbps = static_cast<uint16_t>((size - info.audioOffset) * 8 * info.sampleRate / info.totalSamples / 1000);
    tags::PutTags(info.tags, artist, title, album, yearAndTrack);
  });
}

void OX_PLUGIN_API GetStringInfo(const char* path, char* text) {
  ox::NoThrow([&] {
    ox::DataFile file;
    tags::FlacInfo info;
    if (!ReadInfo(path, file, info)) return;
    char line[OX_CODEC_TEXT_SIZE];
    snprintf(line, sizeof line, "FLAC, %u-bit, %lu Hz, %u channel%s%s", info.bitsPerSample,
             static_cast<unsigned long>(info.sampleRate), info.channels, info.channels == 1 ? "" : "s",
             info.hasSeekTable ? ", seek table" : "");
    ox::CopyBounded(text, OX_CODEC_TEXT_SIZE, line);
  });
}

int32_t OX_PLUGIN_API GetIDTagElement(const char* path, const char* element, char* value) {
  return ox::NoThrow<int32_t>(0, [&] {
    ox::DataFile file;
    tags::FlacInfo info;
    return ReadInfo(path, file, info) ? tags::PutTagElement(info.tags, element, value) : 0;
  });
}

int32_t OX_PLUGIN_API GetLoudnessInfo(const char* path, OxLoudnessInfo* loudness) {
  return ox::NoThrow<int32_t>(0, [&] {
    ox::DataFile file;
    tags::FlacInfo info;
    return ReadInfo(path, file, info) ? tags::PutLoudness(info.tags.loudness, loudness) : 0;
  });
}

OxDecoder OX_PLUGIN_API CreateANewDecoderObject(const char* path, int32_t* error, uint8_t* wantsOutput,
                                                WAVEFORMATEX** format, uintptr_t* outputHint) {
  *error = 1;
  std::unique_ptr<Decoder> owner(new (std::nothrow) Decoder);
  Decoder* d = owner.get();
  if (!d || !ReadInfo(path, d->file, d->info)) return 0;
  const tags::FlacInfo& info = d->info;
  if (info.channels > 8 || info.sampleRate > 655350 || !d->file.SeekTo(0)) return 0;
  const int bits = info.bitsPerSample <= 8 ? 8 : info.bitsPerSample <= 16 ? 16 : 24;
  d->shift = bits - info.bitsPerSample;
  d->format = tags::PcmFormat(info.channels, info.sampleRate, static_cast<unsigned>(bits));
  d->flac = FLAC__stream_decoder_new();
  if (!d->flac) return 0;
  FLAC__stream_decoder_set_md5_checking(d->flac, false);
  if (FLAC__stream_decoder_init_stream(d->flac, Read, Seek, Tell, Length, AtEnd, Write, nullptr, Error, d) !=
      FLAC__STREAM_DECODER_INIT_STATUS_OK)
    return 0;
  // The first frame must decode: a file that cannot play says so now, not with silence.
  if (!ox::NoThrow(false, [&] {
        if (!FLAC__stream_decoder_process_until_end_of_metadata(d->flac)) return false;
        while (d->pending.empty())
          if (!DecodeMore(*d)) return false;
        return true;
      }))
    return 0;
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
    *positionMs = static_cast<uint32_t>(d->position * 1000 / d->info.sampleRate);
    *lengthMs = d->LengthMs();
    const size_t want = buffer ? bufferBytes - bufferBytes % frame : 0;
    size_t done = 0;
    while (done < want && !d->ended) {
      const size_t have = d->pending.size() - d->pendingAt;
      if (have == 0) {
        d->pending.clear();
        d->pendingAt = 0;
        if (!DecodeMore(*d)) d->ended = true;
        continue;
      }
      const size_t n = have < want - done ? have : want - done;
      memcpy(static_cast<uint8_t*>(buffer) + done, &d->pending[d->pendingAt], n);
      d->pendingAt += n;
      done += n;
    }
    // The end is told with the last block, once nothing is pending and the decoder has no more.
    if (!d->ended && d->pendingAt == d->pending.size() &&
        (d->broken || FLAC__stream_decoder_get_state(d->flac) == FLAC__STREAM_DECODER_END_OF_STREAM))
      d->ended = true;
    d->position += done / frame;
    *endOfStream = d->ended ? 1 : 0;
    return static_cast<uint32_t>(done);
  });
}

void OX_PLUGIN_API SkipTo(OxDecoder decoder, int32_t percent) {
  ox::NoThrow([&] {
    Decoder* d = FromHandle(decoder);
    // A stream of unknown length (STREAMINFO says 0 samples) can only go back to its start.
    if (!d || d->broken || (d->info.totalSamples == 0 && percent > 0)) return;
    percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    const uint64_t total = d->info.totalSamples;
    const uint64_t target = total * static_cast<uint64_t>(percent) / 100;
    d->pending.clear();
    d->pendingAt = 0;
    d->position = target;
    if (target >= total && total > 0) {
      d->ended = true;
      return;
    }
    d->ended = false;
    // The decoder trims the frame it lands in, so the first sample after this is the target's.
    if (!FLAC__stream_decoder_seek_absolute(d->flac, target)) {
      if (FLAC__stream_decoder_get_state(d->flac) == FLAC__STREAM_DECODER_SEEK_ERROR)
        FLAC__stream_decoder_flush(d->flac);
      d->ended = true;
    }
  });
}

}  // extern "C"
