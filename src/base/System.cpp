#include "base/System.h"

#include <windows.h>

#include <vector>

#include "base/Path.h"

namespace ox {

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool RunProgram(const std::string& commandLine) {
  std::vector<char> line(commandLine.begin(), commandLine.end());  // CreateProcessA may write to it
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool CreateFolders(const std::string& path) {
  for (const std::string& folder : FolderChain(path)) CreateDirectoryA(folder.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool StartAndAwait(const std::string& commandLine, const NamedEvent& ready, uint32_t waitMs) {
  if (RunProgram(commandLine)) {
    const DWORD start = GetTickCount();
    while (!ready.IsSet() && GetTickCount() - start < waitMs) Sleep(100);
  }
  return ready.IsSet();
}

bool IsNtFamily() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExA(&v) && v.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

}  // namespace ox
