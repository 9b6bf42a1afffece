// Sound output plug-in "Wave Out", the player's default: plays through the waveOut device of the
// system's sound mapper, with a small ring of buffers that the player fills one at a time.
#include <new>
#include <vector>

#include "SoundOutputPlugin.h"  // windows.h first: mmsystem.h needs its types

#include <mmsystem.h>

#include "base/NoThrow.h"

namespace {

constexpr int kBuffers = 8;
constexpr uint32_t kBufferMs = 50;  // so at most about 400 ms wait in the device

struct Output {
  HWAVEOUT device = nullptr;
  uint32_t blockAlign = 1;
  uint32_t bufferBytes = 0;
  std::vector<uint8_t> memory;  // kBuffers buffers of bufferBytes
  WAVEHDR headers[kBuffers] = {};
  int handedOut = -1;  // the buffer ServiceCall gave and ANewDataBlockArrived has not brought back
};

Output* FromHandle(OxSoundOut handle) { return reinterpret_cast<Output*>(handle); }

bool Queued(const WAVEHDR& h) { return (h.dwFlags & WHDR_PREPARED) && !(h.dwFlags & WHDR_DONE); }

// Unprepares a buffer the device has finished with, so it can be handed out again.
void Release(Output& o, WAVEHDR& h) {
  if ((h.dwFlags & WHDR_PREPARED) && (h.dwFlags & WHDR_DONE)) waveOutUnprepareHeader(o.device, &h, sizeof h);
}

// Stops the device, which marks every queued buffer done, and frees them all.
void Drop(Output& o) {
  waveOutReset(o.device);
  for (WAVEHDR& h : o.headers) Release(o, h);
  o.handedOut = -1;
}

}  // namespace

extern "C" {

OxSoundOut OX_PLUGIN_API CreateANewSoundOutObject(int32_t* error, const WAVEFORMATEX* format, uintptr_t) {
  *error = 1;
  if (!format || format->nBlockAlign == 0 || format->nAvgBytesPerSec == 0) return 0;
  auto* o = new (std::nothrow) Output;
  if (!o) return 0;
  WAVEFORMATEX f = *format;
  f.cbSize = 0;
  if (waveOutOpen(&o->device, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    delete o;
    return 0;
  }
  o->blockAlign = format->nBlockAlign;
  const uint32_t frames = format->nAvgBytesPerSec / o->blockAlign * kBufferMs / 1000;
  o->bufferBytes = (frames ? frames : 1) * o->blockAlign;
  if (!ox::NoThrow(false, [&] {
        o->memory.resize(size_t{o->bufferBytes} * kBuffers);
        return true;
      })) {
    waveOutClose(o->device);
    delete o;
    return 0;
  }
  for (int i = 0; i < kBuffers; ++i) o->headers[i].lpData = reinterpret_cast<LPSTR>(&o->memory[size_t{o->bufferBytes} * i]);
  *error = 0;
  return reinterpret_cast<OxSoundOut>(o);
}

void OX_PLUGIN_API DeleteASoundOutObject(OxSoundOut handle) {
  Output* o = FromHandle(handle);
  if (!o) return;
  Drop(*o);
  waveOutClose(o->device);
  delete o;
}

uint8_t OX_PLUGIN_API ServiceCall(OxSoundOut handle, void** buffer, uint32_t* bufferBytes) {
  *buffer = nullptr;
  *bufferBytes = 0;
  Output* o = FromHandle(handle);
  if (!o) return 1;
  bool playing = false;
  int free = -1;
  for (int i = 0; i < kBuffers; ++i) {
    WAVEHDR& h = o->headers[i];
    Release(*o, h);
    if (Queued(h)) playing = true;
    else if (free < 0 && i != o->handedOut) free = i;
  }
  if (o->handedOut >= 0) free = o->handedOut;  // never brought back: the same one again
  if (free >= 0) {
    o->handedOut = free;
    *buffer = o->headers[free].lpData;
    *bufferBytes = o->bufferBytes;
  }
  return playing ? 0 : 1;
}

void OX_PLUGIN_API ANewDataBlockArrived(OxSoundOut handle, void* buffer, uint32_t bytes, uint8_t) {
  Output* o = FromHandle(handle);
  if (!o || o->handedOut < 0) return;
  WAVEHDR& h = o->headers[o->handedOut];
  o->handedOut = -1;
  if (buffer != h.lpData || bytes == 0) return;
  h.dwBufferLength = (bytes < o->bufferBytes ? bytes : o->bufferBytes) / o->blockAlign * o->blockAlign;
  h.dwFlags = 0;
  if (h.dwBufferLength == 0 || waveOutPrepareHeader(o->device, &h, sizeof h) != MMSYSERR_NOERROR) return;
  if (waveOutWrite(o->device, &h, sizeof h) != MMSYSERR_NOERROR) waveOutUnprepareHeader(o->device, &h, sizeof h);
}

uint32_t OX_PLUGIN_API HowManyBytesHaveBeenWritten(OxSoundOut handle) {
  Output* o = FromHandle(handle);
  if (!o) return 0;
  MMTIME t{};
  t.wType = TIME_BYTES;
  if (waveOutGetPosition(o->device, &t, sizeof t) != MMSYSERR_NOERROR) return 0;
  if (t.wType == TIME_BYTES) return t.u.cb;
  if (t.wType == TIME_SAMPLES) return t.u.sample * o->blockAlign;
  return 0;
}

void OX_PLUGIN_API SkipTo(OxSoundOut handle, int32_t) {
  if (Output* o = FromHandle(handle)) Drop(*o);  // the reset also restarts the device's byte count
}

void OX_PLUGIN_API SetVolume(OxSoundOut handle, int32_t left, int32_t right) {
  Output* o = FromHandle(handle);
  if (!o) return;
  auto scale = [](int32_t v) { return static_cast<DWORD>((v < 0 ? 0 : v > 100 ? 100 : v) * 0xFFFF / 100); };
  waveOutSetVolume(o->device, scale(left) | scale(right) << 16);
}

void OX_PLUGIN_API Pause(OxSoundOut handle) {
  if (Output* o = FromHandle(handle)) waveOutPause(o->device);
}

void OX_PLUGIN_API UnPause(OxSoundOut handle) {
  if (Output* o = FromHandle(handle)) waveOutRestart(o->device);
}

}  // extern "C"
