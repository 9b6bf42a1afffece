#include "queue/EqPresets.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <vector>

#include "base/DataFile.h"
#include "base/Path.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/EqPresetFormat.h"

namespace ox {
namespace {

constexpr char kFolderSetting[] = "LastAccessedFolderEq";

EqPositions CurrentPositions() {
  EqPositions p{};
  block::OxEqPositions.ReadValue(p);
  return p;
}

void Publish(const EqPositions& p) {
  block::OxEqPositions.WriteValue(p);
  evt::OxEqPosChanged.Set();
}

// Runs a file dialog from the preset folder; the chosen path, or empty on cancel. The folder of
// a chosen file is kept for the next dialog.
std::string RunDialog(bool save, const char* title, const std::string& filter, DWORD flags) {
  ReleaseCapture();  // the dialog comes from a button press on a skin window
  const std::string folder = EqPresetFolder();
  std::vector<char> name(100000, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = title;
  dialog.Flags = flags | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return {};
  const std::string chosen = name.data();
  SetTextSetting(FolderOf(chosen).c_str(), kFolderSetting);
  return chosen;
}

std::string Filter(std::initializer_list<const char*> parts) {
  std::string filter;
  for (const char* part : parts) filter.append(part).push_back('\0');
  return filter;
}

}  // namespace

std::string EqPresetFolder() {
  std::string folder = GetTextSetting(kFolderSetting);
  if (folder.empty()) folder = InstallFolder(false) + "Equalizer-Presets\\";
  return folder;
}

void ResetEqualiser() { Publish(FlatEqPositions(CurrentPositions())); }

bool SaveEqPresetFile(const std::string& chosen) {
  const EqPositions p = CurrentPositions();
  DataFile file(PresetFileName(chosen), FileAccess::Write, FileCreation::CreateAlways);
  return file.IsOpen() && file.Write(&p, sizeof p, FileOrigin::Start);
}

bool LoadEqPresetFile(const std::string& path) {
  DataFile file(path, FileAccess::Read, FileCreation::OpenExisting);
  if (!file.IsOpen()) return false;
  if (IsEqfFile(path)) {
    const uint64_t size = file.Size();
    uint8_t preset[kEqfPresetBytes];
    if (size < sizeof preset || !file.SeekTo(size - sizeof preset) ||
        file.Read(preset, sizeof preset) != sizeof preset)
      return false;
    Publish(EqPositionsFromEqf(preset));
    return true;
  }
  EqPositions p{};
  if (file.Read(&p, sizeof p, FileOrigin::Start) != sizeof p) return false;
  Publish(p);
  return true;
}

void SaveEqPreset() {
  const std::string chosen = RunDialog(true, "Save Graphic Equalizer Settings",
                                       Filter({"Orlavox Graphic Equalizer", ";*.oeq"}), OFN_OVERWRITEPROMPT);
  if (!chosen.empty()) SaveEqPresetFile(chosen);
}

void LoadEqPreset() {
  const std::string chosen =
      RunDialog(false, "Load Stored Graphic Equalizer Settings",
                Filter({"Orlavox Graphic Equalizer", ";*.oeq", "WinAmp EQF", "*.eqf"}), OFN_FILEMUSTEXIST);
  if (!chosen.empty()) LoadEqPresetFile(chosen);
}

}  // namespace ox
