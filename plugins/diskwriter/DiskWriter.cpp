// Sound output plug-in "Disk Writer": writes what it is handed to a WAV file instead of a device,
// as fast as the player feeds it. One file per output object, named after the track playing when
// the object is made ("<title>.wav", replaced if it exists; the title its tags give, else its file
// name's, with the characters a file name cannot hold as '_'), in the folder of the setting
// "DiskWriterFolder" or else the "Output\" folder of the installation folder. The title is UTF-8
// and the file is made through the W function, so the name on disk is the title whatever the
// process's code page.
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "SoundOutputPlugin.h"
#include "base/ByteSource.h"
#include "base/Handle.h"
#include "base/NoThrow.h"
#include "base/Path.h"
#include "base/SharedDataBlock.h"
#include "base/System.h"
#include "base/Text.h"
#include "base/Wide.h"
#include "core/Locations.h"
#include "core/Settings.h"
#include "core/TrackRecord.h"

namespace {

constexpr uint32_t kHeaderBytes = 44;   // RIFF header, 16-byte "fmt " chunk, "data" chunk header
constexpr uint32_t kBufferBytes = 1 << 16;

struct Output {
  ox::UniqueHandle file;
  WAVEFORMATEX format;  // a copy: the header is written again with the sizes at the end
  std::vector<uint8_t> buffer;
  uint64_t dataBytes = 0;    // written since creation
  uint32_t sinceSkip = 0;    // written since creation or the last SkipTo
};

Output* FromHandle(OxSoundOut handle) { return reinterpret_cast<Output*>(handle); }

// Writes count bytes at the file's start (FILE_BEGIN) or end (FILE_END); true when all were written.
bool WriteAt(HANDLE file, const void* buffer, uint32_t count, DWORD origin) {
  DWORD written = 0;
  return SetFilePointer(file, 0, nullptr, origin) != INVALID_SET_FILE_POINTER &&
         WriteFile(file, buffer, count, &written, nullptr) && written == count;
}

std::string OutputFolder() {
  std::string folder = ox::ReadText(ox::setting::DiskWriterFolder);
  if (folder.empty()) folder = ox::InstallFolder(false) + "Output";
  ox::EnsureTrailingBackslash(folder);
  return folder;
}

// The title of the track the player has just started, from the suite's shared block.
std::string PlayingTitle() {
  ox::SharedDataBlock playing("OxTrackPlaying", sizeof(ox::TrackRecord));
  ox::TrackRecord record{};
  playing.ReadValue(record);
  std::string title = ox::SafeFileName(record.Title());  // a tag's title, where the track has one
  if (title.empty()) title = ox::FileTitleOf(record.Path());
  return title.empty() ? std::string("Track") : title;
}

void FillHeader(uint8_t* h, const WAVEFORMATEX& f, uint64_t dataBytes) {
  const uint32_t data = dataBytes > 0xFFFFFFFFu - 36 ? 0xFFFFFFFFu - 36 : static_cast<uint32_t>(dataBytes);
  std::memcpy(h, "RIFF", 4);
  ox::PutLe32(h + 4, 36 + data);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  ox::PutLe32(h + 16, 16);
  ox::PutLe16(h + 20, WAVE_FORMAT_PCM);
  ox::PutLe16(h + 22, f.nChannels);
  ox::PutLe32(h + 24, f.nSamplesPerSec);
  ox::PutLe32(h + 28, f.nSamplesPerSec * f.nBlockAlign);
  ox::PutLe16(h + 32, f.nBlockAlign);
  ox::PutLe16(h + 34, f.wBitsPerSample);
  std::memcpy(h + 36, "data", 4);
  ox::PutLe32(h + 40, data);
}

}  // namespace

extern "C" {

OxSoundOut OX_PLUGIN_API CreateANewSoundOutObject(int32_t* error, const WAVEFORMATEX* format, uintptr_t) {
  *error = 1;
  if (!format || format->nChannels == 0 || format->nBlockAlign == 0 || format->nSamplesPerSec == 0) return 0;
  std::unique_ptr<Output> out(new (std::nothrow) Output);
  if (!out) return 0;
  const bool opened = ox::NoThrow(false, [&] {
    const std::string folder = OutputFolder();
    ox::CreateFolders(folder);
    out->buffer.resize(kBufferBytes - kBufferBytes % format->nBlockAlign);
    out->file.Reset(CreateFileW(ox::Wide(folder + PlayingTitle() + ".wav").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(out->file);
  });
  if (!opened) return 0;
  out->format = *format;
  uint8_t header[kHeaderBytes];
  FillHeader(header, out->format, 0);
  if (!WriteAt(out->file.Get(), header, kHeaderBytes, FILE_BEGIN)) return 0;
  *error = 0;
  return reinterpret_cast<OxSoundOut>(out.release());
}

void OX_PLUGIN_API DeleteASoundOutObject(OxSoundOut handle) {
  Output* out = FromHandle(handle);
  if (!out) return;
  // The sizes go into the header last. A header that cannot be rewritten at the start is written
  // nowhere else: the samples stay whole.
  uint8_t header[kHeaderBytes];
  FillHeader(header, out->format, out->dataBytes);
  WriteAt(out->file.Get(), header, kHeaderBytes, FILE_BEGIN);
  delete out;
}

uint8_t OX_PLUGIN_API ServiceCall(OxSoundOut handle, void** buffer, uint32_t* bufferBytes) {
  Output* out = FromHandle(handle);
  *buffer = nullptr;
  *bufferBytes = 0;
  if (!out) return 1;
  *buffer = out->buffer.data();
  *bufferBytes = static_cast<uint32_t>(out->buffer.size());
  return 1;  // every block is on disk when ANewDataBlockArrived returns: nothing is ever pending
}

void OX_PLUGIN_API ANewDataBlockArrived(OxSoundOut handle, void* buffer, uint32_t bytes, uint8_t) {
  Output* out = FromHandle(handle);
  if (!out || !buffer || bytes == 0) return;
  if (bytes > out->buffer.size()) bytes = static_cast<uint32_t>(out->buffer.size());
  if (WriteAt(out->file.Get(), buffer, bytes, FILE_END)) {
    out->dataBytes += bytes;
    out->sinceSkip += bytes;
  }
}

uint32_t OX_PLUGIN_API HowManyBytesHaveBeenWritten(OxSoundOut handle) {
  Output* out = FromHandle(handle);
  return out ? out->sinceSkip : 0;
}

void OX_PLUGIN_API SkipTo(OxSoundOut handle, int32_t) {
  if (Output* out = FromHandle(handle)) out->sinceSkip = 0;
}

// The file records the samples as the player sent them: volume and pause change nothing here.
void OX_PLUGIN_API SetVolume(OxSoundOut, int32_t, int32_t) {}
void OX_PLUGIN_API Pause(OxSoundOut) {}
void OX_PLUGIN_API UnPause(OxSoundOut) {}

}  // extern "C"
