#include "ui/FileDialog.h"

#include <commdlg.h>

#include "base/SystemCall.h"
#include "base/Wide.h"
#include "core/Settings.h"
#include "ui/ShellCalls.h"

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
  const std::string remembered = ReadText(*request.folderSetting);
  const std::string& start = remembered.empty() ? request.fallbackFolder : remembered;
  const std::wstring filter = Wide(FilterList(request.filters));
  const std::wstring startFolder = Wide(start), title = Wide(request.title ? request.title : "");
  const std::wstring extension = Wide(request.defaultExtension ? request.defaultExtension : "");
  std::vector<wchar_t> names(100000, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = request.owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = static_cast<DWORD>(names.size());
  dialog.lpstrInitialDir = start.empty() ? nullptr : startFolder.c_str();
  dialog.lpstrTitle = request.title ? title.c_str() : nullptr;
  dialog.lpstrDefExt = request.defaultExtension ? extension.c_str() : nullptr;
  dialog.Flags = request.flags | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  static const auto open = SystemCall<decltype(&GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
  static const auto save = SystemCall<decltype(&GetSaveFileNameW)>("comdlg32.dll", "GetSaveFileNameW");
  const auto show = request.save ? save : open;
  FileSelection chosen;
  ComForDialog com;
  if (show && show(&dialog)) {
    names.back() = L'\0';
    // The names end in a zero, the list in a second one: everything up to that, in UTF-8.
    const std::wstring_view list(names.data(), names.size());
    const size_t end = list.find(std::wstring_view(L"\0\0", 2));
    chosen = SelectedFiles(FromWide(list.substr(0, end == std::wstring_view::npos ? list.size() : end + 2)));
  }
  WriteText(*request.folderSetting, chosen.folder.empty() ? remembered : chosen.folder);
  return chosen;
}

}  // namespace ox
