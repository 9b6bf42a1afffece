#include "TestSupport.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace oxtest {

namespace {

// A file's bytes built field by field: little-endian numbers of `count` bytes, and tags.
struct Fields {
  std::vector<uint8_t> bytes;
  Fields& Le(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return *this;
  }
  Fields& Tag(const char* text) {
    bytes.insert(bytes.end(), text, text + std::strlen(text));
    return *this;
  }
};

}  // namespace

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  path_ = std::string(temp) + UniqueName("oxtest") + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;  // what a test left open stays behind in the temporary folder
  std::filesystem::remove_all(std::filesystem::u8path(path_.substr(0, path_.size() - 1)), ignored);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::istringstream text(ReadText(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteWholeFile(const std::string& path, const std::string& text) {
  WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

void WriteWav(const std::string& path, uint32_t rate, uint16_t channels, const std::vector<int16_t>& samples) {
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  Fields f;  // the RIFF header, a 16-byte format chunk of PCM (format 1), the data chunk's header
  f.Tag("RIFF").Le(36 + data, 4).Tag("WAVEfmt ").Le(16, 4).Le(1, 2).Le(channels, 2).Le(rate, 4);
  f.Le(rate * channels * 2, 4).Le(channels * 2u, 2).Le(16, 2).Tag("data").Le(data, 4);
  const uint8_t* first = reinterpret_cast<const uint8_t*>(samples.data());
  f.bytes.insert(f.bytes.end(), first, first + data);
  WriteWholeFile(path, f.bytes);
}

std::string WriteSteadyWav(const std::string& path, uint32_t rate, double seconds, int16_t value) {
  WriteWav(path, rate, 1, std::vector<int16_t>(static_cast<size_t>(rate * seconds), value));
  return path;
}

std::vector<std::string> CopyDlls(const ScratchFolder& folder, const std::vector<std::pair<std::string, std::string>>& files) {
  for (const auto& [source, name] : files) CopyFileA(source.c_str(), (folder / name).c_str(), FALSE);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder.Path())))
    if (entry.path().extension() == ".dll") names.push_back(entry.path().filename().u8string());
  return names;
}

std::vector<uint8_t> SolidBmp(int width, int height, uint32_t rgb) {
  const int row = (width * 3 + 3) & ~3;
  Fields b;  // the file header (pixels at 54), a 40-byte information header: one plane of 24 bits
  b.Tag("BM").Le(static_cast<uint32_t>(54 + row * height), 4).Le(0, 4).Le(54, 4);
  b.Le(40, 4).Le(static_cast<uint32_t>(width), 4).Le(static_cast<uint32_t>(height), 4).Le(1, 2).Le(24, 2);
  b.bytes.resize(54);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.Le(rgb, 3);  // stored blue, green, red
    b.bytes.resize(54 + (y + 1) * row);
  }
  return b.bytes;
}

std::string ExecutableFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n);
  return folder.substr(0, folder.rfind('\\') + 1);
}

std::string FixtureFolder() {
  const char* folder = std::getenv("OX_FIXTURES");
  std::string path = folder ? folder : "";
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  return path;
}

std::string PeerPath() { return ExecutableFolder() + "oxpeer.exe"; }

int RunAndWait(const std::string& exe, const std::string& arguments) {
  Process process(exe, arguments);
  return process.Started() ? process.Wait(30000) : -1;
}

Process::Process(const std::string& exe, const std::string& arguments, std::function<void()> askToEnd)
    : askToEnd_(std::move(askToEnd)) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  for (int attempt = 0; attempt < 5; ++attempt, Sleep(500)) {
    std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    PROCESS_INFORMATION info{};
    if (CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
      return;
    }
    std::printf("CreateProcess(%s) failed: %lu\n", exe.c_str(), GetLastError());
  }
}

Process::~Process() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    if (askToEnd_) askToEnd_();
    if (WaitForSingleObject(process_, askToEnd_ ? 10000 : 0) != WAIT_OBJECT_0) TerminateProcess(process_, 9);
  }
  CloseHandle(process_);
}

int Process::Wait(uint32_t limitMs) {
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process_, limitMs) == WAIT_OBJECT_0) GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}

bool PumpUntil(const std::function<bool()>& condition, uint32_t limitMs) {
  return WaitFor([&] {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    return condition();
  }, limitMs);
}

void Mouse(uint32_t flags, int x, int y) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_MOVE) {
    in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = (x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = (y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  SendInput(1, &in, sizeof in);
  Sleep(60);
}

void Click(int x, int y, uint32_t down, uint32_t up) {
  Mouse(MOUSEEVENTF_MOVE, x, y);
  Mouse(down);
  Mouse(up);
}

void Key(uint16_t key, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = key;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

std::vector<uint32_t> Pixels(void* from, int x, int y, int width, int height) {
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, from ? static_cast<HDC>(from) : screen, x, y, SRCCOPY);
  GdiFlush();
  const uint32_t* first = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(first, first + static_cast<size_t>(width) * height);
  for (uint32_t& p : pixels) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool AnswerFileDialog(const char* title, const std::string& names, uint32_t limitMs) {
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = FindWindowA("#32770", title)) != nullptr; }, limitMs)) return false;
  HWND name = GetDlgItem(box, 1148);  // the file name box: a combo box, or an edit of its own
  if (!name) name = GetDlgItem(box, 1152);
  if (!name) return false;
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return true;
}

std::string UniqueName(const std::string& stem) {
  static LONG counter = 0;
  char name[128];
  std::snprintf(name, sizeof name, "%s_%lu_%lu_%ld", stem.c_str(), GetCurrentProcessId(), GetTickCount(),
                InterlockedIncrement(&counter));
  return name;
}

bool HotKeyTaken(uint32_t modifiers, uint32_t key) {
  if (!RegisterHotKey(nullptr, 0x7000, modifiers, key)) return true;
  UnregisterHotKey(nullptr, 0x7000);
  return false;
}

bool WaitFor(const std::function<bool()>& condition, uint32_t limitMs) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < limitMs; Sleep(20))
    if (condition()) return true;
  return condition();
}

}  // namespace oxtest
