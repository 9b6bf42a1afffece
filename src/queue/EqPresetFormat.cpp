#include "queue/EqPresetFormat.h"

#include <algorithm>
#include <iterator>

#include "base/Path.h"
#include "base/Text.h"

namespace ox {

int32_t EqfPosition(uint8_t value) { return 200 - value * 400 / 63; }

EqPositions EqPositionsFromEqf(const uint8_t (&preset)[kEqfPresetBytes]) {
  EqPositions p{};
  p.layout = 1;
  for (int band = 0; band < 10; ++band) p.sliders[band] = EqfPosition(preset[band]);
  p.preamp = EqfPosition(preset[10]);
  return p;
}

EqPositions FlatEqPositions(const EqPositions& current) {
  EqPositions p{};
  p.layout = current.layout;
  return p;
}

EqPositions EqPositionsInRange(const EqPositions& loaded) {
  auto clamp = [](int32_t value, int32_t limit) { return std::clamp(value, -limit, limit); };
  EqPositions p = loaded;
  p.layout = p.layout != 0 ? 1 : 0;
  p.preamp = clamp(p.preamp, kEqPreampLimit);
  for (size_t i = 0; i < std::size(p.sliders); ++i) p.sliders[i] = clamp(p.sliders[i], kEqBandLimit);
  return p;
}

std::string PresetFileName(std::string_view chosen) {
  std::string name(chosen);
  if (!EqualNoCase(ExtensionOf(name), kPresetExtension)) name += kPresetExtension;
  return name;
}

bool IsEqfFile(std::string_view path) { return EqualNoCase(ExtensionOf(path), ".eqf"); }

}  // namespace ox
