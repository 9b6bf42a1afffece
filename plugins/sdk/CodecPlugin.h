/* Orlavox codec plug-in interface.
 *
 * A codec plug-in is a DLL in the player's "Multiplayer\Input\" folder that decodes some file types
 * to PCM. The player loads every DLL there at start, asks each for the extensions it decodes
 * (WhatFormats), and for a file of such an extension asks it for track information (GetTrackInfo)
 * and drives one decoder object per playing track.
 *
 * Conventions:
 *  - Every entry point is a plain C function exported under the undecorated name given here, using
 *    the C calling convention (the caller removes the arguments). Entry points a DLL does not export
 *    are never called, so a plug-in exports only what it supports.
 *  - Texts are ANSI (the system code page), NUL-terminated. Paths are at most 259 characters.
 *  - A decoder object is an opaque pointer-sized handle (uintptr_t: 32 bits on the 32-bit player)
 *    that the plug-in makes up; 0 is never a valid handle.
 *  - All calls for one decoder object come from one thread, the track's playback thread; calls for
 *    different objects may come from two playback threads at once. WhatFormats, GetTrackInfo and
 *    GetStringInfo may be called from any thread at any time.
 *  - Nothing may throw out of an entry point.
 */
#ifndef ORLAVOX_CODEC_PLUGIN_H
#define ORLAVOX_CODEC_PLUGIN_H

#include "PluginCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef uintptr_t OxDecoder;

/* Field capacities, terminating NUL included. */
#define OX_CODEC_EXTENSION_SIZE 260   /* room given to WhatFormats; the extension must fit 99 */
#define OX_CODEC_DESCRIPTION_SIZE 260
#define OX_CODEC_TAG_SIZE 100         /* artist, title, album */
#define OX_CODEC_TEXT_SIZE 260        /* GetTrackInfo's text, GetStringInfo's text */

/* Announces the file types the plug-in decodes. Called with index 0, 1, 2, ... until the plug-in
 * leaves extension empty. extension: the type's extension with its dot (".wav"), matched against
 * file names without regard to case, at most 99 characters. description: the text the open-file
 * dialog shows for it ("WAV Audio"), at most 259 characters. Both buffers hold 260 bytes and come
 * in holding "". */
void OX_PLUGIN_API WhatFormats(int32_t index, char* extension, char* description);

/* Track information for the file at path, read without decoding it. Every numeric output comes in
 * as 0 and every text as ""; the plug-in fills what it knows and leaves the rest:
 *   bitRateKbps   average bit rate in kbit/s
 *   sampleRateHz  sample rate in Hz
 *   channels      1 mono, 2 stereo, ...
 *   lengthMs      playing time in milliseconds
 *   fileSizeBytes size of the file in bytes (files of 4 GiB and more: 0xFFFFFFFF)
 *   artist, title, album  100-byte fields, NUL-terminated, cut to fit
 *   yearAndTrack  year in the low 16 bits, track number in the high 16 bits; 0 when unknown
 *   preference    the track's play preference 0-9 if the file carries one, else left 0
 *   text          at least 260 bytes: free text the plug-in may add
 * A file that cannot be read leaves everything as it came. */
void OX_PLUGIN_API GetTrackInfo(const char* path, uint16_t* bitRateKbps, uint32_t* sampleRateHz, uint8_t* channels,
                                uint32_t* lengthMs, uint32_t* fileSizeBytes, char* artist, char* title, char* album,
                                uint32_t* yearAndTrack, uint8_t* preference, char* text);

/* Opens path for decoding and returns the new decoder object.
 *   error        receives 0 on success; non-zero when the file cannot be opened or decoded (the
 *                handle returned is then 0 and nothing else need be called)
 *   wantsOutput  receives 1 when the plug-in delivers PCM for a sound output plug-in through
 *                OutputWantsABlockOfData; 0 when it renders the sound by itself
 *   format       receives a pointer to the PCM format of the blocks it delivers. The WAVEFORMATEX
 *                belongs to the decoder object and stays valid until DeleteADecoderObject. The
 *                player reads wBitsPerSample, nChannels, nSamplesPerSec and nAvgBytesPerSec (a
 *                rate of 0 counts as 1), never writes it, and hands the pointer on to the sound
 *                output plug-in as a const pointer.
 *   outputHint   receives any value; the player passes it unchanged to CreateANewSoundOutObject.
 */
OxDecoder OX_PLUGIN_API CreateANewDecoderObject(const char* path, int32_t* error, uint8_t* wantsOutput,
                                                WAVEFORMATEX** format, uintptr_t* outputHint);

/* Closes the file and frees the object and its format. 0 is ignored. */
void OX_PLUGIN_API DeleteADecoderObject(OxDecoder decoder);

/* Fills buffer with the next PCM block: whole sample frames, interleaved little-endian samples of
 * the announced format, at most bufferBytes bytes. Returns the number of bytes written.
 *   endOfStream  receives non-zero with the last block of the stream; every later call returns 0
 *                bytes with endOfStream set
 *   ignored      not used by the player; may be left alone
 *   positionMs   receives the stream position of the block's first sample, in milliseconds
 *   lengthMs     receives the length of the stream in milliseconds
 * A self-rendering plug-in (wantsOutput 0) gets a null buffer and 0 bytes: it reports position,
 * length and end only, and returns 0. */
uint32_t OX_PLUGIN_API OutputWantsABlockOfData(OxDecoder decoder, void* buffer, uint32_t bufferBytes,
                                               uint8_t* endOfStream, uint32_t* ignored, uint32_t* positionMs,
                                               uint32_t* lengthMs);

/* Moves the stream to percent (0 to 100; values outside are clamped) of its length, on a sample
 * frame boundary. The next block starts there. */
void OX_PLUGIN_API SkipTo(OxDecoder decoder, int32_t percent);

/* Volume of a self-rendering plug-in, left and right 0 to 100. */
void OX_PLUGIN_API SetVolume(OxDecoder decoder, int32_t left, int32_t right);

/* Pause and resume a self-rendering plug-in. */
void OX_PLUGIN_API Pause(OxDecoder decoder);
void OX_PLUGIN_API UnPause(OxDecoder decoder);

/* Free text about the file (codec, rates, tags) that closes the player's track information text.
 * text holds 260 bytes and comes in as "". */
void OX_PLUGIN_API GetStringInfo(const char* path, char* text);

/* Looked up by the player but never called; for the suite's other programs. parent: the window to
 * own the dialog, may be null. */
void OX_PLUGIN_API ShowAboutOptionsPage(HWND parent);

/* Tag editing for the suite's other programs; the player never calls them. element names a tag
 * field ("artist", "title", "album", "year", "track"); value holds at least 260 bytes. Non-zero
 * when done. */
int32_t OX_PLUGIN_API GetIDTagElement(const char* path, const char* element, char* value);
int32_t OX_PLUGIN_API SetIDTagElement(const char* path, const char* element, const char* value);

/* Optional: the loudness corrections (ReplayGain) the file at path carries in its tags, read
 * without decoding it. The caller sets info->size to sizeof(OxLoudnessInfo) and zeroes the rest;
 * the plug-in fills what the file has, sets the matching flags, and returns non-zero when it found
 * a gain. Gains are in dB towards the ReplayGain reference level, peaks linear (1.0 is full scale).
 * Hosts treat a plug-in without this entry point as one whose files carry no such tags. */
#define OX_LOUDNESS_TRACK_GAIN 0x1u
#define OX_LOUDNESS_ALBUM_GAIN 0x2u
#define OX_LOUDNESS_TRACK_PEAK 0x4u
#define OX_LOUDNESS_ALBUM_PEAK 0x8u
typedef struct OxLoudnessInfo {
  uint32_t size;  /* bytes of the structure the caller knows; later members come after these */
  uint32_t flags; /* OX_LOUDNESS_* for each value filled */
  float trackGainDb, albumGainDb;
  float trackPeak, albumPeak;
} OxLoudnessInfo;
int32_t OX_PLUGIN_API GetLoudnessInfo(const char* path, OxLoudnessInfo* info);

/* Pointer types, for hosts that look the entry points up with GetProcAddress. */
typedef void(__cdecl* OxWhatFormatsFn)(int32_t, char*, char*);
typedef void(__cdecl* OxGetTrackInfoFn)(const char*, uint16_t*, uint32_t*, uint8_t*, uint32_t*, uint32_t*, char*,
                                        char*, char*, uint32_t*, uint8_t*, char*);
typedef OxDecoder(__cdecl* OxCreateDecoderFn)(const char*, int32_t*, uint8_t*, WAVEFORMATEX**, uintptr_t*);
typedef void(__cdecl* OxDeleteDecoderFn)(OxDecoder);
typedef uint32_t(__cdecl* OxOutputWantsBlockFn)(OxDecoder, void*, uint32_t, uint8_t*, uint32_t*, uint32_t*,
                                                uint32_t*);
typedef void(__cdecl* OxGetStringInfoFn)(const char*, char*);
typedef int32_t(__cdecl* OxGetIDTagElementFn)(const char*, const char*, char*);
typedef int32_t(__cdecl* OxSetIDTagElementFn)(const char*, const char*, const char*);
typedef int32_t(__cdecl* OxGetLoudnessInfoFn)(const char*, OxLoudnessInfo*);

#ifdef __cplusplus
}
#endif

#endif /* ORLAVOX_CODEC_PLUGIN_H */
