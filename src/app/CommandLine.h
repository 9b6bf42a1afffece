// The player's command line: files and playlists to play, or an audio CD.
#pragma once

#include <string>

namespace ox {

// Plays what the command line names. A running player's second start calls this too: its files
// then reach the running player through the play-next slot and the priority queue.
void ProcessCommandLine(const std::string& commandLine);

// Writes "AudioCD.m3u" in the installation folder from the "*.cda" tracks of folder (in name
// order, with their lengths and names from the ".cda" codec), clears the queue and plays it.
void PlayAudioCd(const std::string& folder);

}  // namespace ox
