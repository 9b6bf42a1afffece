// Loading a skin: a folder of 200 records in one skin file and 40 bitmaps (four window backgrounds
// and 36 button-sized pictures, 24-bit BMP), records read and every bitmap decoded, as a skin change
// does before its windows appear.
//   skin_load <scratch folder>
#include <windows.h>

#include "BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/ByteSource.h"
#include "ui/Bitmap.h"
#include "ui/SkinManager.h"

namespace {

void WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::vector<uint8_t> GradientBmp(int width, int height) {
  const int row = (width * 3 + 3) & ~3;
  std::vector<uint8_t> b(54 + row * height, 0);
  b[0] = 'B', b[1] = 'M';
  ox::PutLe32(&b[2], static_cast<uint32_t>(b.size()));
  ox::PutLe32(&b[10], 54);
  ox::PutLe32(&b[14], 40);
  ox::PutLe32(&b[18], static_cast<uint32_t>(width));
  ox::PutLe32(&b[22], static_cast<uint32_t>(height));
  ox::PutLe16(&b[26], 1);
  ox::PutLe16(&b[28], 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &b[54 + y * row + x * 3];
      p[0] = static_cast<uint8_t>(x * 255 / width), p[1] = static_cast<uint8_t>(y * 255 / height), p[2] = 0x40;
    }
  return b;
}

ox::SkinRecord Record(int32_t type, int32_t windowId, const std::string& bitmap) {
  ox::SkinRecord r{};
  ox::PutLe32(r.bytes, static_cast<uint32_t>(type));
  ox::PutLe32(r.bytes + 50, static_cast<uint32_t>(windowId));
  std::copy(bitmap.begin(), bitmap.end(), r.bytes + 54);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: skin_load <scratch folder>\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "\\";
  std::vector<uint8_t> skin;
  std::vector<std::string> bitmaps;
  for (int w = 1; w <= 4; ++w) {
    bitmaps.push_back("window" + std::to_string(w));
    WriteWhole(folder + bitmaps.back() + ".bmp", GradientBmp(400, 150));
  }
  for (int i = 0; i < 36; ++i) {
    bitmaps.push_back("button" + std::to_string(i));
    WriteWhole(folder + bitmaps.back() + ".bmp", GradientBmp(48, 32));
  }
  for (int i = 0; i < 200; ++i) {
    const int window = i % 50 == 0 ? i / 50 + 1 : 0;  // windows 1..4, each followed by its 49 elements
    const ox::SkinRecord r =
        window ? Record(1, window, bitmaps[window - 1]) : Record(2 + i % 6, i / 50 + 1, bitmaps[4 + i % 36]);
    skin.insert(skin.end(), r.bytes, r.bytes + ox::kSkinRecordSize);
  }
  WriteWhole(folder + "bench.skin", skin);

  std::vector<double> times;
  size_t records = 0, decoded = 0;
  for (int round = 0; round < 15; ++round) {
    const double start = Now();
    const ox::LoadedSkin loaded = ox::LoadSkinFolder("bench", folder);
    std::vector<std::unique_ptr<ox::Bitmap>> pictures;
    for (const std::string& name : bitmaps) {
      pictures.push_back(std::make_unique<ox::Bitmap>());
      decoded += pictures.back()->LoadFile(folder + name + ".bmp");
    }
    times.push_back((Now() - start) * 1000);
    for (const auto& group : loaded.groups)
      for (const auto& window : group->windows) records += 1 + window->Elements().size();
  }
  std::sort(times.begin(), times.end());
  std::printf("skin load, 200 records and 40 bitmaps: median %.2f ms, best %.2f ms (%zu records, %zu bitmaps a round)\n",
              times[times.size() / 2], times[0], records / times.size(), decoded / times.size());
  return 0;
}
