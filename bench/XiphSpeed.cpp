// Decode speed of the FLAC, Ogg Vorbis and Opus plug-ins through the plug-in host, beside the
// bare library decoding the same file in the same run, in times real time per second of the
// decoding thread's CPU time; and the memory one more open track takes.
//   xiph_speed <installation folder> <file> [<file> ...]
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <FLAC/stream_decoder.h>
#include <opusfile.h>
#include <vorbis/vorbisfile.h>

#include "base/Path.h"
#include "engine/CodecHost.h"

namespace {

double ThreadSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) { return (uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}

// Runs decode (which returns the audio seconds it decoded) five times; audio seconds per CPU second.
double TimesRealTime(const std::function<double()>& decode) {
  double cpu = 0, audio = 0;
  for (int round = 0; round < 5; ++round) {
    const double start = ThreadSeconds();
    audio += decode();
    cpu += ThreadSeconds() - start;  // summed: the thread clock ticks coarsely
  }
  return audio / (cpu > 1e-6 ? cpu : 1e-6);
}

double PluginDecode(const ox::CodecPlugin& codec, const char* path) {
  int32_t error = 1;
  uint8_t wants = 0;
  uintptr_t hint = 0;
  WAVEFORMATEX* format = nullptr;
  const OxDecoder d = codec.CreateANewDecoderObject(path, &error, &wants, &format, &hint);
  if (error || !d) return 0;
  std::vector<uint8_t> block(17640);
  uint64_t bytes = 0;
  for (uint8_t end = 0; !end;) {
    uint32_t ignored, position, length;
    bytes += codec.OutputWantsABlockOfData(d, block.data(), static_cast<uint32_t>(block.size()), &end, &ignored,
                                           &position, &length);
  }
  const double seconds = double(bytes) / format->nAvgBytesPerSec;
  codec.DeleteADecoderObject(d);
  return seconds;
}

FLAC__StreamDecoderWriteStatus CountFlac(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                         const FLAC__int32* const[], void* samples) {
  *static_cast<uint64_t*>(samples) += frame->header.blocksize;
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}
void IgnoreFlacError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

// The bare libraries, decoding to their native output (32-bit FLAC samples; 16-bit for the others).
double BareDecode(const std::string& ext, const char* path) {
  uint64_t samples = 0;
  double rate = 48000;
  if (ext == ".flac") {
    FLAC__StreamDecoder* d = FLAC__stream_decoder_new();
    FLAC__stream_decoder_set_md5_checking(d, false);
    if (FLAC__stream_decoder_init_file(d, path, CountFlac, nullptr, IgnoreFlacError, &samples) ==
        FLAC__STREAM_DECODER_INIT_STATUS_OK) {
      FLAC__stream_decoder_process_until_end_of_stream(d);
      rate = FLAC__stream_decoder_get_sample_rate(d);
    }
    FLAC__stream_decoder_delete(d);
  } else if (ext == ".ogg") {
    OggVorbis_File vf;
    if (ov_fopen(path, &vf) != 0) return 0;
    std::vector<char> buffer(17640);
    int link;
    for (long n; (n = ov_read(&vf, buffer.data(), static_cast<int>(buffer.size()), 0, 2, 1, &link)) > 0;)
      samples += static_cast<uint64_t>(n) / 2 / static_cast<uint64_t>(ov_info(&vf, link)->channels);
    rate = static_cast<double>(ov_info(&vf, -1)->rate);
    ov_clear(&vf);
  } else {
    OggOpusFile* of = op_open_file(path, nullptr);
    if (!of) return 0;
    std::vector<opus_int16> buffer(8820);
    for (int n; (n = op_read(of, buffer.data(), static_cast<int>(buffer.size()), nullptr)) > 0;)
      samples += static_cast<uint64_t>(n);
    op_free(of);
  }
  return samples / (rate > 0 ? rate : 1);
}

// Memory one more open, playing track takes through the plug-in (library state included): 16
// opened, a block each, as the growth of the pages the process touched.
double BytesPerOpenTrack(const ox::CodecPlugin& codec, const char* path) {
  auto privateBytes = [] {
    PROCESS_MEMORY_COUNTERS m{};
    GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
    return double(m.WorkingSetSize);
  };
  std::vector<OxDecoder> open;
  std::vector<uint8_t> block(17640);
  const double before = privateBytes();
  for (int i = 0; i < 16; ++i) {
    int32_t error = 1;
    uint8_t wants = 0, end = 0;
    uintptr_t hint = 0;
    uint32_t ignored, position, length;
    WAVEFORMATEX* format = nullptr;
    const OxDecoder d = codec.CreateANewDecoderObject(path, &error, &wants, &format, &hint);
    if (error || !d) break;
    codec.OutputWantsABlockOfData(d, block.data(), static_cast<uint32_t>(block.size()), &end, &ignored, &position,
                                  &length);
    open.push_back(d);
  }
  const double after = privateBytes();
  for (OxDecoder d : open) codec.DeleteADecoderObject(d);
  return open.empty() ? 0 : (after - before) / open.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: xiph_speed <installation folder> <file>...\n");
    return 2;
  }
  std::string folder = argv[1];
  ox::EnsureTrailingBackslash(folder);
  const ox::CodecHost host(folder + "Multiplayer\\Input\\");
  for (int i = 2; i < argc; ++i) {
    const std::string ext = ox::ExtensionOf(argv[i]);
    const ox::CodecPlugin* codec = host.Find(ext);
    const char* name = std::strrchr(argv[i], '/') ? std::strrchr(argv[i], '/') + 1 : argv[i];
    if (!codec) {
      std::printf("%s: no codec\n", name);
      continue;
    }
    const double bare = TimesRealTime([&] { return BareDecode(ext, argv[i]); });
    const double plugin = TimesRealTime([&] { return PluginDecode(*codec, argv[i]); });
    std::printf("%s: plug-in %.0fx real time, bare library %.0fx, ratio %.2f; %.0f KB per open track\n", name, plugin,
                bare, plugin / (bare > 0 ? bare : 1), BytesPerOpenTrack(*codec, argv[i]) / 1024);
  }
  return 0;
}
