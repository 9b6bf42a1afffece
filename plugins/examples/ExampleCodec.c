/* Example codec plug-in: the smallest useful codec, to copy when writing one.
 *
 * It "decodes" files with the extension ".oxtone": whatever the file holds, it plays one second of
 * a 441 Hz sine, 16-bit mono at 44100 Hz. A real codec opens the file in CreateANewDecoderObject
 * and reads it in OutputWantsABlockOfData. Built as "Example Tone.dll". */
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "CodecPlugin.h"

#define RATE 44100
#define FRAMES RATE /* one second */

typedef struct {
  WAVEFORMATEX format; /* handed to the player; lives as long as the decoder */
  uint32_t frame;      /* next frame to deliver */
} ToneDecoder;

static uint32_t MsOfFrames(uint32_t frames) { return (uint32_t)((uint64_t)frames * 1000 / RATE); }

void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description) {
  if (index != 0) return; /* one format: leaving extension empty ends the list */
  strcpy(extension, ".oxtone");
  strcpy(description, "Example tone");
}

void OX_PLUGIN_API GetTrackInfo(const char* path, uint16_t* bitRateKbps, uint32_t* sampleRateHz, uint8_t* channels,
                                uint32_t* lengthMs, uint32_t* fileSizeBytes, char* artist, char* title, char* album,
                                uint32_t* yearAndTrack, uint8_t* preference, char* text) {
  (void)path, (void)fileSizeBytes, (void)album, (void)yearAndTrack, (void)preference, (void)text;
  *bitRateKbps = RATE * 16 / 1000;
  *sampleRateHz = RATE;
  *channels = 1;
  *lengthMs = MsOfFrames(FRAMES);
  strcpy(artist, "Orlavox");
  strcpy(title, "Example tone");
}

OxDecoder OX_PLUGIN_API CreateANewDecoderObject(const char* path, int32_t* error, uint8_t* wantsOutput,
                                                WAVEFORMATEX** format, uintptr_t* outputHint) {
  ToneDecoder* d = (ToneDecoder*)calloc(1, sizeof *d);
  (void)path;
  if (!d) {
    *error = 1;
    return 0;
  }
  d->format.wFormatTag = WAVE_FORMAT_PCM;
  d->format.nChannels = 1;
  d->format.nSamplesPerSec = RATE;
  d->format.wBitsPerSample = 16;
  d->format.nBlockAlign = 2;
  d->format.nAvgBytesPerSec = RATE * 2;
  *error = 0;
  *wantsOutput = 1; /* PCM for a sound output plug-in */
  *format = &d->format;
  *outputHint = 0;
  return (OxDecoder)d;
}

void OX_PLUGIN_API DeleteADecoderObject(OxDecoder decoder) { free((ToneDecoder*)decoder); }

uint32_t OX_PLUGIN_API OutputWantsABlockOfData(OxDecoder decoder, void* buffer, uint32_t bufferBytes,
                                               uint8_t* endOfStream, uint32_t* ignored, uint32_t* positionMs,
                                               uint32_t* lengthMs) {
  ToneDecoder* d = (ToneDecoder*)decoder;
  int16_t* samples = (int16_t*)buffer;
  uint32_t n = 0;
  (void)ignored;
  *positionMs = MsOfFrames(d->frame);
  *lengthMs = MsOfFrames(FRAMES);
  for (; buffer && n < bufferBytes / 2 && d->frame < FRAMES; ++n, ++d->frame)
    samples[n] = (int16_t)(16000 * sin(2 * 3.14159265358979 * 441 * d->frame / RATE));
  *endOfStream = d->frame >= FRAMES;
  return n * 2;
}

void OX_PLUGIN_API SkipTo(OxDecoder decoder, int32_t percent) {
  ToneDecoder* d = (ToneDecoder*)decoder;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  d->frame = (uint32_t)((uint64_t)FRAMES * percent / 100);
}
