// Tests of the queue and of playback work on the suite's real per-user files, in a scratch
// installation folder that "InstalledTo" names for the whole test program and for the peer
// processes it starts. It holds the shipped codecs in Multiplayer\Input\.
#pragma once

#include <string>

#include "core/TrackRecord.h"

namespace oxtest {

// The scratch installation folder (with a trailing backslash).
const std::string& QueueInstallFolder();

// A track record holding only a path, as other programs hand tracks to the queue.
ox::TrackRecord PathRecord(const std::string& path);

// Removes every per-user data file and empties the play-next slot.
void ResetQueueState();

}  // namespace oxtest
