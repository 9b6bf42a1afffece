#include "ui/SkinRecords.h"

#include <gtest/gtest.h>

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

TEST(SkinRecords, FieldsAtTheirOffsetsAndNamesWithoutTheirZero) {
  std::vector<uint8_t> w = Record(1, 1, std::string(40, 'W'));  // 30 bytes kept, no zero
  PutLe32(&w[34], static_cast<uint32_t>(-20));
  PutLe32(&w[46], 275);
  std::memcpy(&w[54], "main", 4);
  PutLe32(&w[318], 2);
  std::memcpy(&w[322], "<IsRillWindow>", 14);
  w[586] = 0xFF;  // rank -1
  w[587] = 1;
  std::vector<uint8_t> b = Record(2, 1);
  PutLe32(&b[834], 2);
  std::memcpy(&b[838], "evtOxPlay", 9);
  std::memcpy(&b[1098], "Play", 4);
  std::vector<uint8_t> f = Record(4, 1);
  f[54] = 1;
  std::memcpy(&f[55], "digits", 6);
  PutLe32(&f[835], static_cast<uint32_t>(-12));
  f[841] = 1;
  PutLe32(&f[842], 0x00FFCC00);
  std::vector<uint8_t> v = Record(7, 1);
  PutLe32(&v[78], 24);
  PutLe32(&v[142], 3);
  PutLe32(&v[162], 0x123456);
  std::vector<uint8_t> file;
  for (const auto* r : {&w, &b, &f, &v}) Append(file, *r);
  MemorySource source(file);
  const std::vector<SkinWindowRecords> windows = ReadSkinFile(source);
  ASSERT_EQ(windows.size(), 1u);
  ASSERT_EQ(windows[0].elements.size(), 3u);

  const WindowRecord window = windows[0].window.As<WindowRecord>();
  EXPECT_EQ(window.header.Name(), std::string(30, 'W'));
  EXPECT_EQ(+window.header.x, -20);
  EXPECT_EQ(+window.header.width, 275);
  EXPECT_EQ(FieldText(window.bitmap), "main");
  EXPECT_EQ(+window.placement, 2);
  EXPECT_EQ(FieldText(window.showCondition), "<IsRillWindow>");
  EXPECT_EQ(+window.rank, -1);
  EXPECT_EQ(+window.topmost, 1);
  const ButtonRecord button = windows[0].elements[0].As<ButtonRecord>();
  EXPECT_EQ(+button.eventMode, 2);
  EXPECT_EQ(FieldText(button.command), "evtOxPlay");
  EXPECT_EQ(FieldText(button.tooltip), "Play");
  const FontRecord font = windows[0].elements[1].As<FontRecord>();
  EXPECT_EQ(+font.bitmapFont, 1);
  EXPECT_EQ(FieldText(font.bitmap), "digits");
  EXPECT_EQ(+font.height, -12);
  EXPECT_EQ(+font.bold, 1);
  EXPECT_EQ(+font.colour, 0x00FFCC00u);
  const VisualisationRecord vis = windows[0].elements[2].As<VisualisationRecord>();
  EXPECT_EQ(+vis.barCount, 24);
  EXPECT_EQ(+vis.meterGap, 3);
  EXPECT_EQ(+vis.scopeBottom, 0x123456u);

  EXPECT_FALSE(IsBitmapName(""));
  EXPECT_FALSE(IsBitmapName("Not Set"));
  EXPECT_TRUE(IsBitmapName("knob"));
}

}  // namespace
}  // namespace ox
