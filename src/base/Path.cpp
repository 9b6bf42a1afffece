#include "base/Path.h"

namespace ox {

namespace {

size_t LastBackslash(std::string_view path) { return path.rfind('\\'); }

// Position of the extension's dot, or npos when the last component has none.
size_t ExtensionDot(std::string_view path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return dot;
  const size_t slash = LastBackslash(path);
  if (slash != std::string_view::npos && dot < slash) return std::string_view::npos;
  return dot;
}

}  // namespace

void EnsureTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
}

std::string FileNameOf(std::string_view path) {
  const size_t slash = LastBackslash(path);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderOf(std::string_view path) {
  const size_t slash = LastBackslash(path);
  return std::string(slash == std::string_view::npos ? path : path.substr(0, slash + 1));
}

std::string StripExtension(std::string_view path) {
  const size_t dot = ExtensionDot(path);
  return std::string(dot == std::string_view::npos ? path : path.substr(0, dot));
}

std::string FileTitleOf(std::string_view path) { return FileNameOf(StripExtension(path)); }

std::string SafeFileName(std::string_view text) {
  std::string name(text);
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name;
}

std::string ExtensionOf(std::string_view path) {
  const size_t dot = ExtensionDot(path);
  return dot == std::string_view::npos ? std::string(".") : std::string(path.substr(dot));
}

std::vector<std::string> FolderChain(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);

  // Skip what cannot be created: "\\server\share" of a network path, "C:" of a drive path,
  // the leading "\" of a path rooted on the current drive.
  size_t pos = 0;
  if (path.substr(0, 2) == "\\\\") {
    pos = path.find('\\', 2);                                     // end of server
    if (pos != std::string_view::npos) pos = path.find('\\', pos + 1);  // end of share
    if (pos == std::string_view::npos) return {};
  } else if (path.size() >= 2 && path[1] == ':') {
    pos = 2;
  }

  std::vector<std::string> chain;
  while (pos < path.size()) {
    const size_t next = path.find('\\', pos + 1);
    const size_t end = next == std::string_view::npos ? path.size() : next;
    if (end > pos + 1 || (end == pos + 1 && path[pos] != '\\'))
      chain.emplace_back(path.substr(0, end));
    pos = end;
  }
  return chain;
}

}  // namespace ox
