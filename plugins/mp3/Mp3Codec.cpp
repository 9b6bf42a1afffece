// Codec plug-in "MP3": MPEG audio through the system's ACM MP3 decoder (msacm32), with the tags
// read here and gapless trimming from the LAME tag: the encoder's delay and padding and the
// decoder's own delay are cut, so the decoded sample count equals the original's.
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "CodecPlugin.h"  // windows.h first: the ACM headers need its types

#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include "Id3Tag.h"
#include "MpegAudio.h"
#include "TagFields.h"
#include "base/AudioMath.h"
#include "base/DataFile.h"
#include "base/FileSource.h"
#include "base/NoThrow.h"
#include "base/Text.h"
#include "base/Utf8.h"

namespace {

// Samples the MPEG synthesis filter bank lags its input by; LAME's padding counts it in.
constexpr uint32_t kDecoderDelay = 529;
constexpr uint32_t kInputBytes = 8192;

struct Decoder {
  ox::DataFile file;
  mpeg::Stream stream;
  WAVEFORMATEX format{};  // what we hand out: 16-bit PCM
  HACMSTREAM acm = nullptr;
  ACMSTREAMHEADER header{};
  std::vector<uint8_t> input, output;
  uint32_t inputFill = 0;
  uint64_t readAt = 0;          // next stream byte to feed the decoder
  std::vector<uint8_t> pending;  // decoded, not yet handed out
  size_t pendingAt = 0;
  uint64_t skipSamples = 0;     // decoded samples still to drop (delays)
  uint64_t samplesLeft = 0;     // music samples still to hand out
  uint64_t position = 0;        // samples into the music of the next block
  bool decoderDone = false;
  bool restart = true;          // the next conversion starts the decoder afresh

  ~Decoder() {
    if (acm) {
      if (header.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) {
        header.cbSrcLength = static_cast<DWORD>(input.size());
        header.cbDstLength = static_cast<DWORD>(output.size());
        acmStreamUnprepareHeader(acm, &header, 0);
      }
      acmStreamClose(acm, 0);
    }
  }
};

Decoder* FromHandle(OxDecoder handle) { return reinterpret_cast<Decoder*>(handle); }

// The compressed format ACM is to decode, from the first frame's header.
struct SourceFormat {
  union {
    WAVEFORMATEX wave;
    MPEGLAYER3WAVEFORMAT layer3;
    MPEG1WAVEFORMAT layer12;
  };
  explicit SourceFormat(const mpeg::FrameHeader& h) {
    ZeroMemory(this, sizeof *this);
    wave.nChannels = static_cast<WORD>(h.channels);
    wave.nSamplesPerSec = h.sampleRate;
    wave.nAvgBytesPerSec = h.bitRate / 8;
    wave.nBlockAlign = 1;
    if (h.layer == 3) {
      wave.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
      wave.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
      layer3.wID = MPEGLAYER3_ID_MPEG;
      layer3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;  // padding as each frame header says
      layer3.nBlockSize = static_cast<WORD>(h.frameBytes);
      layer3.nFramesPerBlock = 1;
      layer3.nCodecDelay = 0;
    } else {
      wave.wFormatTag = WAVE_FORMAT_MPEG;
      wave.cbSize = sizeof(MPEG1WAVEFORMAT) - sizeof(WAVEFORMATEX);
      layer12.fwHeadLayer = h.layer == 1 ? ACM_MPEG_LAYER1 : ACM_MPEG_LAYER2;
      layer12.dwHeadBitrate = h.bitRate;
      layer12.fwHeadMode = h.channels == 1 ? ACM_MPEG_SINGLECHANNEL : ACM_MPEG_STEREO;
      layer12.wHeadEmphasis = 1;
      layer12.fwHeadFlags = h.version == 10 ? ACM_MPEG_ID_MPEG1 : 0;
    }
  }
};

WAVEFORMATEX PcmFor(const mpeg::FrameHeader& h) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = static_cast<WORD>(h.channels);
  f.nSamplesPerSec = h.sampleRate;
  f.wBitsPerSample = 16;
  f.nBlockAlign = static_cast<WORD>(2 * h.channels);
  f.nAvgBytesPerSec = h.sampleRate * f.nBlockAlign;
  return f;
}

// Whether the system decodes this kind of stream at all.
bool CanDecode(const mpeg::FrameHeader& h) {
  SourceFormat source(h);
  WAVEFORMATEX pcm = PcmFor(h);
  return acmStreamOpen(nullptr, nullptr, &source.wave, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_QUERY) == 0;
}

bool OpenStream(const char* path, ox::DataFile& file, mpeg::Stream& stream) {
  if (!path || !file.Open(path, ox::FileAccess::Read, ox::FileCreation::OpenExisting)) return false;
  ox::FileSource source(file);
  return mpeg::FindStream(source, stream);
}

// Starts (or restarts, after a seek) decoding at stream byte `at`.
void StartAt(Decoder& d, uint64_t at) {
  d.readAt = at;
  d.inputFill = 0;
  d.pending.clear();
  d.pendingAt = 0;
  d.decoderDone = false;
  d.restart = true;  // acmStreamReset acts on asynchronous streams only; START resets this one
}

// Decodes one more piece of input into `pending`. False when nothing more will come.
bool DecodeMore(Decoder& d) {
  if (d.decoderDone) return false;
  const uint64_t left = d.stream.end > d.readAt ? d.stream.end - d.readAt : 0;
  uint32_t want = static_cast<uint32_t>(d.input.size()) - d.inputFill;
  if (want > left) want = static_cast<uint32_t>(left);
  uint32_t got = 0;
  if (want > 0 && d.file.SeekTo(d.readAt)) got = d.file.Read(d.input.data() + d.inputFill, want);
  d.readAt += got;
  d.inputFill += got;
  const bool last = got < want || d.readAt >= d.stream.end;

  d.header.cbSrcLength = d.inputFill;
  d.header.cbDstLength = static_cast<DWORD>(d.output.size());
  d.header.cbSrcLengthUsed = d.header.cbDstLengthUsed = 0;
  const DWORD flags = (last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN) |
                      (d.restart ? ACM_STREAMCONVERTF_START : 0);
  d.restart = false;
  if (d.inputFill == 0 || acmStreamConvert(d.acm, &d.header, flags) != 0) {
    d.decoderDone = true;
    return false;
  }
  const DWORD used = d.header.cbSrcLengthUsed < d.inputFill ? d.header.cbSrcLengthUsed : d.inputFill;
  memmove(d.input.data(), d.input.data() + used, d.inputFill - used);
  d.inputFill -= used;
  d.pending.insert(d.pending.end(), d.output.begin(), d.output.begin() + d.header.cbDstLengthUsed);
  if (last && used == 0 && d.header.cbDstLengthUsed == 0) d.decoderDone = true;
  return true;
}

// A tag text into a codec field, cut after its last whole character.
void PutTag(char* field, std::string_view utf8) {
  ox::CopyBounded(field, OX_CODEC_TAG_SIZE, ox::WholeCharacters(utf8, OX_CODEC_TAG_SIZE - 1));
}

}  // namespace

extern "C" {

void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description) {
  // Layer II plays only where the system's decoder takes it.
  static const bool layer2 = [] {
    mpeg::FrameHeader h;
    const uint8_t frame[4] = {0xFF, 0xFD, 0x94, 0x00};  // MPEG-1 Layer II, 128 kbit/s, 44.1 kHz
    return mpeg::ParseHeader(frame, h) && CanDecode(h);
  }();
  const char* ext = index == 0 ? ".mp3" : layer2 && index == 1 ? ".mp2" : layer2 && index == 2 ? ".mpa" : nullptr;
  if (!ext) return;
  ox::CopyBounded(extension, OX_CODEC_EXTENSION_SIZE, ext);
  ox::CopyBounded(description, OX_CODEC_DESCRIPTION_SIZE, index == 0 ? "MPEG Layer III Audio" : "MPEG Audio");
}

void OX_PLUGIN_API GetTrackInfo(const char* path, uint16_t* bitRateKbps, uint32_t* sampleRateHz, uint8_t* channels,
                                uint32_t* lengthMs, uint32_t* fileSizeBytes, char* artist, char* title, char* album,
                                uint32_t* yearAndTrack, uint8_t* /*preference*/, char* /*text*/) {
  ox::NoThrow([&] {
    ox::DataFile file;
    if (!path || !file.Open(path, ox::FileAccess::Read, ox::FileCreation::OpenExisting)) return;
    ox::FileSource source(file);
    const uint64_t size = source.Size();
    *fileSizeBytes = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
    mpeg::Stream stream;
    if (mpeg::FindStream(source, stream)) {
      *bitRateKbps = static_cast<uint16_t>(stream.AverageBitRate() / 1000);
      *sampleRateHz = stream.header.sampleRate;
      *channels = static_cast<uint8_t>(stream.header.channels);
      *lengthMs = stream.LengthMs();
    }
    const id3::Tag tag = id3::Read(source);
    PutTag(artist, tag.artist);
    PutTag(title, tag.title);
    PutTag(album, tag.album);
    *yearAndTrack = tag.year | uint32_t{tag.track} << 16;
  });
}

void OX_PLUGIN_API GetStringInfo(const char* path, char* text) {
  ox::NoThrow([&] {
    ox::DataFile file;
    mpeg::Stream s;
    if (!OpenStream(path, file, s)) return;
    const char* version = s.header.version == 10 ? "1" : s.header.version == 20 ? "2" : "2.5";
    const char* layer = s.header.layer == 3 ? "III" : s.header.layer == 2 ? "II" : "I";
    char line[OX_CODEC_TEXT_SIZE];
    snprintf(line, sizeof line, "MPEG-%s Layer %s, %lu kbit/s%s, %lu Hz, %s%s", version, layer,
             static_cast<unsigned long>(s.AverageBitRate() / 1000), s.xing.vbr ? " average" : "",
             static_cast<unsigned long>(s.header.sampleRate), s.header.channels == 1 ? "mono" : "stereo",
             s.xing.hasLame ? ", gapless" : "");
    ox::CopyBounded(text, OX_CODEC_TEXT_SIZE, line);
  });
}

int32_t OX_PLUGIN_API GetIDTagElement(const char* path, const char* element, char* value) {
  return ox::NoThrow<int32_t>(0, [&] {
    ox::DataFile file;
    if (!path || !file.Open(path, ox::FileAccess::Read, ox::FileCreation::OpenExisting)) return 0;
    ox::FileSource source(file);
    const id3::Tag tag = id3::Read(source);
    tags::Tags t;
    t.artist = tag.artist, t.title = tag.title, t.album = tag.album, t.genre = tag.genre;
    t.albumArtist = tag.albumArtist, t.year = tag.year, t.track = tag.track;
    return tags::PutTagElement(t, element, value);
  });
}

int32_t OX_PLUGIN_API GetLoudnessInfo(const char* path, OxLoudnessInfo* info) {
  return ox::NoThrow<int32_t>(0, [&] {
    ox::DataFile file;
    if (!path || !file.Open(path, ox::FileAccess::Read, ox::FileCreation::OpenExisting)) return 0;
    ox::FileSource source(file);
    id3::Tag tag;
    return id3::ReadV2(source, tag) ? tags::PutLoudness(tag.loudness, info) : 0;
  });
}

OxDecoder OX_PLUGIN_API CreateANewDecoderObject(const char* path, int32_t* error, uint8_t* wantsOutput,
                                                WAVEFORMATEX** format, uintptr_t* outputHint) {
  *error = 1;
  std::unique_ptr<Decoder> owner(new (std::nothrow) Decoder);
  Decoder* d = owner.get();
  if (!d || !ox::NoThrow(false, [&] { return OpenStream(path, d->file, d->stream); })) return 0;
  SourceFormat source(d->stream.header);
  d->format = PcmFor(d->stream.header);
  if (acmStreamOpen(&d->acm, nullptr, &source.wave, &d->format, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0) {
    d->acm = nullptr;
    return 0;
  }
  // Room for all a full input buffer can decode to, at the smallest frames the stream may use: a
  // decoder given too little room drops what does not fit.
  const mpeg::FrameHeader& h = d->stream.header;
  const uint32_t minBitRate = h.version == 10 ? 32000 : 8000;
  const uint32_t minFrameBytes = h.frameBytes * (minBitRate / 1000) / (h.bitRate / 1000);
  const size_t frames = kInputBytes / (minFrameBytes > 0 ? minFrameBytes : 1) + 2;
  if (!ox::NoThrow(false, [&] {
        d->input.resize(kInputBytes);
        d->output.resize(frames * h.samplesPerFrame * d->format.nBlockAlign);
        return true;
      }))
    return 0;
  d->header.cbStruct = sizeof d->header;
  d->header.pbSrc = d->input.data();
  d->header.cbSrcLength = kInputBytes;
  d->header.pbDst = d->output.data();
  d->header.cbDstLength = static_cast<DWORD>(d->output.size());
  if (acmStreamPrepareHeader(d->acm, &d->header, 0) != 0) return 0;
  const mpeg::XingInfo& x = d->stream.xing;
  d->skipSamples = x.hasLame ? uint64_t{x.encoderDelay} + kDecoderDelay : 0;
  d->samplesLeft = d->stream.MusicSamples();
  StartAt(*d, d->stream.firstFrame);
  return tags::HandOver(std::move(owner), error, wantsOutput, format, outputHint);
}

void OX_PLUGIN_API DeleteADecoderObject(OxDecoder decoder) { delete FromHandle(decoder); }

uint32_t OX_PLUGIN_API OutputWantsABlockOfData(OxDecoder decoder, void* buffer, uint32_t bufferBytes,
                                               uint8_t* endOfStream, uint32_t* /*ignored*/, uint32_t* positionMs,
                                               uint32_t* lengthMs) {
  return ox::NoThrow<uint32_t>(0, [&]() -> uint32_t {
    Decoder* d = FromHandle(decoder);
    if (!d) return 0;
    const uint32_t frame = d->format.nBlockAlign, rate = d->format.nSamplesPerSec;
    *positionMs = static_cast<uint32_t>(d->position * 1000 / rate);
    *lengthMs = d->stream.LengthMs();
    uint64_t want = bufferBytes / frame;
    if (want > d->samplesLeft) want = d->samplesLeft;
    if (!buffer) want = 0;

    uint32_t done = 0;  // samples written
    while (done < want) {
      size_t have = (d->pending.size() - d->pendingAt) / frame;
      if (have > 0 && d->skipSamples > 0) {  // the delays before the music
        const size_t drop = have < d->skipSamples ? have : static_cast<size_t>(d->skipSamples);
        d->pendingAt += drop * frame;
        d->skipSamples -= drop;
        continue;
      }
      if (have == 0) {
        d->pending.clear();
        d->pendingAt = 0;
        if (!DecodeMore(*d)) break;
        continue;
      }
      const size_t n = have < want - done ? have : static_cast<size_t>(want - done);
      memcpy(static_cast<uint8_t*>(buffer) + size_t{done} * frame, &d->pending[d->pendingAt], n * frame);
      d->pendingAt += n * frame;
      done += static_cast<uint32_t>(n);
    }
    d->position += done;
    d->samplesLeft -= done;
    // The end: every music sample handed out, or the decoder has nothing more (a cut file).
    if (buffer && done < want) d->samplesLeft = 0;
    *endOfStream = d->samplesLeft == 0 ? 1 : 0;
    return done * frame;
  });
}

void OX_PLUGIN_API SkipTo(OxDecoder decoder, int32_t percent) {
  ox::NoThrow([&] {
    Decoder* d = FromHandle(decoder);
    if (!d) return;
    percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    const mpeg::Stream& s = d->stream;
    const uint64_t music = s.MusicSamples();
    uint64_t target;
    if (percent == 100) {
      target = s.end;
    } else if (s.xing.hasToc && s.xing.bytes > 0) {
      // The table counts from the Xing frame, which is part of the stream's bytes.
      target = s.firstFrame - s.header.frameBytes + uint64_t{s.xing.toc[percent]} * s.xing.bytes / 256;
    } else {
      target = s.firstFrame + s.Bytes() * percent / 100;
    }
    if (target < s.firstFrame) target = s.firstFrame;
    if (target > s.end) target = s.end;
    ox::FileSource source(d->file);
    const uint64_t frameAt = percent == 0 ? s.firstFrame : mpeg::NextFrame(source, target, s.end, s.header);
    StartAt(*d, frameAt);
    // Which frame that is, from its place in the stream (exact for constant bit rates, within a frame
    // or so otherwise), and from it where the music stands: the decoder restarts at that frame.
    const uint64_t bytes = s.Bytes() ? s.Bytes() : 1;
    const uint64_t frameIndex = ((frameAt - s.firstFrame) * s.frames + bytes / 2) / bytes;
    const uint64_t frameStart = frameIndex * s.header.samplesPerFrame;  // in decoded samples
    const mpeg::XingInfo& x = s.xing;
    const uint64_t delays = x.hasLame ? uint64_t{x.encoderDelay} + kDecoderDelay : 0;
    d->skipSamples = frameStart < delays ? delays - frameStart : 0;
    d->position = frameStart > delays ? frameStart - delays : 0;
    if (d->position > music) d->position = music;
    d->samplesLeft = music - d->position;
  });
}

}  // extern "C"
