// Equaliser preset files, as pure functions over bytes: the player's own ".oeq" (the 88 bytes of
// the positions record exactly as they stand, no header) and the last preset of a ".eqf" library
// file of the older ten-band players (its last 11 bytes: ten bands, then the preamplifier, 0..63).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/SharedRecords.h"

namespace ox {

constexpr size_t kEqfPresetBytes = 11;
constexpr char kPresetExtension[] = ".oeq";

// What the suite itself writes: bands and preamp -200..200 (an EQF import gives both that range;
// the preamp slider shows -100..0 of it), layout 0 (twenty) or 1 (ten).
constexpr int32_t kEqBandLimit = 200, kEqPreampLimit = 200;

// 0 gives +200 (the top of the slider), 63 gives -200; the division truncates toward zero, so
// 31 gives 4 and 32 gives -3.
int32_t EqfPosition(uint8_t value);

// A record of ten sliders (layout 1) from a preset's 11 bytes; sliders 10..19 and the unused
// bytes are zero.
EqPositions EqPositionsFromEqf(const uint8_t (&preset)[kEqfPresetBytes]);

// Flat: the layout byte is kept, every other byte becomes zero.
EqPositions FlatEqPositions(const EqPositions& current);

// A loaded record (a preset file, or an ".eqf" library's bytes past 63) brought into the ranges
// above: positions clamped, any layout but 0 becomes 1 (both mean ten sliders); the bytes nothing
// interprets are kept.
EqPositions EqPositionsInRange(const EqPositions& loaded);

// The name a preset is saved under: ".oeq" is appended unless the name ends in it (any case), so
// "Rock" becomes "Rock.oeq" and "Rock.txt" becomes "Rock.txt.oeq". The save dialog adds ".oeq" to a
// name typed without extension itself, so its overwrite prompt asks about that name; for a name
// with another extension the player asks.
std::string PresetFileName(std::string_view chosen);

// Whether a chosen file is read as an ".eqf" library (any case) rather than as a preset.
bool IsEqfFile(std::string_view path);

}  // namespace ox
