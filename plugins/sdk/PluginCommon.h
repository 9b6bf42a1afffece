/* What the Orlavox plug-in interfaces (CodecPlugin.h, SoundOutputPlugin.h) have in common. */
#ifndef ORLAVOX_PLUGIN_COMMON_H
#define ORLAVOX_PLUGIN_COMMON_H

#include <stdint.h>
#include <windows.h>
#include <mmreg.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Exported, C calling convention (the caller removes the arguments), undecorated name. */
#ifndef OX_PLUGIN_API
#define OX_PLUGIN_API __declspec(dllexport) __cdecl
#endif

/* Entry points both kinds share by name; the handle is a decoder or an output object. */
typedef void(__cdecl* OxSkipToFn)(uintptr_t object, int32_t percent);
typedef void(__cdecl* OxSetVolumeFn)(uintptr_t object, int32_t left, int32_t right);
typedef void(__cdecl* OxPauseFn)(uintptr_t object); /* Pause and UnPause */
typedef void(__cdecl* OxShowAboutFn)(HWND parent);

#ifdef __cplusplus
}
#endif

#endif /* ORLAVOX_PLUGIN_COMMON_H */
