// Small process, message and folder helpers.
#pragma once

#include <cstdint>
#include <string>

#include "base/NamedEvent.h"

namespace ox {

// Dispatches every message waiting in this thread's queue, then returns.
void PumpMessages();

// Starts a program from a command line (the first token names the program) and leaves it running.
// False when no process was created.
bool RunProgram(const std::string& commandLine);

// Creates every missing folder of path, outermost first (see FolderChain). Failures of single
// folders are ignored; true when the whole path exists as a folder afterwards.
bool CreateFolders(const std::string& path);

// Starts a program (see RunProgram) and waits until it sets `ready`, at most waitMs; a program that
// could not be started is not waited for. True when `ready` is set on return.
bool StartAndAwait(const std::string& commandLine, const NamedEvent& ready, uint32_t waitMs);

// A Windows of the NT family (as opposed to 95, 98 and Me).
bool IsNtFamily();

}  // namespace ox
