#include "ui/EqPresets.h"

#include <windows.h>
#include <commdlg.h>

#include <utility>

#include "base/DataFile.h"
#include "base/Path.h"
#include "base/Wide.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/EqPresetFormat.h"
#include "ui/FileDialog.h"

namespace ox {
namespace {

EqPositions CurrentPositions() {
  EqPositions p{};
  block::OxEqPositions.ReadValue(p);
  return p;
}

void Publish(const EqPositions& p) {
  block::OxEqPositions.WriteValue(p);
  evt::OxEqPosChanged.Set();
}

// The preset dialogs come from a button press on a skin window: the capture goes first.
std::string ChosenPreset(FileDialogRequest request) {
  ReleaseCapture();
  request.folderSetting = &setting::LastAccessedFolderEq;
  request.fallbackFolder = EqPresetFolder();
  const FileSelection chosen = ShowFileDialog(request);
  return chosen.paths.empty() ? std::string() : chosen.paths[0];
}

}  // namespace

std::string EqPresetFolder() {
  std::string folder = ReadText(setting::LastAccessedFolderEq);
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
    Publish(EqPositionsInRange(EqPositionsFromEqf(preset)));
    return true;
  }
  EqPositions p{};
  if (file.Read(&p, sizeof p, FileOrigin::Start) != sizeof p) return false;
  Publish(EqPositionsInRange(p));
  return true;
}

void SaveEqPreset() {
  constexpr char kTitle[] = "Save Graphic Equalizer Settings";
  FileDialogRequest request;
  request.save = true;
  request.title = kTitle;
  request.filters = {{"Orlavox Graphic Equalizer", ";*.oeq"}};
  request.flags = OFN_OVERWRITEPROMPT;
  request.defaultExtension = kPresetExtension + 1;  // the prompt asks about the name that is written
  const std::string chosen = ChosenPreset(std::move(request));
  if (chosen.empty()) return;
  // The dialog asked about the name it gave back; a name with another extension is written with
  // ".oeq" behind it, and that file is asked about here.
  const std::string written = PresetFileName(chosen);
  if (written != chosen && GetFileAttributesW(Wide(written).c_str()) != INVALID_FILE_ATTRIBUTES) {
    const std::wstring question = Wide(FileNameOf(written) + " already exists.\nDo you want to replace it?");
    if (MessageBoxW(nullptr, question.c_str(), Wide(kTitle).c_str(), MB_YESNO | MB_ICONWARNING) != IDYES) return;
  }
  SaveEqPresetFile(chosen);
}

void LoadEqPreset() {
  FileDialogRequest request;
  request.title = "Load Stored Graphic Equalizer Settings";
  request.filters = {{"Orlavox Graphic Equalizer", ";*.oeq"}, {"WinAmp EQF", "*.eqf"}};
  request.flags = OFN_FILEMUSTEXIST;
  const std::string chosen = ChosenPreset(std::move(request));
  if (!chosen.empty()) LoadEqPresetFile(chosen);
}

}  // namespace ox
