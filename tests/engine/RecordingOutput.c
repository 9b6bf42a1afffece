/* A sound output for the playback tests: it keeps everything it is handed, with the calls made to
 * it, and plays at a settable multiple of real time, like a device (its clock stalls when it runs
 * out of data and stops while paused). Tests in the same process read what it kept through
 * RecordingGet; in another process (the player) it takes its speed from OX_RECORDING_SPEED and
 * OX_RECORDING_BLOCK_MS and, when OX_RECORDING_DIR is set, leaves each object's samples in
 * <dir>\rec<N>.raw and "first-tick last-tick bytes" in <dir>\rec<N>.txt when deleted. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SoundOutputPlugin.h"
#include "Recording.h"

#define MAX_OBJECTS 16

typedef struct {
  Recording r;
  uint8_t* block;
  uint32_t blockBytes;
  int outstanding; /* the block is handed out */
  uint64_t received, played, countBase; /* bytes */
  double clock;                         /* bytes the device could have played */
  DWORD lastTick;
  int paused;
} Output;

static Output* g_objects[MAX_OBJECTS];
static int g_count;
static int g_speed = 1;
static uint32_t g_blockMs = 50;

static void Advance(Output* o) {
  const DWORD now = GetTickCount();
  if (!o->paused) o->clock += (double)(now - o->lastTick) * o->r.format.nAvgBytesPerSec * g_speed / 1000.0;
  o->lastTick = now;
  if (o->clock > (double)o->received) o->clock = (double)o->received; /* out of data: the clock stalls */
  o->played = (uint64_t)o->clock;
}

static void SetupFromEnvironment(void) {
  static int done;
  char value[32];
  if (done) return;
  done = 1;
  if (GetEnvironmentVariableA("OX_RECORDING_SPEED", value, sizeof value)) g_speed = atoi(value) > 0 ? atoi(value) : 1;
  if (GetEnvironmentVariableA("OX_RECORDING_BLOCK_MS", value, sizeof value)) g_blockMs = (uint32_t)atoi(value);
  if (g_blockMs == 0) g_blockMs = 50;
}

static void Dump(int index, const Recording* r) {
  char dir[260], path[300];
  FILE* f;
  if (!GetEnvironmentVariableA("OX_RECORDING_DIR", dir, sizeof dir)) return;
  snprintf(path, sizeof path, "%s\\rec%d.raw", dir, index);
  if ((f = fopen(path, "wb"))) {
    fwrite(r->data, 1, r->size, f);
    fclose(f);
  }
  snprintf(path, sizeof path, "%s\\rec%d.txt", dir, index);
  if ((f = fopen(path, "w"))) {
    fprintf(f, "%lu %lu %lu\n", (unsigned long)r->firstDataTick, (unsigned long)r->lastDataTick, (unsigned long)r->size);
    fclose(f);
  }
}

__declspec(dllexport) void RecordingSetup(int speed, uint32_t blockMs) {
  SetupFromEnvironment();
  g_speed = speed > 0 ? speed : 1;
  g_blockMs = blockMs ? blockMs : 50;
}

__declspec(dllexport) int RecordingCount(void) { return g_count; }

__declspec(dllexport) const Recording* RecordingGet(int index) {
  return index >= 0 && index < g_count ? &g_objects[index]->r : NULL;
}

__declspec(dllexport) void RecordingReset(void) {
  for (int i = 0; i < g_count; ++i) {
    free(g_objects[i]->r.data);
    free(g_objects[i]->block);
    free(g_objects[i]);
  }
  g_count = 0;
}

OxSoundOut OX_PLUGIN_API CreateANewSoundOutObject(int32_t* error, const WAVEFORMATEX* format, uintptr_t hint) {
  Output* o;
  (void)hint;
  SetupFromEnvironment();
  *error = 1;
  if (!format || format->nBlockAlign == 0 || g_count == MAX_OBJECTS) return 0;
  o = (Output*)calloc(1, sizeof *o);
  o->r.format = *format;
  o->blockBytes = format->nAvgBytesPerSec / 1000 * g_blockMs;
  o->blockBytes -= o->blockBytes % format->nBlockAlign;
  if (o->blockBytes == 0) o->blockBytes = format->nBlockAlign;
  o->block = (uint8_t*)malloc(o->blockBytes);
  o->lastTick = GetTickCount();
  o->r.left = o->r.right = -1;
  g_objects[g_count++] = o;
  *error = 0;
  return (OxSoundOut)o;
}

void OX_PLUGIN_API DeleteASoundOutObject(OxSoundOut handle) {
  Output* o = (Output*)handle;
  o->r.deleted = 1;
  if (o->outstanding) o->r.brokenPromises++;
  for (int i = 0; i < g_count; ++i)
    if (g_objects[i] == o) Dump(i, &o->r);
}

uint8_t OX_PLUGIN_API ServiceCall(OxSoundOut handle, void** buffer, uint32_t* bytes) {
  Output* o = (Output*)handle;
  Advance(o);
  if (o->outstanding) o->r.brokenPromises++;
  /* Room for more while less than four blocks wait. */
  if (o->received - o->played < 4ull * o->blockBytes) {
    *buffer = o->block;
    *bytes = o->blockBytes;
    o->outstanding = 1;
  } else {
    *buffer = NULL;
    *bytes = 0;
  }
  return o->played >= o->received;
}

void OX_PLUGIN_API ANewDataBlockArrived(OxSoundOut handle, void* buffer, uint32_t bytes, uint8_t end) {
  Output* o = (Output*)handle;
  Recording* r = &o->r;
  Advance(o);
  if (buffer == o->block) o->outstanding = 0;
  if (end) r->endSeen = 1;
  if (!buffer || bytes == 0) return;
  if (r->size + bytes > r->capacity) {
    r->capacity = (r->size + bytes) * 2;
    r->data = (uint8_t*)realloc(r->data, r->capacity);
  }
  memcpy(r->data + r->size, buffer, bytes);
  if (r->size == 0) r->firstDataTick = GetTickCount();
  r->lastDataTick = GetTickCount();
  r->size += bytes;
  o->received += bytes;
}

uint32_t OX_PLUGIN_API HowManyBytesHaveBeenWritten(OxSoundOut handle) {
  Output* o = (Output*)handle;
  Advance(o);
  return (uint32_t)(o->played - o->countBase);
}

void OX_PLUGIN_API SkipTo(OxSoundOut handle, int32_t percent) {
  Output* o = (Output*)handle;
  Recording* r = &o->r;
  Advance(o);
  if (r->skips < (int)(sizeof r->skipAt / sizeof r->skipAt[0])) {
    r->skipAt[r->skips] = r->size;
    r->skipPercent[r->skips++] = percent;
  }
  o->received = o->played; /* what waited is dropped */
  o->clock = (double)o->played;
  o->countBase = o->played;
}

void OX_PLUGIN_API SetVolume(OxSoundOut handle, int32_t left, int32_t right) {
  Recording* r = &((Output*)handle)->r;
  r->left = left;
  r->right = right;
  ++r->volumeCalls;
}

void OX_PLUGIN_API Pause(OxSoundOut handle) {
  Output* o = (Output*)handle;
  Advance(o);
  o->paused = 1;
  ++o->r.pauses;
}

void OX_PLUGIN_API UnPause(OxSoundOut handle) {
  Output* o = (Output*)handle;
  Advance(o);
  o->paused = 0;
}
