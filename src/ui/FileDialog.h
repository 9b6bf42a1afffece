// The common open and save dialogs as the player shows them: Explorer style, the path must exist,
// no read-only box, a name buffer of 100000 characters, and a start folder remembered in a text
// setting. Runs modally on the calling thread and returns when the dialog closes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/SettingsTable.h"
#include "ui/ControlMath.h"

namespace ox {

struct FileFilter {
  std::string description;
  std::string pattern;  // "*.oeq", or several joined by ";"
};

struct FileDialogRequest {
  bool save = false;                   // a save dialog, else an open dialog
  HWND owner = nullptr;                // may be null
  const char* title = "";
  std::vector<FileFilter> filters;
  const Setting* folderSetting = &setting::LastAccessedFolder;  // the text setting holding the start folder
  std::string fallbackFolder;          // the start folder while that setting is empty; empty: the system's
  DWORD flags = 0;                     // OFN_ flags on top of the ones every dialog has
  const char* defaultExtension = nullptr;  // without the dot: added by the dialog to a name typed without
                                           // one, before it checks for an existing file
};

// Shows the dialog. On OK: the chosen file (or, with OFN_ALLOWMULTISELECT, files in byte order) and
// its folder, which becomes the setting's value; on cancel: nothing chosen and the setting is
// written back with the value it had.
FileSelection ShowFileDialog(const FileDialogRequest& request);

}  // namespace ox
