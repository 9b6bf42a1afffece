// An image element: a bitmap drawn at its place on a full repaint, shown always or only while the
// playing track is stereo or mono.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/Bitmap.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinRecords.h"

namespace ox {

class ImageElement {
 public:
  ImageElement(const SkinRecord& record, const SkinHeader& window);
  ImageElement(const ImageElement&) = delete;
  ImageElement& operator=(const ImageElement&) = delete;

  void Load(const std::string& folder);
  void Release() { picture_.Release(); }
  // channels: the playing track's channel count.
  void Paint(HDC backBuffer, uint8_t channels) const;

 private:
  enum class Condition { Always, Stereo, Mono };
  struct Design {
    SkinRect rect;
    std::string bitmap;
    Condition condition = Condition::Always;
  };
  static Design DesignOf(const SkinRecord& record, const SkinHeader& window);

  const Design design_;
  Bitmap picture_;
};

}  // namespace ox
