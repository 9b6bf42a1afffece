#include "ui/SkinRecords.h"

#include <gtest/gtest.h>

#include <tuple>

#include "ui/SkinLimits.h"

namespace ox {
namespace {

// A record of the given type for window `id`, written field by field at the file's offsets.
std::vector<uint8_t> Record(int32_t type, int32_t id, const std::string& name = "") {
  std::vector<uint8_t> r(kSkinRecordSize, 0);
  PutLe32(&r[0], static_cast<uint32_t>(type));
  std::memcpy(&r[4], name.data(), std::min<size_t>(name.size(), 30));
  PutLe32(&r[50], static_cast<uint32_t>(id));
  return r;
}

void Append(std::vector<uint8_t>& file, const std::vector<uint8_t>& record) { file.insert(file.end(), record.begin(), record.end()); }

TEST(SkinRecords, ElementsJoinTheFirstEarlierWindowOfTheirIdOthersAreDropped) {
  std::vector<uint8_t> file;
  Append(file, Record(2, 7, "early"));  // before its window: dropped
  Append(file, Record(1, 7, "Main"));
  Append(file, Record(1, 9, "Eq"));
  Append(file, Record(1, 7, "Twin"));   // same id: elements still go to the first
  Append(file, Record(3, 9, "image"));
  Append(file, Record(5, 7, "slider"));
  Append(file, Record(6, 4, "orphan"));  // no such window
  Append(file, Record(42, 9, "unknown type"));
  file.resize(file.size() + kSkinRecordSize - 1, 0xEE);  // a short tail
  MemorySource source(file);
  const std::vector<SkinWindowRecords> windows = ReadSkinFile(source);
  ASSERT_EQ(windows.size(), 3u);
  EXPECT_EQ(windows[0].window.Header().Name(), "Main");
  ASSERT_EQ(windows[0].elements.size(), 1u);
  EXPECT_EQ(windows[0].elements[0].Header().Name(), "slider");
  ASSERT_EQ(windows[1].elements.size(), 2u);
  EXPECT_EQ(windows[1].elements[0].Type(), SkinRecordType::Image);
  EXPECT_EQ(+windows[1].elements[1].Header().type, 42);
  EXPECT_TRUE(windows[2].elements.empty());
}

// Most offsets are checked where the records are declared; here the fields between those anchors
// and what reading adds.
TEST(SkinRecords, FieldsBetweenTheAnchors_NamesWithoutTheirZero_SignedFields) {
  std::vector<uint8_t> w = Record(1, 1, std::string(40, 'W'));  // 30 bytes kept, no zero
  PutLe32(&w[34], static_cast<uint32_t>(-20));
  PutLe32(&w[42], 116);
  PutLe32(&w[46], 275);
  std::memcpy(&w[54], "main", 4);
  w[586] = 0xFF;  // rank -1
  std::vector<uint8_t> v = Record(7, 1);
  PutLe32(&v[78], 24);
  Append(w, v);
  MemorySource source(w);
  const std::vector<SkinWindowRecords> windows = ReadSkinFile(source);
  ASSERT_EQ(windows.size(), 1u);
  ASSERT_EQ(windows[0].elements.size(), 1u);
  const WindowRecord window = windows[0].window.As<WindowRecord>();
  EXPECT_EQ(window.header.Name(), std::string(30, 'W'));
  EXPECT_EQ(std::make_tuple(+window.header.x, +window.header.height, +window.header.width), std::make_tuple(-20, 116, 275));
  EXPECT_EQ(FieldText(window.bitmap), "main");
  EXPECT_EQ(+window.rank, -1);
  EXPECT_EQ(+windows[0].elements[0].As<VisualisationRecord>().barCount, 24);
  EXPECT_EQ(std::make_tuple(IsBitmapName(""), IsBitmapName("Not Set"), IsBitmapName("knob")),
            std::make_tuple(false, false, true));
}

// Skin files come from anyone: counts, sizes and places are held to the bounds a skin may ask for.
TEST(SkinRecords, HeldToTheSkinLimits_FileSizeWindowsElementsPlacesAndSizes) {
  std::vector<uint8_t> file;
  std::vector<uint8_t> first = Record(1, 1, "First");
  PutLe32(&first[34], static_cast<uint32_t>(INT32_MIN));
  PutLe32(&first[38], static_cast<uint32_t>(INT32_MAX));
  PutLe32(&first[42], 0xFFFFFFFF);  // a 4 GB height reads as -1
  PutLe32(&first[46], static_cast<uint32_t>(kMaxSkinExtent + 1));
  Append(file, first);
  for (size_t i = 0; i < kMaxWindowElements + 2; ++i) Append(file, Record(3, 1));
  for (int32_t id = 2; id <= static_cast<int32_t>(kMaxSkinWindows) + 2; ++id) Append(file, Record(1, id));
  Append(file, Record(3, static_cast<int32_t>(kMaxSkinWindows) + 1));  // the dropped window's element
  MemorySource source(file);
  const std::vector<SkinWindowRecords> windows = ReadSkinFile(source);
  ASSERT_EQ(windows.size(), kMaxSkinWindows);
  EXPECT_EQ(windows[0].elements.size(), kMaxWindowElements);
  EXPECT_EQ(+windows.back().window.Header().windowId, static_cast<int32_t>(kMaxSkinWindows));
  const SkinHeader h = windows[0].window.Header();
  EXPECT_EQ(std::make_tuple(+h.x, +h.y, +h.height, +h.width),
            std::make_tuple(-kMaxSkinCoordinate, kMaxSkinCoordinate, 0, kMaxSkinExtent));

  // A file of the largest size is read; one byte more and nothing is.
  std::vector<uint8_t> largest = Record(1, 1);
  largest.resize(kMaxSkinFileBytes);
  MemorySource atLimit(largest);
  EXPECT_EQ(ReadSkinFile(atLimit).size(), 1u);
  largest.push_back(0);
  MemorySource past(std::move(largest));
  EXPECT_TRUE(ReadSkinFile(past).empty());
}

}  // namespace
}  // namespace ox
