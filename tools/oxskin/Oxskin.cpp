// oxskin: the skin compiler. Builds a skin file and its window outlines from a text description,
// prints a skin file back as text, and checks a skin folder for what the player would silently
// drop or misdraw. See docs/skins.md.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/ByteSource.h"
#include "tools/oxskin/SkinCheck.h"
#include "tools/oxskin/SkinText.h"
#include "ui/SkinLimits.h"

namespace fs = std::filesystem;
using namespace ox;

namespace {

// At most one byte more than the largest file the player reads, so that a huge file is reported as
// too large without being read whole.
std::optional<std::vector<uint8_t>> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const auto size = static_cast<uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
  in.seekg(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min(size, std::max(kMaxSkinFileBytes, kMaxPictureFileBytes) + 1)));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The files of a folder by lower-case name: the player finds them on Windows whatever their case.
std::map<std::string, fs::path> FilesOf(const fs::path& folder) {
  std::map<std::string, fs::path> files;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file(error)) files.emplace(Lower(entry.path().filename().string()), entry.path());
  }
  return files;
}

skintext::FolderReader ReaderOf(const std::map<std::string, fs::path>& files) {
  return [&files](const std::string& name) -> std::optional<std::vector<uint8_t>> {
    const auto file = files.find(Lower(name));
    if (file == files.end()) return std::nullopt;
    return ReadFile(file->second);
  };
}

int Build(const fs::path& textFile, const fs::path& folder) {
  const std::optional<std::vector<uint8_t>> text = ReadFile(textFile);
  if (!text) {
    std::cerr << "oxskin: cannot read " << textFile.string() << "\n";
    return 1;
  }
  std::vector<std::string> errors;
  const skintext::Skin skin = skintext::Parse(std::string(text->begin(), text->end()), errors);
  for (const std::string& error : errors) std::cerr << textFile.string() << ": " << error << "\n";
  if (!errors.empty()) return 1;
  // What the player would clamp, drop or refuse is not built.
  const std::vector<std::string> limits = skintext::CheckSkinLimits(skin.bytes, skin.outlines);
  for (const std::string& problem : limits) std::cerr << textFile.string() << ": " << problem << "\n";
  if (!limits.empty()) return 1;
  std::error_code error;
  fs::create_directories(folder, error);
  bool written = WriteFile(folder / (textFile.stem().string() + ".skin"), skin.bytes);
  for (const auto& [bitmap, points] : skin.outlines)
    written = WriteFile(folder / (bitmap + ".bin"), skintext::OutlineBytes(points)) && written;
  if (!written) std::cerr << "oxskin: cannot write into " << folder.string() << "\n";
  return written ? 0 : 1;
}

int Dump(const fs::path& skinFile) {
  const std::optional<std::vector<uint8_t>> bytes = ReadFile(skinFile);
  if (!bytes) {
    std::cerr << "oxskin: cannot read " << skinFile.string() << "\n";
    return 1;
  }
  // The outlines of the windows, from the .bin files beside the skin file.
  const std::map<std::string, fs::path> files = FilesOf(skinFile.has_parent_path() ? skinFile.parent_path() : ".");
  const skintext::FolderReader read = ReaderOf(files);
  std::map<std::string, std::vector<SkinPoint>> outlines;
  for (size_t at = 0; at + kSkinRecordSize <= bytes->size(); at += kSkinRecordSize) {
    SkinRecord record;
    std::copy_n(bytes->data() + at, kSkinRecordSize, record.bytes);
    if (record.Type() != SkinRecordType::Window) continue;
    const WindowRecord window = record.As<WindowRecord>();
    const std::string bitmap(FieldText(window.bitmap));
    if (!IsBitmapName(bitmap) || outlines.count(bitmap)) continue;
    if (std::optional<std::vector<uint8_t>> bin = read(bitmap + ".bin")) {
      MemorySource source(std::move(*bin));
      outlines[bitmap] = ReadOutline(source);
    }
  }
  std::cout << skintext::Dump(*bytes, outlines);
  return 0;
}

int Check(const fs::path& folder) {
  const std::map<std::string, fs::path> files = FilesOf(folder);
  std::vector<std::string> skinFiles;
  for (const auto& [lower, path] : files) {
    if (lower.size() > 5 && lower.compare(lower.size() - 5, 5, ".skin") == 0) skinFiles.push_back(path.filename().string());
  }
  if (skinFiles.empty()) {
    std::cerr << folder.string() << ": no .skin file\n";
    return 1;
  }
  const std::vector<std::string> problems = skintext::CheckSkinFolder(skinFiles, ReaderOf(files));
  for (const std::string& problem : problems) std::cout << folder.string() << "/" << problem << "\n";
  if (problems.empty()) std::cout << folder.string() << ": " << skinFiles.size() << " skin file(s), no problems\n";
  return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "build") return Build(args[1], args[2]);
  if (args.size() == 2 && args[0] == "dump") return Dump(args[1]);
  if (args.size() == 2 && args[0] == "check") return Check(args[1]);
  std::cerr << "usage: oxskin build SKIN.txt FOLDER   writes FOLDER/SKIN.skin and the outlines' .bin files, unless\n"
               "                                      the skin breaks a limit of docs/skins.md\n"
               "       oxskin dump FILE.skin          prints the skin file as text\n"
               "       oxskin check FOLDER            reports what the player would drop or misdraw\n";
  return 2;
}
