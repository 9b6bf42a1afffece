#include "core/SettingsTable.h"

#include <algorithm>

namespace ox {

const std::vector<const Setting*>& AllSettings() {
  using namespace setting;
  static const std::vector<const Setting*> all = {
      &InstalledTo,
      &OxVolume,
      &OxBalance,
      &OxPlayDown,
      &OxRandomPlay,
      &OxEQOn,
      &OxEQSettings,
      &OxMultiResumeFile,
      &OxMultiResumePos,
      &Minimized,
      &DefaultSO,
      &CrossFadeOn,
      &CrossFadeLengthSec,
      &GapLessOn,
      &GapLessLatencymS,
      &ReplayGainMode,
      &ReplayGainPreamp,
      &ReplayGainClipPrevention,
      &NoAudioCDFromfreedB,
      &CdaOneTimeFreedB,
      &DiskWriterFolder,
      &MmcStart,
      &PrevPlayedAtStart,
      &PlaylistAtStart,
      &MmcIconic,
      &FWFolderToWatch,
      &FWRecurse,
      &FWSchedule,
      &FWScheduleEvery,
      &ActiveMusicCollection,
      &NoShowTray,
      &NeverInTask,
      &HideWhenMin,
      &LastAccessedFolder,
      &LastAccessedFolderEq,
      &LastPlaylistFolder,
      &LibrarianFolder,
      &SkinChangeOpt,
      &SkinRandomLen,
      &ActiveSkin,
      &SkinExcluded,
      &Key,
      &VisualHide,
      &WindowX,
      &WindowY,
      &WindowRX,
      &WindowRY,
      &WindowWidth,
      &WindowHeight,
      &WindowMaximized,
      &UserEvent,
      &VisualShowing,
  };
  return all;
}

std::string SettingName(const Setting& s, std::string_view part) {
  std::string name(s.name);
  const size_t star = name.find('*');
  if (star != std::string::npos) name.replace(star, 1, part);
  return name;
}

std::string SettingKey(const Setting& s, std::string_view part) {
  switch (s.place) {
    case SettingPlace::Main:
      return kSettingsKey;
    case SettingPlace::KeyControl:
      return kKeyControlKey;
    case SettingPlace::Skin:
      return kSkinSettingsKey;
    case SettingPlace::VisualPlugin:
      return std::string(kSettingsKey) + "\\" + std::string(part);
    case SettingPlace::GivenKey:
      return std::string(part);
  }
  return kSettingsKey;
}

int64_t ShownNumber(const Setting& s, uint32_t stored) {
  const int64_t value = s.kind == SettingKind::SignedNumber ? int64_t{static_cast<int32_t>(stored)} : int64_t{stored};
  return std::clamp(value, s.min, s.max);
}

uint32_t StoredNumber(const Setting& s, int64_t value) {
  return static_cast<uint32_t>(std::clamp(value, s.min, s.max));
}

}  // namespace ox
