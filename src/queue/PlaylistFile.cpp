#include "queue/PlaylistFile.h"

#include "base/DataFile.h"
#include "base/FileSource.h"
#include "base/Wide.h"

namespace ox {

std::string PlaylistEntryOf(const std::string& playlist, uint32_t n) {
  if (n == 0) return {};
  DataFile file(playlist, FileAccess::Read, FileCreation::OpenExisting);
  if (!file.IsOpen()) return {};
  FileSource source(file);
  return PlaylistEntry(source, playlist, n, FromAnsi);
}

}  // namespace ox
