// The open-files dialog: music files of every format the codecs play, and playlists; what is
// chosen is played now, several files in name order. It remembers its folder in
// "LastAccessedFolder".
#pragma once

#include <windows.h>

namespace ox {

// Shows the dialog (owner may be null) and plays what is chosen; returns when it closes.
void OpenMusicFiles(HWND owner);

}  // namespace ox
