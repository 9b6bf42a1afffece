#include "queue/FolderWatch.h"

namespace ox {

void FolderWatchSchedule() {}

}  // namespace ox
