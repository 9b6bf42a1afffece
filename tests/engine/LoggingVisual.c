/* A visual output plug-in for the tests: it appends a line per call to the file named by
 * OX_VISUAL_LOG ("show", "hide", "render <snapshot time> <tick count> <rate> <first sample>"), and
 * Render answers what OX_VISUAL_ANSWER says (0 when unset). */
#include <stdio.h>
#include <stdlib.h>

#include "VisualOutputPlugin.h"

static void Log(const char* line) {
  char path[260];
  FILE* f;
  if (!GetEnvironmentVariableA("OX_VISUAL_LOG", path, sizeof path)) return;
  if ((f = fopen(path, "ab"))) {
    fputs(line, f);
    fclose(f);
  }
}

void OX_PLUGIN_API Show(void) { Log("show\n"); }
void OX_PLUGIN_API Hide(void) { Log("hide\n"); }

uint8_t OX_PLUGIN_API Render(const OxVisualSnapshot* s) {
  char line[128], answer[8] = "0";
  snprintf(line, sizeof line, "render %lu %lu %lu %d\n", (unsigned long)s->timeMs, (unsigned long)GetTickCount(),
           (unsigned long)s->sampleRate, s->waveform[0][0]);
  Log(line);
  GetEnvironmentVariableA("OX_VISUAL_ANSWER", answer, sizeof answer);
  return (uint8_t)atoi(answer);
}
