/* Orlavox visual output plug-in interface.
 *
 * A visual output plug-in is a DLL in the player's "Visual Outputs\" folder that draws pictures of
 * the music in windows of its own. The user shows or hides each one (the DWORD "Hide" under
 * HKEY_CURRENT_USER\Software\Quillmarsh\Orlavox\<file name with ".dll">: 0 or missing shows it).
 * The player loads a shown plug-in, calls Show, then Render about every 50 ms of audio with a
 * snapshot of what is audible at that moment, and Hide before it unloads the DLL.
 *
 * Conventions:
 *  - Every entry point is a plain C function exported under the undecorated name given here, using
 *    the C calling convention. Entry points a DLL does not export are never called.
 *  - Every call comes from the player's one visual output thread, which pumps that thread's window
 *    messages every 25 ms: windows the plug-in creates in Show (or later, from Render) belong to
 *    that thread and get their messages there. Do not block in an entry point; the thread renders
 *    every plug-in in turn.
 *  - Nothing may throw out of an entry point.
 *
 * This header also builds without <windows.h> (the snapshot is plain data), for code that only
 * reads snapshots.
 */
#ifndef ORLAVOX_VISUAL_OUTPUT_PLUGIN_H
#define ORLAVOX_VISUAL_OUTPUT_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define OX_VIS_FRAMES 512 /* sample frames in a waveform */
#define OX_VIS_BINS 256   /* spectrum bins: bin k is k x rate / 512 Hz */

#pragma pack(push, 1)
/* What Render is handed: 512 consecutive sample frames of both channels and their spectra. */
typedef struct OxVisualSnapshot {
  uint32_t sampleRate;                  /* Hz; 44100 in a zero snapshot */
  int8_t waveform[2][OX_VIS_FRAMES];    /* 16-bit samples / 256, 8-bit ones - 128; a mono source's
                                           channel 0 is repeated in channel 1 */
  uint8_t spectrum[2][OX_VIS_BINS];     /* 120 x log10 |X_k| of a 512-point transform of the
                                           waveform / 128, at least 0 and at most 255 */
  uint32_t timeMs;                      /* stream time of the first frame */
} OxVisualSnapshot;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(OxVisualSnapshot) == 1544, "a visual snapshot is 1544 bytes");
#else
_Static_assert(sizeof(OxVisualSnapshot) == 1544, "a visual snapshot is 1544 bytes");
#endif

#ifdef _WIN32
#include "PluginCommon.h"

/* Called once right after the DLL is loaded: open the windows, start whatever the plug-in needs. */
void OX_PLUGIN_API Show(void);

/* Called right before the DLL is unloaded: close the windows, free everything. */
void OX_PLUGIN_API Hide(void);

/* Draws one snapshot. While the player is stopped or paused, a snapshot of zeros (rate 44100)
 * comes about every 100 ms, so a plug-in keeps ticking. The snapshot is valid only during the
 * call. Returns 0 to go on; non-zero asks to be hidden for good: the player writes "Hide" =
 * 0xFFFFFFFF, calls Hide and unloads the DLL at its next check, and does not load it at later
 * starts until the user shows it again. A plug-in whose window the user closed returns non-zero. */
uint8_t OX_PLUGIN_API Render(const OxVisualSnapshot* snapshot);

typedef void(__cdecl* OxVisShowFn)(void);
typedef void(__cdecl* OxVisHideFn)(void);
typedef uint8_t(__cdecl* OxVisRenderFn)(const OxVisualSnapshot* snapshot);
#endif

#ifdef __cplusplus
}
#endif

#endif /* ORLAVOX_VISUAL_OUTPUT_PLUGIN_H */
