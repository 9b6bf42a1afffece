#include "ui/OpenMusicFiles.h"

#include <commdlg.h>

#include <string>
#include <utility>
#include <vector>

#include "base/TaskQueue.h"
#include "engine/CodecHost.h"
#include "queue/PlayerCommands.h"
#include "ui/FileDialog.h"

namespace ox {

void OpenMusicFiles(HWND owner) {
  FileDialogRequest request;
  request.owner = owner;
  request.title = "Select Music File(s)";
  request.folderSetting = &setting::LastAccessedFolder;
  request.flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
  // Every format the codecs play and the playlists first, then each format on its own.
  const CodecHost& codecs = Codecs();
  FileFilter all{"Music Files and Playlists", {}};
  codecs.AppendPatternList(all.pattern);
  all.pattern += ";*.m3u;*.pls";
  request.filters.push_back(std::move(all));
  for (const CodecFormat& format : codecs.Formats()) request.filters.push_back({format.description, "*" + format.extension});
  // Playing them may wait for a queue file another program holds: not on the window's thread.
  std::vector<std::string> paths = ShowFileDialog(request).paths;
  if (!paths.empty()) FileTasks().Post([paths = std::move(paths)] { PlayNowInOrder(paths); });
}

}  // namespace ox
