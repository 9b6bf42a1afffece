// The list sort of the player: an in-place quicksort with a middle pivot. It is not stable, and
// which of two equal items comes first is part of what the sibling programs see in a sorted list,
// so it is kept exactly rather than left to std::sort.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ox {

// Sorts items[first..last] (both inclusive) ascending by `less`. Indices outside the vector, or
// first >= last, sort nothing.
template <typename T, typename Less>
void QuickSort(std::vector<T>& items, long first, long last, Less less) {
  if (first < 0 || last >= static_cast<long>(items.size())) return;
  while (first < last) {
    const T pivot = items[(first + last) / 2];
    long left = first, right = last;
    while (left <= right) {
      while (less(items[left], pivot) && left < last) ++left;
      while (less(pivot, items[right]) && right > first) --right;
      if (left <= right) {
        std::swap(items[left], items[right]);
        ++left;
        --right;
      }
    }
    if (first < right) QuickSort(items, first, right, less);  // left part by recursion
    first = left;                                              // right part by iteration
  }
}

// Sorts a whole string list ascending: byte-wise on unsigned characters, or ignoring the case of
// A-Z the way _stricmp does.
void SortStrings(std::vector<std::string>& list, bool ignoreCase);

}  // namespace ox
