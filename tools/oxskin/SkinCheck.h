// What would go wrong, silently, when the player loads a skin folder: elements it drops, bitmaps it
// cannot find or whose size does not fit, values outside what the player understands, outlines it
// cannot make a shape of. Pure: the folder's files come through a reader.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/SkinRules.h"

namespace ox::skintext {

// A file of the skin folder by name (any case), or nothing when it is missing.
using FolderReader = std::function<std::optional<std::vector<uint8_t>>(const std::string& name)>;

// The problems of the given skin files of one folder, one line each ("main.skin: record 4 (button
// \"Play\"): ..."). Empty when there are none.
// Skin files past the kMaxSkinFiles-th are reported, not read (the player does not read them).
std::vector<std::string> CheckSkinFolder(const std::vector<std::string>& skinFiles, const FolderReader& read);

// The bounds of SkinLimits.h that a skin file and its outlines (by bitmap base name) break, one line
// each ("skin: record 4 (window \"Main\"): width is 9000, outside 0..8192"). Empty when there are
// none. `oxskin build` refuses a skin with any: the player would clamp, drop or refuse it.
std::vector<std::string> CheckSkinLimits(const std::vector<uint8_t>& skinFile,
                                         const std::map<std::string, std::vector<SkinPoint>>& outlines);

}  // namespace ox::skintext
