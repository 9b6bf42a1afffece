// The folder watch: watched folders scanned on a schedule, new music added to the collection.
#pragma once

namespace ox {

// Called by the core thread once per cycle (about every 100 ms). The scan itself and its schedule
// settings ("FWSchedule" and its siblings) arrive with the folder watch; until then a cycle finds
// nothing to do.
void FolderWatchSchedule();

}  // namespace ox
