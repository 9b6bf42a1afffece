#include "ui/FileDialog.h"

#include <commdlg.h>

#include "core/Settings.h"

namespace ox {
namespace {

// Each description and pattern ends in a zero; the list ends in a second one.
std::string FilterList(const std::vector<FileFilter>& filters) {
  std::string list;
  for (const FileFilter& f : filters) {
    list.append(f.description).push_back('\0');
    list.append(f.pattern).push_back('\0');
  }
  list.push_back('\0');
  return list;
}

}  // namespace

FileSelection ShowFileDialog(const FileDialogRequest& request) {
  const std::string remembered = GetTextSetting(request.folderSetting);
  const std::string& start = remembered.empty() ? request.fallbackFolder : remembered;
  const std::string filter = FilterList(request.filters);
  std::vector<char> names(100000, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = request.owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = static_cast<DWORD>(names.size());
  dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  dialog.lpstrTitle = request.title;
  dialog.lpstrDefExt = request.defaultExtension;
  dialog.Flags = request.flags | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  FileSelection chosen;
  if (request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) {
    names.back() = '\0';
    chosen = SelectedFiles(std::string_view(names.data(), names.size()));
  }
  SetTextSetting((chosen.folder.empty() ? remembered : chosen.folder).c_str(), request.folderSetting);
  return chosen;
}

}  // namespace ox
