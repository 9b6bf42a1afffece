/* What the recording output (RecordingOutput.c) keeps per output object, as the playback tests read
 * it through RecordingGet. Include after <windows.h>. */
#pragma once

typedef struct {
  WAVEFORMATEX format;
  uint8_t* data; /* everything handed over, in order */
  size_t size, capacity;
  size_t skipAt[16]; /* data size at each SkipTo */
  int skipPercent[16];
  int skips;
  int left, right, volumeCalls, pauses, deleted, endSeen;
  DWORD firstDataTick; /* when the first non-empty block arrived */
  DWORD lastDataTick;
  int brokenPromises; /* buffers not handed back before the next ServiceCall or the delete */
} Recording;
