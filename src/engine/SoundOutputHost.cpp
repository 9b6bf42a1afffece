#include "engine/SoundOutputHost.h"

#include "base/Path.h"
#include "core/Settings.h"

namespace ox {

SoundOutputHost::SoundOutputHost(const std::string& folder) {
  for (LoadedDll& dll : LoadPluginFolder(folder)) {
    SoundOutputPlugin p;
    p.path = std::move(dll.path);
    p.name = FileTitleOf(p.path);
    p.module = std::move(dll.module);
    p.module.Lookup("CreateANewSoundOutObject", p.CreateANewSoundOutObject);
    p.module.Lookup("DeleteASoundOutObject", p.DeleteASoundOutObject);
    p.module.Lookup("ServiceCall", p.ServiceCall);
    p.module.Lookup("ANewDataBlockArrived", p.ANewDataBlockArrived);
    p.module.Lookup("ShowAboutOptionsPage", p.ShowAboutOptionsPage);
    p.module.Lookup("HowManyBytesHaveBeenWritten", p.HowManyBytesHaveBeenWritten);
    p.module.Lookup("SkipTo", p.SkipTo);
    p.module.Lookup("SetVolume", p.SetVolume);
    p.module.Lookup("Pause", p.Pause);
    p.module.Lookup("UnPause", p.UnPause);
    plugins_.push_back(std::move(p));
  }
}

const SoundOutputPlugin* SoundOutputHost::Choose() const {
  std::string wanted = ReadText(setting::DefaultSO);
  if (wanted.empty()) wanted = "Wave Out";
  for (const SoundOutputPlugin& p : plugins_)
    if (p.name == wanted) return &p;
  return plugins_.empty() ? nullptr : &plugins_.front();
}

}  // namespace ox
