// What a skin may ask for. Skin files and pictures come from anyone, so every count, size and
// position they give is held to these bounds, far beyond any real skin, before it decides an
// allocation, a loop or a sum: the player and the skin compiler (`oxskin check` reports what
// breaks them) apply the same ones. Pure.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ox {

// A skin file larger than this is refused whole, before it is read (about 2,600 records; the
// largest shipped skin has a few dozen).
constexpr uint64_t kMaxSkinFileBytes = 4u << 20;
// Windows in one skin file, and element records in one window; records past them are dropped.
constexpr size_t kMaxSkinWindows = 64;
constexpr size_t kMaxWindowElements = 1024;
// Skin files read from one skin folder; the rest of the folder's skin files are not read.
constexpr size_t kMaxSkinFiles = 16;
// Design coordinates lie within +-kMaxSkinCoordinate; widths and heights within 0..kMaxSkinExtent.
constexpr int32_t kMaxSkinCoordinate = 32768;
// They are clamped into these ranges as the records are read. A picture (background, button,
// slider, font) larger than kMaxSkinExtent pixels a side, or a picture file larger than
// kMaxPictureFileBytes, is not loaded: it is drawn as missing.
constexpr int32_t kMaxSkinExtent = 8192;
constexpr uint64_t kMaxPictureFileBytes = 32u << 20;
// Points of a window outline (a `.bin` file); those past it are not read. Each coordinate is
// clamped to +-kMaxSkinCoordinate.
constexpr size_t kMaxOutlinePoints = 16384;
// A visualisation area's bars (one per pixel column at most in any case), segments and gaps.
constexpr int32_t kMaxVisualBars = 512;
constexpr int32_t kMaxBarSegments = 256;
constexpr int32_t kMaxBarGap = 256;
// A system font's height, in logical units either sign.
constexpr int32_t kMaxFontHeight = 512;

}  // namespace ox
