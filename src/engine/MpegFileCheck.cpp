#include "base/DataFile.h"
#include "base/FileSource.h"
#include "engine/MpegCheck.h"

namespace ox {

bool MpegAudioCheck(const std::string& path) {
  DataFile file(path, FileAccess::Read, FileCreation::OpenExisting);
  if (!file.IsOpen()) return false;
  FileSource source(file);
  return IsMpegAudio(source);
}

}  // namespace ox
