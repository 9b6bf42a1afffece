// What the settings window offers, page by page: each row a setting of the table with the control
// that edits it, and when a change takes effect. The window (SettingsWindow) builds its controls
// from these rows; the arithmetic of shown and stored values is here, pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SettingsTable.h"

namespace ox {

enum class RowControl : uint8_t {
  Check,         // a check box: on is 1
  InverseCheck,  // a check box: on is 0 (the value names the opposite, "OxPlayDown")
  Choice,        // a drop-down of the row's choices, by value 0, 1, ...
  Number,        // a whole number in the setting's range
  NumberText,    // a whole number kept as text ("FWScheduleEvery")
  Tenths,        // tenths stored, shown as a decimal ("-1.5")
  Folder,        // a folder, typed or browsed for
  SkinName,      // one of the installed skins
  SoundOutput,   // one of the sound output plug-ins, with its own configuration dialog
};

// When the player notices a change.
enum class Takes : uint8_t {
  AtOnce,     // the row's event is set on Apply
  WhenUsed,   // read afresh each time the player needs it (a track, a minimise, a scan)
  NextStart,  // read when the player starts
};

struct OptionRow {
  const Setting* setting;
  RowControl control;
  const char* label;
  Takes takes;
  std::vector<const char*> choices;  // Choice rows
};

// The pages with rows of single values; the lists (skins kept out of the random choice, visual
// plug-ins, keys, equaliser presets) are built by the window itself.
struct OptionPage {
  const char* title;
  std::vector<OptionRow> rows;
};
const std::vector<OptionPage>& OptionPages();

// A stored number as its row shows it (a check box: 0 or 1), held to the setting's range.
int64_t ShownValue(const OptionRow& row, uint32_t stored);
// What the row writes for a value shown.
uint32_t StoredValue(const OptionRow& row, int64_t shown);

// Text typed into a Number, NumberText or Tenths row, as a value in the setting's range; none for
// text that is no number. Tenths accept "1.5", "-0.3", "+2" (and a trailing "dB").
std::optional<int64_t> ParseRowText(const OptionRow& row, std::string_view text);
// A value as its row writes it into an edit field: "-1.5" for tenths.
std::string RowText(const OptionRow& row, int64_t value);

// The line under a page: which of its rows apply at once, which with the next track or start.
std::string TakesNote(const OptionPage& page);

}  // namespace ox
