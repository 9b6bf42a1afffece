/* A codec for the playback tests that renders by itself (it wants no sound output): it announces
 * ".oxself" and "plays" for 600 ms of wall time. */
#include <stdlib.h>
#include <string.h>

#include "CodecPlugin.h"

typedef struct {
  DWORD start;
} Self;

/* The length of the last path the player opened, for tests of how it hands paths over. */
static size_t g_lastPathLength;
__declspec(dllexport) size_t SelfRenderLastPathLength(void) { return g_lastPathLength; }

void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description) {
  if (index != 0) return;
  strcpy(extension, ".oxself");
  strcpy(description, "Self-rendering test");
}

OxDecoder OX_PLUGIN_API CreateANewDecoderObject(const char* path, int32_t* error, uint8_t* wantsOutput,
                                                WAVEFORMATEX** format, uintptr_t* hint) {
  Self* s = (Self*)calloc(1, sizeof *s);
  g_lastPathLength = strlen(path);
  s->start = GetTickCount();
  *error = 0;
  *wantsOutput = 0;
  *format = NULL;
  *hint = 0;
  return (OxDecoder)s;
}

void OX_PLUGIN_API DeleteADecoderObject(OxDecoder d) { free((Self*)d); }

uint32_t OX_PLUGIN_API OutputWantsABlockOfData(OxDecoder d, void* buffer, uint32_t bytes, uint8_t* end,
                                               uint32_t* ignored, uint32_t* position, uint32_t* length) {
  const DWORD elapsed = GetTickCount() - ((Self*)d)->start;
  (void)buffer, (void)bytes, (void)ignored;
  *length = 600;
  *position = elapsed < 600 ? elapsed : 600;
  *end = elapsed >= 600;
  return 0;
}
