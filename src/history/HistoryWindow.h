// The previously-played window: the history of played tracks, newest first, live, with play now,
// add to queue and removal from the history.
#pragma once

#include <windows.h>

namespace ox {

constexpr char kHistoryWindowClass[] = "OxHistoryWindow";
// The menu command that plays the selected rows now (what Enter and a double click do).
constexpr int kHistoryPlayNowCommand = 1001;

// Runs the window until it is closed; show is WinMain's nCmdShow. The process exit code.
int RunHistory(int show);

}  // namespace ox
