/* Example sound output plug-in: the smallest useful output, to copy when writing one.
 *
 * It plays nothing: every block it is handed counts as played at once. That makes it a "null"
 * output, handy to run the player at full speed. A real output queues the block on a device in
 * ANewDataBlockArrived and counts the bytes the device has played. Built as "Null Output.dll". */
#include <stdlib.h>

#include "SoundOutputPlugin.h"

#define BLOCK_BYTES 16384

typedef struct {
  uint32_t blockAlign;
  uint32_t played; /* bytes since creation or the last SkipTo */
  uint8_t block[BLOCK_BYTES];
} NullOutput;

OxSoundOut OX_PLUGIN_API CreateANewSoundOutObject(int32_t* error, const WAVEFORMATEX* format, uintptr_t outputHint) {
  NullOutput* o;
  (void)outputHint;
  *error = 1;
  if (!format || format->nBlockAlign == 0 || format->nBlockAlign > BLOCK_BYTES) return 0;
  o = (NullOutput*)calloc(1, sizeof *o);
  if (!o) return 0;
  o->blockAlign = format->nBlockAlign;
  *error = 0;
  return (OxSoundOut)o;
}

void OX_PLUGIN_API DeleteASoundOutObject(OxSoundOut output) { free((NullOutput*)output); }

uint8_t OX_PLUGIN_API ServiceCall(OxSoundOut output, void** buffer, uint32_t* bufferBytes) {
  NullOutput* o = (NullOutput*)output;
  *buffer = o->block; /* always ready for more: whole frames only */
  *bufferBytes = BLOCK_BYTES - BLOCK_BYTES % o->blockAlign;
  return 1; /* nothing is ever waiting to be played */
}

void OX_PLUGIN_API ANewDataBlockArrived(OxSoundOut output, void* buffer, uint32_t bytes, uint8_t endOfStream) {
  (void)buffer, (void)endOfStream;
  ((NullOutput*)output)->played += bytes;
}

uint32_t OX_PLUGIN_API HowManyBytesHaveBeenWritten(OxSoundOut output) { return ((NullOutput*)output)->played; }

void OX_PLUGIN_API SkipTo(OxSoundOut output, int32_t percent) {
  (void)percent;
  ((NullOutput*)output)->played = 0;
}
