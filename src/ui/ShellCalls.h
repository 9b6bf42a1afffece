// The shell's services a window uses now and then (the arguments it was started with, the files
// dropped on it, the folder chooser, Explorer), with the shell's DLLs loaded at their first use rather than
// at the program's start.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace ox {

// The command line's arguments after the program's path, in UTF-8; none without asking the shell
// when there are none.
std::vector<std::string> CommandLineArguments();

// The paths of the files dropped (WM_DROPFILES), in UTF-8 at any length; the drop is finished.
// A window takes drops through the extended style WS_EX_ACCEPTFILES.
std::vector<std::string> DroppedPaths(HDROP drop);

// The system's folder chooser, owned by `owner`, headed by `title`: the chosen folder in UTF-8,
// empty when cancelled or when the folder has no file system path.
std::string BrowseForFolder(HWND owner, const std::string& title);

// Explorer's window of the folder holding `path`, with the file selected in it.
void ShowInFolder(HWND owner, const std::string& path);

// COM for the calling thread while it shows one of the shell's dialogs; balanced at the end.
class ComForDialog {
 public:
  ComForDialog();
  ~ComForDialog();
  ComForDialog(const ComForDialog&) = delete;
  ComForDialog& operator=(const ComForDialog&) = delete;

 private:
  bool initialised_ = false;
};

}  // namespace ox
