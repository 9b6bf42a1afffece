// The player's command line.
#include <string_view>

#include "app/CommandLineTokens.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const ox::CommandLineRequest request = ox::ParseCommandLine(line);
  for (const std::string& file : request.files)
    if (file.empty() || file.size() >= 260) __builtin_trap();
  return 0;
}
