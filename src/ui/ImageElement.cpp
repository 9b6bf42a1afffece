#include "ui/ImageElement.h"

#include "ui/ControlMath.h"
#include "ui/ElementDrawing.h"

namespace ox {

ImageElement::Design ImageElement::DesignOf(const SkinRecord& record, const SkinHeader& window) {
  const ImageRecord image = record.As<ImageRecord>();
  Design s;
  s.rect = ElementRect(image.header, window);
  s.bitmap = std::string(FieldText(image.bitmap));
  const std::string_view condition = FieldText(image.condition);
  if (condition == "<Playing Stereo Track>") s.condition = Condition::Stereo;
  if (condition == "<Playing Mono Track>") s.condition = Condition::Mono;
  return s;
}

ImageElement::ImageElement(const SkinRecord& record, const SkinHeader& window) : design_(DesignOf(record, window)) {}

void ImageElement::Load(const std::string& folder) { LoadSkinBitmap(picture_, folder, design_.bitmap); }

void ImageElement::Paint(HDC backBuffer, uint8_t channels) const {
  const bool shows = design_.condition == Condition::Stereo ? channels >= 2
                     : design_.condition == Condition::Mono ? channels <= 1
                                                          : true;
  if (shows) picture_.CopyTo(backBuffer, design_.rect.left, design_.rect.top);
}

}  // namespace ox
