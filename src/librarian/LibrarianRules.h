// The collection editor's arithmetic, pure: which view a command line asks for, where the window's
// controls go at a size and DPI, and the preference steps the user picks from.
#pragma once

#include <cstdint>
#include <string_view>

namespace ox {

// `"<path>" <selective>` asks for the selective-play view; anything else (no argument) the library.
bool AsksForSelective(std::string_view commandLine);

// The ids of the window's controls (GetDlgItem), fixed so that other programs and tests can find them.
enum LibrarianControl : int {
  kFilterBox = 100,
  kGroupBox,
  kGroupTree,
  kTrackList,
  kArtistList,
  kGenreList,
  kMinPreferenceBox,
  kMaxPreferenceBox,
  kApplyButton,
  kClearButton,
  kCancelButton
};

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
};

// The controls of both views in a client area of width x height at dpi (96 is 100 %).
struct LibrarianLayout {
  Box filterLabel, filter, group;  // top row of the library view
  Box tree, list;                  // the group tree beside the list
  Box artistsLabel, genresLabel;   // the selective view's two lists and their headings
  Box artists, genres;
  Box minLabel, minPreference, maxLabel, maxPreference, count, apply, clear;
  Box status, progress, cancel;  // the bottom row of both
};
LibrarianLayout LayOut(int width, int height, int dpi);

// The preference steps a user picks from: 1, 1.5, ... 5 (record values 1-9).
constexpr int kPreferenceSteps = 9;
inline uint8_t PreferenceOfStep(int step) { return static_cast<uint8_t>(step < 0 ? 1 : step > 8 ? 9 : step + 1); }

}  // namespace ox
