#include "base/Sort.h"

#include "base/Text.h"

namespace ox {

void SortStrings(std::vector<std::string>& list, bool ignoreCase) {
  const long last = static_cast<long>(list.size()) - 1;
  if (ignoreCase)
    QuickSort(list, 0, last, [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
  else
    QuickSort(list, 0, last, [](const std::string& a, const std::string& b) { return CompareBytes(a, b) < 0; });
}

}  // namespace ox
