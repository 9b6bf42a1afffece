// The playlist window: the track now playing, the priority queue and the queue, live, with the
// edits the user makes written back to the queue files.
#pragma once

#include <windows.h>

namespace ox {

constexpr char kQueuerWindowClass[] = "OxQueuerWindow";
// The menu command that plays the selected rows now (what Enter and a double click do).
constexpr int kQueuerPlayNowCommand = 1001;

// Runs the window until it is closed; show is WinMain's nCmdShow. The process exit code.
int RunQueuer(int show);

}  // namespace ox
