// librarian_peer.exe: the player's side of the collection tests, in a process of its own.
//   librarian_peer update N PATH...   N in-place updates of the active collection, the way the player
//                                     counts a play: path i % count, level 500 + i
#include <cstdlib>
#include <string>

#include "core/TrackRecord.h"
#include "queue/Collection.h"

int main(int argc, char** argv) {
  if (argc < 4 || std::string(argv[1]) != "update") return 100;
  const int rounds = std::atoi(argv[2]);
  for (int i = 0; i < rounds; ++i)
    ox::UpdateCollectionEntry(argv[3 + i % (argc - 3)], true, static_cast<int16_t>(500 + i));
  return 0;
}
