#include "app/CommandLineTokens.h"

namespace ox {

std::vector<std::string> CommandLineTokens(std::string_view line) {
  std::vector<std::string> tokens;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && line[at] == ' ') ++at;
    if (at >= line.size()) break;
    const bool quoted = line[at] == '"';
    if (quoted) ++at;
    size_t end = line.find(quoted ? '"' : ' ', at);
    if (end == std::string_view::npos) end = line.size();
    tokens.emplace_back(line.substr(at, end - at));
    at = end + 1;  // the closing quote or the space
  }
  return tokens;
}

CommandLineRequest ParseCommandLine(std::string_view line) {
  CommandLineRequest request;
  constexpr std::string_view kAudioCd = "<audiocd>", kAutoplay = "<autoplayaudiocd>";
  if (const size_t at = line.find(kAudioCd); at != std::string_view::npos) {
    request.kind = CommandLineRequest::AudioCd;
    request.audioCdFolder = std::string(line.substr(at + kAudioCd.size()));
    return request;
  }
  if (line.find(kAutoplay) != std::string_view::npos) {
    request.kind = CommandLineRequest::AutoplayAudioCd;
    return request;
  }
  std::vector<std::string> tokens = CommandLineTokens(line);
  for (size_t i = 1; i < tokens.size(); ++i) {
    if (tokens[i].empty()) continue;
    (tokens[i].size() <= 259 ? request.files : request.tooLong).push_back(std::move(tokens[i]));
  }
  return request;
}

}  // namespace ox
