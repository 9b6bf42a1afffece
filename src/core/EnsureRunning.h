// Makes sure a player runs, starting "rill.exe" from the installation folder when none does. The
// protocol every program of the suite follows, so that two programs never start two players.
#pragma once

#include <cstdint>

namespace ox {

// Returns at once when a player runs or another program is already starting one. Otherwise starts
// the player and waits until it reports running, at most waitMs; a player that could not be
// started is not waited for. True when a player runs on return.
bool EnsurePlayerRunning(uint32_t waitMs = 10000);

}  // namespace ox
