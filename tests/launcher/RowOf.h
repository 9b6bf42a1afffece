// The options program's row for a setting, for the tests that drive rows by the setting they store.
#pragma once

#include <stdexcept>

#include "launcher/OptionRows.h"

namespace ox {

inline const OptionRow& RowOf(const Setting& s) {
  for (const OptionPage& page : OptionPages())
    for (const OptionRow& row : page.rows)
      if (row.setting == &s) return row;
  throw std::logic_error(s.name);
}

}  // namespace ox
