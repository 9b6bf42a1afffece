#include "ui/OpenMusicFiles.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "core/Settings.h"
#include "engine/CodecHost.h"
#include "queue/PlayerCommands.h"
#include "ui/ControlMath.h"

namespace ox {

void OpenMusicFiles(HWND owner) {
  const CodecHost& codecs = Codecs();
  std::string patterns;
  codecs.AppendPatternList(patterns);
  std::string filter = "Music Files and Playlists";
  filter += '\0';
  filter += patterns + ";*.m3u;*.pls";
  filter += '\0';
  filter += codecs.FilterPairs();
  filter += '\0';

  const std::string folder = GetTextSetting("LastAccessedFolder");
  std::vector<char> names(100000, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = static_cast<DWORD>(names.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = "Select Music File(s)";
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  std::string chosenFolder = folder;
  if (GetOpenFileNameA(&dialog)) {
    const FileSelection chosen = SelectedFiles(std::string_view(names.data(), names.size()));
    if (!chosen.folder.empty()) chosenFolder = chosen.folder;
    for (const std::string& path : chosen.paths) PlayNow(path);
  }
  SetTextSetting(chosenFolder.c_str(), "LastAccessedFolder");
}

}  // namespace ox
