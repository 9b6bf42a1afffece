// What would go wrong, silently, when the player loads a skin folder: elements it drops, bitmaps it
// cannot find or whose size does not fit, values outside what the player understands, outlines it
// cannot make a shape of. Pure: the folder's files come through a reader.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ox::skintext {

// A file of the skin folder by name (any case), or nothing when it is missing.
using FolderReader = std::function<std::optional<std::vector<uint8_t>>(const std::string& name)>;

// The problems of the given skin files of one folder, one line each ("main.skin: record 4 (button
// \"Play\"): ..."). Empty when there are none.
std::vector<std::string> CheckSkinFolder(const std::vector<std::string>& skinFiles, const FolderReader& read);

// The size in pixels of a BMP, GIF or JPEG picture; nothing for anything else.
struct PictureSize {
  int32_t width, height;
};
std::optional<PictureSize> SizeOfPicture(const std::vector<uint8_t>& bytes);

}  // namespace ox::skintext
