// Reading and writing the value of a settings row (OptionRows.h) through the settings table: what
// the row shows when the window opens, and what it stores when the user changed it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "launcher/OptionRows.h"

namespace ox {

// Check boxes (0 or 1) and choices (their index): the stored number as shown.
int64_t LoadRowValue(const OptionRow& row);
void StoreRowValue(const OptionRow& row, int64_t shown);

// Edit fields and name lists: the text shown, a number held to its range ("-1.5" for tenths).
std::string LoadRowText(const OptionRow& row);
// Stores typed text; false, nothing written, when a number row's text is no number.
bool StoreRowText(const OptionRow& row, std::string_view text);

}  // namespace ox
