// The sound output plug-ins of the sound output folder, and the choice of one per track by the
// setting "DefaultSO".
#pragma once

#include <string>
#include <vector>

#include "SoundOutputPlugin.h"
#include "engine/PluginFolder.h"

namespace ox {

struct SoundOutputPlugin {
  std::string path;  // the DLL
  std::string name;  // its file name without folder and extension: "Wave Out"
  UniqueModule module;
  // Entry points; each null when the DLL does not export it, and then never called.
  OxCreateSoundOutFn CreateANewSoundOutObject = nullptr;
  OxDeleteSoundOutFn DeleteASoundOutObject = nullptr;
  OxServiceCallFn ServiceCall = nullptr;
  OxNewDataBlockFn ANewDataBlockArrived = nullptr;
  OxShowAboutFn ShowAboutOptionsPage = nullptr;
  OxBytesWrittenFn HowManyBytesHaveBeenWritten = nullptr;
  OxSkipToFn SkipTo = nullptr;
  OxSetVolumeFn SetVolume = nullptr;
  OxPauseFn Pause = nullptr;
  OxPauseFn UnPause = nullptr;
};

class SoundOutputHost {
 public:
  // Loads every DLL of folder; they are freed with the host.
  explicit SoundOutputHost(const std::string& folder);

  // The plug-in named by "DefaultSO" ("Wave Out" when unset), matched byte for byte, case
  // included; else the first plug-in found; null when there is none. Read afresh on every call,
  // so a changed setting applies from the next track on.
  const SoundOutputPlugin* Choose() const;

  const std::vector<SoundOutputPlugin>& Plugins() const { return plugins_; }

 private:
  std::vector<SoundOutputPlugin> plugins_;
};

}  // namespace ox
