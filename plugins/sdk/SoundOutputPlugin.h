/* Orlavox sound output plug-in interface.
 *
 * A sound output plug-in is a DLL in the player's "SoundOutputs\" folder that plays PCM blocks on
 * some device (or writes them somewhere). Its name is its file name without ".dll"; the user picks
 * one by that name (setting "DefaultSO", "Wave Out" by default). The player makes one output object
 * per playing track and drives it from that track's playback thread: about every 25 ms it calls
 * ServiceCall, fills the buffer it is handed, and hands it back through ANewDataBlockArrived.
 *
 * Conventions:
 *  - Every entry point is a plain C function exported under the undecorated name given here, using
 *    the C calling convention. Entry points a DLL does not export are never called.
 *  - An output object is an opaque pointer-sized handle (uintptr_t: 32 bits on the 32-bit player);
 *    0 is never a valid handle.
 *  - All calls for one output object come from one thread; two objects may be driven from two
 *    threads at once (a track fading out while the next fades in).
 *  - Nothing may throw out of an entry point.
 */
#ifndef ORLAVOX_SOUND_OUTPUT_PLUGIN_H
#define ORLAVOX_SOUND_OUTPUT_PLUGIN_H

#include "PluginCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef uintptr_t OxSoundOut;

/* Opens an output for PCM of the given format.
 *   error       receives 0 on success; non-zero when no output could be opened (the handle is 0)
 *   format      the codec's format (see CodecPlugin.h); owned by the caller and valid until the
 *               object is deleted. Blocks are interleaved little-endian samples: 8-bit unsigned
 *               (silence 128), 16- or 24-bit signed.
 *   outputHint  the codec's value, passed on unchanged
 */
OxSoundOut OX_PLUGIN_API CreateANewSoundOutObject(int32_t* error, const WAVEFORMATEX* format, uintptr_t outputHint);

/* Stops at once, drops what has not been played and frees the object. 0 is ignored. */
void OX_PLUGIN_API DeleteASoundOutObject(OxSoundOut output);

/* Called on every pass of the playback loop. Sets *buffer to a block the player is to fill next,
 * with room for *bufferBytes bytes (a whole number of sample frames), or to null when it wants no
 * data now. The block belongs to the object; the player writes it and always hands it back with
 * ANewDataBlockArrived before its next ServiceCall or DeleteASoundOutObject, with 0 bytes when it
 * had nothing to put in. Returns non-zero once everything handed over has been played out (and
 * nothing waits), else 0. */
uint8_t OX_PLUGIN_API ServiceCall(OxSoundOut output, void** buffer, uint32_t* bufferBytes);

/* Hands back the block ServiceCall gave, holding bytes bytes (possibly fewer than its room, possibly
 * 0). buffer is null only for an end of stream that comes without a block. endOfStream non-zero:
 * nothing follows; the output plays out what it holds. */
void OX_PLUGIN_API ANewDataBlockArrived(OxSoundOut output, void* buffer, uint32_t bytes, uint8_t endOfStream);

/* Bytes actually played since the object was created or last sought (SkipTo). The player divides
 * by nAvgBytesPerSec for the playing position. */
uint32_t OX_PLUGIN_API HowManyBytesHaveBeenWritten(OxSoundOut output);

/* Called right after the codec's SkipTo: drops everything held and not yet played and restarts the
 * count of HowManyBytesHaveBeenWritten at 0. percent (0 to 100) is for outputs that care. */
void OX_PLUGIN_API SkipTo(OxSoundOut output, int32_t percent);

/* Output volume, left and right 0 to 100. */
void OX_PLUGIN_API SetVolume(OxSoundOut output, int32_t left, int32_t right);

/* Pause holds playing (and the count of played bytes) until UnPause. */
void OX_PLUGIN_API Pause(OxSoundOut output);
void OX_PLUGIN_API UnPause(OxSoundOut output);

/* Looked up by the player but never called; for the suite's options program. */
void OX_PLUGIN_API ShowAboutOptionsPage(HWND parent);

/* Pointer types, for hosts that look the entry points up with GetProcAddress. */
typedef OxSoundOut(__cdecl* OxCreateSoundOutFn)(int32_t*, const WAVEFORMATEX*, uintptr_t);
typedef void(__cdecl* OxDeleteSoundOutFn)(OxSoundOut);
typedef uint8_t(__cdecl* OxServiceCallFn)(OxSoundOut, void**, uint32_t*);
typedef void(__cdecl* OxNewDataBlockFn)(OxSoundOut, void*, uint32_t, uint8_t);
typedef uint32_t(__cdecl* OxBytesWrittenFn)(OxSoundOut);

#ifdef __cplusplus
}
#endif

#endif /* ORLAVOX_SOUND_OUTPUT_PLUGIN_H */
