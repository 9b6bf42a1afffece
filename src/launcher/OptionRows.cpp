#include "launcher/OptionRows.h"

#include <algorithm>
#include <cstdlib>

namespace ox {
namespace {

constexpr int64_t kMinutesMin = 1, kMinutesMax = 10080;  // a week

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Digits only, at most nine of them.
std::optional<int64_t> Digits(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

const std::vector<OptionPage>& OptionPages() {
  using namespace setting;
  static const std::vector<OptionPage> pages = {
      {"Skins",
       {{&ActiveSkin, RowControl::SkinName, "Active skin", Takes::AtOnce, {}},
        {&SkinChangeOpt,
         RowControl::Choice,
         "Random skin",
         Takes::NextStart,
         {"At every start", "Never", "At every start and every few minutes"}},
        {&SkinRandomLen, RowControl::Number, "Minutes between random skins", Takes::WhenUsed, {}}}},
      {"Playback",
       {{&DefaultSO, RowControl::SoundOutput, "Sound output", Takes::WhenUsed, {}},
        {&CrossFadeOn, RowControl::Check, "Cross-fade between tracks", Takes::WhenUsed, {}},
        {&CrossFadeLengthSec, RowControl::Number, "Cross-fade length (seconds)", Takes::WhenUsed, {}},
        {&GapLessOn, RowControl::Check, "Gapless playback", Takes::WhenUsed, {}},
        {&GapLessLatencymS, RowControl::Number, "Gapless latency (ms)", Takes::WhenUsed, {}},
        {&OxPlayDown, RowControl::InverseCheck, "Play when the player starts", Takes::NextStart, {}},
        {&OxRandomPlay, RowControl::InverseCheck, "Random play from the collection at start", Takes::NextStart, {}},
        {&ReplayGainMode,
         RowControl::Choice,
         "ReplayGain",
         Takes::WhenUsed,
         {"Off", "Track gain", "Album gain", "Album gain when the queue is an album"}},
        {&ReplayGainPreamp, RowControl::Tenths, "ReplayGain preamp (dB)", Takes::WhenUsed, {}},
        {&ReplayGainClipPrevention, RowControl::Check, "Prevent clipping", Takes::WhenUsed, {}}}},
      {"Window and tray",
       {{&NoShowTray, RowControl::InverseCheck, "Show the tray icon", Takes::NextStart, {}},
        {&NeverInTask, RowControl::Check, "Never show a taskbar button", Takes::NextStart, {}},
        {&HideWhenMin, RowControl::Check, "Hide the player when minimised", Takes::WhenUsed, {}},
        {&Minimized, RowControl::Check, "Start minimised", Takes::NextStart, {}},
        {&MmcStart, RowControl::Check, "Open the music collection with the player", Takes::NextStart, {}},
        {&PlaylistAtStart, RowControl::Check, "Open the playlist with the player", Takes::NextStart, {}},
        {&PrevPlayedAtStart, RowControl::Check, "Open previously played with the player", Takes::NextStart, {}}}},
      {"Folder watch",
       {{&FWFolderToWatch, RowControl::Folder, "Folder to watch", Takes::WhenUsed, {}},
        {&FWRecurse, RowControl::Check, "Include subfolders", Takes::WhenUsed, {}},
        {&FWSchedule,
         RowControl::Choice,
         "Scan",
         Takes::WhenUsed,
         {"Only on Scan now", "When the player starts", "Every few minutes"}},
        {&FWScheduleEvery, RowControl::NumberText, "Minutes between scans", Takes::WhenUsed, {}}}},
  };
  return pages;
}

int64_t ShownValue(const OptionRow& row, uint32_t stored) {
  switch (row.control) {
    case RowControl::Check:
      return stored != 0 ? 1 : 0;
    case RowControl::InverseCheck:
      return stored == 0 ? 1 : 0;
    default:
      return ShownNumber(*row.setting, stored);
  }
}

uint32_t StoredValue(const OptionRow& row, int64_t shown) {
  switch (row.control) {
    case RowControl::Check:
      return shown ? 1 : 0;
    case RowControl::InverseCheck:
      return shown ? 0 : 1;
    default:
      return StoredNumber(*row.setting, shown);
  }
}

std::optional<int64_t> ParseRowText(const OptionRow& row, std::string_view text) {
  text = Trimmed(text);
  if (row.control == RowControl::Tenths && text.size() >= 2 &&
      (text.substr(text.size() - 2) == "dB" || text.substr(text.size() - 2) == "db"))
    text = Trimmed(text.substr(0, text.size() - 2));
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+') &&
      (row.setting->kind == SettingKind::SignedNumber || row.control == RowControl::Tenths)) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  std::optional<int64_t> value;
  if (row.control == RowControl::Tenths) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view tenth = point == std::string_view::npos ? "0" : text.substr(point + 1);
    const auto w = whole.empty() && point != std::string_view::npos ? std::optional<int64_t>(0) : Digits(whole);
    const auto t = Digits(tenth.empty() ? "0" : tenth);
    if (!w || !t || tenth.size() > 1) return std::nullopt;
    value = *w * 10 + *t;
  } else {
    value = Digits(text);
  }
  if (!value) return std::nullopt;
  const int64_t signedValue = negative ? -*value : *value;
  if (row.control == RowControl::NumberText) return std::clamp(signedValue, kMinutesMin, kMinutesMax);
  return std::clamp(signedValue, row.setting->min, row.setting->max);
}

std::string RowText(const OptionRow& row, int64_t value) {
  if (row.control != RowControl::Tenths) return std::to_string(value);
  const int64_t magnitude = value < 0 ? -value : value;
  return (value < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::string TakesNote(const OptionPage& page) {
  static constexpr struct {
    Takes takes;
    const char* lead;
  } kGroups[] = {{Takes::AtOnce, "At once: "},
                 {Takes::WhenUsed, "The next time the player uses it: "},
                 {Takes::NextStart, "When the player starts next: "}};
  std::string note;
  for (const auto& group : kGroups) {
    std::string names;
    for (const OptionRow& row : page.rows)
      if (row.takes == group.takes) names += (names.empty() ? "" : ", ") + std::string(row.label);
    if (!names.empty()) note += (note.empty() ? "" : "\n") + std::string(group.lead) + names + ".";
  }
  return note;
}

}  // namespace ox
