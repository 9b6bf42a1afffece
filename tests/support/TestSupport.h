// Helpers for tests that run under Wine: scratch folders, whole files, and the peer process.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace oxtest {

// A fresh folder under the temporary folder, removed with everything in it at the end of the test.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }  // ends in a backslash
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteWholeFile(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);
// The lines of a text file, each without its "\n"; a last line without one counts too.
std::vector<std::string> ReadLines(const std::string& path);

// The whole records of type T a file holds (a partial one at the end is left out), from byte `from`.
template <typename T>
std::vector<T> Records(const std::vector<uint8_t>& bytes, size_t from = 0) {
  std::vector<T> records(bytes.size() > from ? (bytes.size() - from) / sizeof(T) : 0);
  if (!records.empty()) std::memcpy(records.data(), bytes.data() + from, records.size() * sizeof(T));
  return records;
}
template <typename T>
std::vector<T> ReadRecords(const std::string& path) { return Records<T>(ReadWholeFile(path)); }
template <typename T>
void WriteRecords(const std::string& path, const std::vector<T>& records) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(records.data());
  WriteWholeFile(path, std::vector<uint8_t>(bytes, bytes + records.size() * sizeof(T)));
}

// What a shared block holds now (a default value when it cannot be read).
template <typename T, typename Block>
T Value(Block& block) {
  T value{};
  block.ReadValue(value);
  return value;
}

// A 16-bit PCM WAV file of the given interleaved samples.
void WriteWav(const std::string& path, uint32_t rate, uint16_t channels, const std::vector<int16_t>& samples);

// A mono 16-bit PCM WAV file holding `value` throughout; gives its path.
std::string WriteSteadyWav(const std::string& path, uint32_t rate, double seconds, int16_t value = 1000);

// Copies each (source, name) file into the folder under its name; gives the names of the folder's
// DLLs in the order a folder walk lists them (the order plug-in hosts load them in).
std::vector<std::string> CopyDlls(const ScratchFolder& folder, const std::vector<std::pair<std::string, std::string>>& files);

// A 24-bit BMP file of one colour (0x00RRGGBB).
std::vector<uint8_t> SolidBmp(int width, int height, uint32_t rgb);

// The folder of the running test executable, with a trailing backslash.
std::string ExecutableFolder();

// oxpeer.exe, the second process of the cross-process tests, built beside the tests.
std::string PeerPath();

// The audio files tests/fixtures/make_audio.sh made for this run (environment OX_FIXTURES), with a
// trailing backslash.
std::string FixtureFolder();
inline std::string Fixture(const std::string& name) { return FixtureFolder() + name; }

// Runs a program with arguments and returns its exit code (-1 when it could not be started or did
// not end within 30 s).
int RunAndWait(const std::string& exe, const std::string& arguments);

// A second process of a test. Wine now and then refuses a start while an earlier process is still
// being torn down: the start is tried five times. One still running at the end is asked to end by
// `askToEnd` (when given), and terminated when it has not ended 10 s later.
class Process {
 public:
  Process(const std::string& exe, const std::string& arguments, std::function<void()> askToEnd = nullptr);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool Started() const { return process_ != nullptr; }
  // The exit code, or -1 when it has not ended within limitMs.
  int Wait(uint32_t limitMs);

 private:
  void* process_ = nullptr;  // the process handle
  std::function<void()> askToEnd_;
};

// Polls condition every 20 ms until it holds or limitMs has passed; whether it held at the end.
// The limits are generous: a loaded machine must not fail a test that a fast one passes.
bool WaitFor(const std::function<bool()>& condition, uint32_t limitMs);

// WaitFor, dispatching this thread's window messages meanwhile (for windows and hotkeys of the
// test's own thread).
bool PumpUntil(const std::function<bool()>& condition, uint32_t limitMs = 3000);

// Real input through the system's input queue: mouse button flags (MOUSEEVENTF_*), with
// MOUSEEVENTF_MOVE a move to (x, y) in screen pixels, followed by 60 ms for the windows to take it;
// a click at (x, y) with a button's down and up flags (the left button's by default); a key (a
// virtual-key code) pressed or let go.
void Mouse(uint32_t flags, int x = 0, int y = 0);
void Click(int x, int y, uint32_t down = 0x0002, uint32_t up = 0x0004);
void Key(uint16_t key, bool down);

// Waits for the common file dialog with this title, types `names` into its file name box and
// presses OK, as a user would; whether the dialog was there.
bool AnswerFileDialog(const char* title, const std::string& names, uint32_t limitMs = 10000);

// The pixels of a width x height rectangle of a device context (the screen's when `dc` is null), row
// by row from the top, as 0x00RRGGBB.
std::vector<uint32_t> Pixels(void* dc, int x, int y, int width, int height);

// A name no other test run uses, for named kernel objects and registry keys.
std::string UniqueName(const std::string& stem);

// Whether a hotkey combination (MOD_* flags, a virtual-key code) is taken by some program: it cannot
// be registered (a combination this could register is released again at once).
bool HotKeyTaken(uint32_t modifiers, uint32_t key);

}  // namespace oxtest
