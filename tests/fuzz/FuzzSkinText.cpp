// The skin compiler's text form: any bytes dump to a text that builds back to the same bytes, and
// any text parses without harm.
#include "tools/oxskin/SkinText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  std::vector<std::string> errors;
  const ox::skintext::Skin skin = ox::skintext::Parse(ox::skintext::Dump(bytes, {}), errors);
  if (!errors.empty() || skin.bytes != bytes) __builtin_trap();
  errors.clear();
  ox::skintext::Parse(std::string(bytes.begin(), bytes.end()), errors);
  return 0;
}
