#include "queue/PlaylistFile.h"

#include "base/DataFile.h"
#include "base/FileSource.h"

namespace ox {

std::string PlaylistEntryOf(const std::string& playlist, uint32_t n) {
  if (n == 0) return {};
  DataFile file(playlist, FileAccess::Read, FileCreation::OpenExisting);
  if (!file.IsOpen()) return {};
  FileSource source(file);
  return PlaylistEntry(source, playlist, n);
}

bool WriteM3uFile(const std::string& path, const std::vector<M3uTrack>& tracks) {
  const std::string text = M3uText(tracks);
  DataFile file(path, FileAccess::Write, FileCreation::CreateAlways, true);
  return file.IsOpen() && file.Write(text.data(), static_cast<uint32_t>(text.size()));
}

}  // namespace ox
