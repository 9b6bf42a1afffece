// Where the suite keeps its files: the installation folder, and beside the programs the per-user
// data files named after the Windows user.
#pragma once

#include <string>

namespace ox {

// The installation folder, ending in a backslash. The first non-empty answer in a process is kept
// for its life, so the first request decides the source: with fromRegistry, the value
// "InstalledTo" that a running player stored (a sibling program's way); without, the executable's
// own path (the player's way, see InstallFolderFromExePath). Empty only when fromRegistry is set
// and "InstalledTo" is missing, and then asked again next time.
std::string InstallFolder(bool fromRegistry);

// The installation folder followed directly by the Windows user name ("defuser" when it cannot be
// read): the common stem of the user's data files.
std::string UserBasePath(bool fromRegistry);

// The user's data files. They follow "InstalledTo" when nothing fixed the folder earlier.
std::string DefaultMusicCollectionFile();  // .mcc
std::string SelectivePlayListFile();       // .ovc
std::string HistoryFile();                 // .Previously Played
std::string QueueFile();                   // .Enqued
std::string PriorityQueueFile();           // .PriorityEnqued
std::string AddToEditorFile();             // .AddToEditor

// The music collection in use: the setting "ActiveMusicCollection", or the default file.
std::string ActiveMusicCollection();

// The plug-in and skin folders of the player, each ending in a backslash.
std::string CodecFolder();         // Multiplayer\Input\  .
std::string SoundOutputFolder();   // SoundOutputs\  .
std::string VisualOutputFolder();  // Visual Outputs\  .
std::string SkinsFolder();         // Skins\  .

}  // namespace ox
