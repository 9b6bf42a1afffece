// Small process, message and folder helpers.
#pragma once

#include <string>

namespace ox {

// Dispatches every message waiting in this thread's queue, then returns.
void PumpMessages();

// Starts a program from a command line (the first token names the program). With wait, waits for
// it to end, without a time limit. False when no process was created.
bool RunProgram(const std::string& commandLine, bool wait);

// Creates every missing folder of path, outermost first (see FolderChain). Failures of single
// folders are ignored; true when the whole path exists as a folder afterwards.
bool CreateFolders(const std::string& path);

// Windows XP or a later NT 5.x release.
bool IsXpOrLater();

}  // namespace ox
