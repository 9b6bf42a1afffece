// Splitting the player's command line into tokens. Pure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ox {

// Tokens of a command line, the program's own path first: spaces separate tokens; a token that
// starts with a double quote runs to the next double quote (or the end), without the quotes; the
// character after a token (closing quote or space) is skipped.
std::vector<std::string> CommandLineTokens(std::string_view line);

// What a command line asks for.
struct CommandLineRequest {
  enum Kind { Files, AudioCd, AutoplayAudioCd } kind = Files;
  std::string audioCdFolder;       // AudioCd: the text after "<audiocd>"
  std::vector<std::string> files;    // Files: the tokens after the program path that fit a path
  std::vector<std::string> tooLong;  // Files: the tokens after the program path too long for one
};

CommandLineRequest ParseCommandLine(std::string_view line);

}  // namespace ox
