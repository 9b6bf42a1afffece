// Equaliser presets behind the skin buttons "<EqReset>", "<EqSave>" and "<EqLoad>". Every change
// is written to the shared positions block and announced with evtOxEqPosChanged, on which each
// playing equaliser rereads the block.
#pragma once

#include <string>

namespace ox {

// Flat bands and preamp; the layout byte stays.
void ResetEqualiser();

// The save and load dialogs ("LastAccessedFolderEq", else the installation's "Equalizer-Presets\",
// is where both start; OK stores the chosen folder there). Cancel changes nothing.
void SaveEqPreset();
void LoadEqPreset();

// What the dialogs do with the chosen file. Saving appends ".oeq" to a name without extension and
// replaces an existing file; loading reads a preset's 88 bytes or an ".eqf" library's last preset,
// positions brought into the sliders' ranges. A file that cannot be opened, or is too short,
// changes nothing and shows nothing: false.
bool SaveEqPresetFile(const std::string& chosen);
bool LoadEqPresetFile(const std::string& path);

// Where the dialogs start.
std::string EqPresetFolder();

}  // namespace ox
