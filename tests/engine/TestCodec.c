/* Codec DLLs for the host tests, built several times with other formats:
 *   FORMATS   the extensions announced, as a comma-separated list of string literals
 *   PARTIAL   export WhatFormats only */
#include <string.h>

#include "CodecPlugin.h"

static const char* const kFormats[] = {FORMATS, ""};

void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description) {
  if (index < 0 || index >= (int32_t)(sizeof kFormats / sizeof kFormats[0])) return;
  strcpy(extension, kFormats[index]);
  strcpy(description, kFormats[index][0] ? TAG " files" : "");
}

#ifndef PARTIAL
/* Reports which DLL answered through the artist field; the title is the file's name, the length
 * 61 s plus 1 s per character of that name. */
void OX_PLUGIN_API GetTrackInfo(const char* path, uint16_t* bitRateKbps, uint32_t* sampleRateHz, uint8_t* channels,
                                uint32_t* lengthMs, uint32_t* fileSizeBytes, char* artist, char* title, char* album,
                                uint32_t* yearAndTrack, uint8_t* preference, char* text) {
  const char* name = strrchr(path, '\\') ? strrchr(path, '\\') + 1 : path;
  (void)bitRateKbps, (void)sampleRateHz, (void)channels, (void)fileSizeBytes;
  (void)album, (void)yearAndTrack, (void)preference, (void)text;
  strcpy(artist, TAG);
  strncpy(title, name, 99);
  *lengthMs = 61000 + 1000 * (uint32_t)strlen(name);
}

void OX_PLUGIN_API SkipTo(OxDecoder decoder, int32_t percent) { (void)decoder, (void)percent; }
#endif
