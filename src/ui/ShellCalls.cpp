#include "ui/ShellCalls.h"

#include <shlobj.h>

#include "base/SystemCall.h"
#include "base/Wide.h"

namespace ox {

std::vector<std::string> CommandLineArguments() {
  const wchar_t* line = GetCommandLineW();
  // The program's path, quoted or up to the first space, then spaces: anything after is an argument.
  const wchar_t* at = line;
  if (*at == L'"') {
    for (++at; *at && *at != L'"'; ++at) {
    }
    if (*at) ++at;
  } else {
    while (*at && *at != L' ' && *at != L'\t') ++at;
  }
  while (*at == L' ' || *at == L'\t') ++at;
  if (!*at) return {};
  static const auto split = SystemCall<decltype(&CommandLineToArgvW)>("shell32.dll", "CommandLineToArgvW");
  int count = 0;
  LPWSTR* arguments = split ? split(line, &count) : nullptr;
  std::vector<std::string> result;
  for (int i = 1; arguments && i < count; ++i) result.push_back(FromWide(arguments[i]));
  if (arguments) LocalFree(arguments);
  return result;
}

std::vector<std::string> DroppedPaths(HDROP drop) {
  static const auto query = SystemCall<decltype(&DragQueryFileW)>("shell32.dll", "DragQueryFileW");
  static const auto finish = SystemCall<decltype(&DragFinish)>("shell32.dll", "DragFinish");
  std::vector<std::string> paths;
  if (!query || !finish) return paths;
  const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(query(drop, i, nullptr, 0) + 1, L'\0');
    name.resize(query(drop, i, name.data(), static_cast<UINT>(name.size())));
    paths.push_back(FromWide(name));
  }
  finish(drop);
  return paths;
}

ComForDialog::ComForDialog() {
  static const auto initialise = SystemCall<decltype(&CoInitializeEx)>("ole32.dll", "CoInitializeEx");
  initialised_ = initialise && SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED));
}

ComForDialog::~ComForDialog() {
  static const auto uninitialise = SystemCall<decltype(&CoUninitialize)>("ole32.dll", "CoUninitialize");
  if (initialised_ && uninitialise) uninitialise();
}

std::string BrowseForFolder(HWND owner, const std::string& title) {
  static const auto browse = SystemCall<decltype(&SHBrowseForFolderW)>("shell32.dll", "SHBrowseForFolderW");
  static const auto pathOf = SystemCall<decltype(&SHGetPathFromIDListW)>("shell32.dll", "SHGetPathFromIDListW");
  static const auto release = SystemCall<decltype(&CoTaskMemFree)>("ole32.dll", "CoTaskMemFree");
  if (!browse || !pathOf || !release) return {};
  ComForDialog com;
  const std::wstring caption = Wide(title);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE chosen = browse(&info);
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  const bool named = pathOf(chosen, path) != FALSE;
  release(chosen);
  return named ? FromWide(path) : std::string();
}

void ShowInFolder(HWND owner, const std::string& path) {
  static const auto execute = SystemCall<decltype(&ShellExecuteW)>("shell32.dll", "ShellExecuteW");
  if (!execute) return;
  ComForDialog com;
  const std::wstring arguments = L"/select,\"" + Wide(path) + L"\"";
  execute(owner, nullptr, L"explorer.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace ox
