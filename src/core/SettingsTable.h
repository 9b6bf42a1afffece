// Every registry value the suite's programs read or write, each named once: its kind, where it
// lives, what a missing value means and the range the options program offers. The player reads
// through these entries (core/Settings.h: ReadNumber, ReadText...) and the options program writes
// through the same ones, so a value name is spelled only here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ox {

constexpr const char* kSettingsKey = "Software\\Quillmarsh\\Orlavox";
constexpr const char* kSkinSettingsKey = "Software\\Quillmarsh\\Orlavox\\Skin";
constexpr const char* kKeyControlKey = "Software\\Quillmarsh\\Orlavox\\Orp-KeyControl";

enum class SettingKind : uint8_t {
  Number,        // REG_DWORD, unsigned
  SignedNumber,  // REG_DWORD holding a two's complement value
  Text,          // REG_SZ of at most `size` bytes with its NUL
  Bytes,         // REG_BINARY of `size` bytes
};

// The key a value lives under, beneath HKEY_CURRENT_USER.
enum class SettingPlace : uint8_t {
  Main,          // the settings root
  KeyControl,    // the root's "Orp-KeyControl"
  Skin,          // the root's "Skin"
  VisualPlugin,  // the root's sub-key named after the plug-in's file name (the caller's key part)
  GivenKey,      // a key the caller names whole (a skin window's own key)
};

struct Setting {
  const char* name;  // a '*' stands for the part the caller gives: "Key*" is "Key0".."Key16"
  SettingKind kind;
  SettingPlace place;
  int64_t defaultValue;     // what a missing number reads as
  int64_t min, max;         // numbers: the range offered; a stored value outside is shown clamped
  uint32_t size;            // text: bytes read, NUL included; bytes: the value's size
  const char* defaultText;  // what a missing or empty text means
};

namespace settings_detail {
constexpr Setting Flag(const char* name, int64_t byDefault = 0) {
  return {name, SettingKind::Number, SettingPlace::Main, byDefault, 0, 1, 4, ""};
}
constexpr Setting Number(const char* name, int64_t byDefault, int64_t min, int64_t max,
                         SettingPlace place = SettingPlace::Main) {
  return {name, SettingKind::Number, place, byDefault, min, max, 4, ""};
}
constexpr Setting Text(const char* name, const char* byDefault = "", uint32_t size = 260,
                       SettingPlace place = SettingPlace::Main) {
  return {name, SettingKind::Text, place, 0, 0, 0, size, byDefault};
}
// A window's position in screen pixels, under the window's own key.
constexpr Setting Coordinate(const char* name) {
  return {name, SettingKind::SignedNumber, SettingPlace::GivenKey, 0, INT32_MIN, INT32_MAX, 4, ""};
}
}  // namespace settings_detail

// Inline, so that each entry is one object in every program: rows point at entries by address.
namespace setting {
using settings_detail::Coordinate, settings_detail::Flag, settings_detail::Number, settings_detail::Text;
// Where the player is, and its own state, saved at exit and every 15 minutes.
inline constexpr Setting InstalledTo = Text("InstalledTo");
inline constexpr Setting OxVolume = Number("OxVolume", 101, 0, 101);   // volume + 1; 0 also means 100
inline constexpr Setting OxBalance = Number("OxBalance", 50, 0, 100);  // 0 also means 50
inline constexpr Setting OxPlayDown = Flag("OxPlayDown");              // 1: not playing at the last exit
inline constexpr Setting OxRandomPlay = Flag("OxRandomPlay");          // 1: random play was off
inline constexpr Setting OxEQOn = Flag("OxEQOn");
inline constexpr Setting OxEQSettings = {"OxEQSettings", SettingKind::Bytes, SettingPlace::Main, 0, 0, 0, 88, ""};
inline constexpr Setting OxMultiResumeFile = Text("OxMultiResumeFile");
inline constexpr Setting OxMultiResumePos = Number("OxMultiResumePos", 0, 0, 101);  // percent
inline constexpr Setting Minimized = Flag("Minimized");

// Playback.
inline constexpr Setting DefaultSO = Text("DefaultSO", "Wave Out");  // a sound output plug-in's name
inline constexpr Setting CrossFadeOn = Flag("CrossFadeOn");
inline constexpr Setting CrossFadeLengthSec = Number("CrossFadeLengthSec", 5, 1, 30);  // 0 also means 5
inline constexpr Setting GapLessOn = Flag("GapLessOn");
inline constexpr Setting GapLessLatencymS = Number("GapLessLatencymS", 80, 0, 2000);
// ReplayGain: off, track, album, album when the queue is an album; the preamp in tenths of a dB.
inline constexpr Setting ReplayGainMode = Number("ReplayGainMode", 0, 0, 3);
inline constexpr Setting ReplayGainPreamp = {
    "ReplayGainPreamp", SettingKind::SignedNumber, SettingPlace::Main, 0, -150, 150, 4, ""};
inline constexpr Setting ReplayGainClipPrevention = Flag("ReplayGainClipPrevention", 1);
inline constexpr Setting NoAudioCDFromfreedB = Flag("NoAudioCDFromfreedB");
inline constexpr Setting CdaOneTimeFreedB = Number("CDA-OneTimeFreedB", 0, 0, 0xFFFFFFFF);  // for the CD codec, once
inline constexpr Setting DiskWriterFolder = Text("DiskWriterFolder");

// Programs started with the player, and the folder watch.
inline constexpr Setting MmcStart = Flag("MMC-Start");
inline constexpr Setting PrevPlayedAtStart = Flag("Orp-PrevPlayed-X");
inline constexpr Setting PlaylistAtStart = Flag("Orp-Playlist-X");
inline constexpr Setting MmcIconic = Flag("MMC-Iconic");
inline constexpr Setting FWFolderToWatch = Text("FWFolderToWatch", "", 261);
inline constexpr Setting FWRecurse = Flag("FWRecurse");
inline constexpr Setting FWSchedule = Number("FWSchedule", 0, 0, 2);  // 1 at start-up, 2 every FWScheduleEvery minutes
inline constexpr Setting FWScheduleEvery = Text("FWScheduleEvery", "30");  // whole minutes in decimal
inline constexpr Setting ActiveMusicCollection = Text("ActiveMusicCollection");

// Window and tray.
inline constexpr Setting NoShowTray = Flag("NoShowTray");
inline constexpr Setting NeverInTask = Flag("NeverInTask");
inline constexpr Setting HideWhenMin = Flag("HideWhenMin");

// Dialogs' last folders.
inline constexpr Setting LastAccessedFolder = Text("LastAccessedFolder");
inline constexpr Setting LastAccessedFolderEq = Text("LastAccessedFolderEq");
inline constexpr Setting LastPlaylistFolder = Text("LastPlaylistFolder");  // the playlist window's
inline constexpr Setting LibrarianFolder = Text("LibrarianFolder");        // the collection editor's

// Skins.
// A random skin: 0 at every start, 1 never, 2 also every SkinRandomLen minutes.
inline constexpr Setting SkinChangeOpt = Number("SkinChangeOpt", 0, 0, 2);
inline constexpr Setting SkinRandomLen = Number("SkinRandomLen", 0, 0, 1440);  // minutes
inline constexpr Setting ActiveSkin = Text("[SetActive]", "Default", 260, SettingPlace::Skin);
inline constexpr Setting SkinExcluded = Number("*", 0, 0, 1, SettingPlace::Skin);  // named after the skin

// The key table: 17 entries, bits 0..7 a virtual-key code, 0x100 Shift, 0x200 Ctrl, 0x400 Alt.
inline constexpr Setting Key = Number("Key*", 0, 0, 0x7FF, SettingPlace::KeyControl);

// A visual output plug-in's key.
inline constexpr Setting VisualHide = Number("Hide", 0, 0, 0xFFFFFFFF, SettingPlace::VisualPlugin);

// A skin window's key.
inline constexpr Setting WindowX = Coordinate("X");
inline constexpr Setting WindowY = Coordinate("Y");
inline constexpr Setting WindowRX = Coordinate("RX");  // from the group's first window
inline constexpr Setting WindowRY = Coordinate("RY");
// A list window's key ("Software\Quillmarsh\Orlavox\<window>"): X and Y above, and its size.
inline constexpr Setting WindowWidth = Number("Width", 0, 0, INT32_MAX, SettingPlace::GivenKey);
inline constexpr Setting WindowHeight = Number("Height", 0, 0, INT32_MAX, SettingPlace::GivenKey);
inline constexpr Setting WindowMaximized = Number("Maximized", 0, 0, 1, SettingPlace::GivenKey);
inline constexpr Setting UserEvent = Number("EVENT-*", 0, 0, 1, SettingPlace::GivenKey);        // a user event's state
inline constexpr Setting VisualShowing = Number("*-Showing", 0, 0, 2, SettingPlace::GivenKey);  // a visual area's mode
}  // namespace setting

// Every entry above.
const std::vector<const Setting*>& AllSettings();

// The value's name, with `part` in place of the '*'.
std::string SettingName(const Setting& s, std::string_view part = {});
// The key beneath HKEY_CURRENT_USER; `part` is the plug-in's file name or the given key.
std::string SettingKey(const Setting& s, std::string_view part = {});

// A stored number as the options show it: read in the setting's kind and held to its range.
int64_t ShownNumber(const Setting& s, uint32_t stored);
// A number as stored (two's complement for a signed one).
uint32_t StoredNumber(const Setting& s, int64_t value);

}  // namespace ox
