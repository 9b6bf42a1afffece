#include "librarian/LibrarianRules.h"

#include <algorithm>

#include "base/Text.h"

namespace ox {

bool AsksForSelective(std::string_view commandLine) {
  // The program's own path comes first, quoted or not; the word after it decides.
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const size_t close = commandLine.find('"', 1);
    at = close == std::string_view::npos ? commandLine.size() : close + 1;
  } else {
    at = std::min(commandLine.find(' '), commandLine.size());
  }
  const std::string_view rest = commandLine.substr(at);
  return ContainsNoCase(rest, "<selective>");
}

LibrarianLayout LayOut(int width, int height, int dpi) {
  auto px = [dpi](int at96) { return at96 * (dpi > 0 ? dpi : 96) / 96; };
  width = std::max(width, px(320));
  height = std::max(height, px(200));
  const int gap = px(6), row = px(24), label = px(40);
  LibrarianLayout l;
  const int bottom = height - gap - row;
  l.cancel = {width - gap - px(80), bottom, px(80), row};
  const int progress = std::min(px(260), (l.cancel.x - 3 * gap) / 2);
  l.progress = {l.cancel.x - gap - progress, bottom, progress, row};
  l.status = {gap, bottom, l.progress.x - 2 * gap, row};

  l.filterLabel = {gap, gap + px(4), label, row - px(4)};
  l.group = {width - gap - px(120), gap, px(120), row * 8};  // a drop-down's box holds its list
  l.filter = {l.filterLabel.x + label, gap, l.group.x - gap - (l.filterLabel.x + label), row};
  const int top = gap + row + gap, middle = bottom - gap - top;
  const int treeWidth = std::min(px(220), width / 4);
  l.tree = {gap, top, treeWidth, middle};
  l.list = {2 * gap + treeWidth, top, width - 3 * gap - treeWidth, middle};

  // The selective view: the two lists, a row of preference and buttons, a row for the count.
  const int half = (width - 3 * gap) / 2, top2 = gap + row, listHeight = std::max(0, bottom - top2 - 3 * gap - 2 * row);
  l.artistsLabel = {gap, gap + px(4), half, row - px(4)};
  l.genresLabel = {2 * gap + half, gap + px(4), width - 3 * gap - half, row - px(4)};
  l.artists = {gap, top2, half, listHeight};
  l.genres = {2 * gap + half, top2, width - 3 * gap - half, listHeight};
  const int y = top2 + listHeight + gap;
  l.minLabel = {gap, y + px(4), px(80), row - px(4)};
  l.minPreference = {l.minLabel.x + l.minLabel.width, y, px(70), row * 8};
  l.maxLabel = {l.minPreference.x + px(70) + gap, y + px(4), px(30), row - px(4)};
  l.maxPreference = {l.maxLabel.x + l.maxLabel.width, y, px(70), row * 8};
  l.clear = {width - gap - px(80), y, px(80), row};
  l.apply = {l.clear.x - gap - px(80), y, px(80), row};
  l.count = {gap, y + row + gap + px(4), width - 2 * gap, row - px(4)};
  return l;
}

}  // namespace ox
