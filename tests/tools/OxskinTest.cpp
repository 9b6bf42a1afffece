#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

#include "tools/oxskin/SkinCheck.h"
#include "tools/oxskin/SkinText.h"
#include "ui/SkinLimits.h"

namespace ox::skintext {
namespace {

Skin Build(const std::string& text) {
  std::vector<std::string> errors;
  Skin skin = Parse(text, errors);
  EXPECT_TRUE(errors.empty()) << errors.front();
  return skin;
}

// A skin in its text form from tests/fixtures/skins.
std::string Fixture(const char* name) {
  std::ifstream in(std::string(OX_TEST_DATA) + "skins/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Oxskin, FieldsLandAtTheirOffsets_AndEachNameMeansOneField) {
  for (const RecordKind& kind : RecordKinds()) {
    std::map<std::string, int> uses;
    for (const std::vector<Field>* list : {&HeaderFields(), &kind.fields})
      for (const Field& f : *list) EXPECT_EQ(++uses[f.name], 1) << kind.keyword << " " << f.name;
  }
  const Skin skin = Build(Fixture("every_kind.txt"));
  ASSERT_EQ(skin.bytes.size(), 8 * kSkinRecordSize);
  MemorySource source(skin.bytes);
  const std::vector<SkinWindowRecords> windows = ReadSkinFile(source);
  ASSERT_EQ(windows.size(), 1u);
  ASSERT_EQ(windows[0].elements.size(), 7u);
  std::vector<SkinRecordType> types;
  for (const SkinRecord& e : windows[0].elements) types.push_back(e.Type());
  EXPECT_EQ(types, (std::vector<SkinRecordType>{SkinRecordType::Button, SkinRecordType::Image, SkinRecordType::Font,
                                                SkinRecordType::Slider, SkinRecordType::Text,
                                                SkinRecordType::Visualisation, SkinRecordType::EqCurve}));
  const WindowRecord w = windows[0].window.As<WindowRecord>();
  EXPECT_EQ(std::make_tuple(+w.header.x, +w.header.width, +w.header.height, +w.openingAnimation, +w.placement, +w.rank, +w.topmost),
            std::make_tuple(-20, 275, 116, 3, 2, -1, 1));
  EXPECT_EQ(FieldText(w.showCondition), "<IsRillWindow>");
  const ButtonRecord b = windows[0].elements[0].As<ButtonRecord>();
  EXPECT_EQ(std::make_tuple(+b.eventMode, std::string(FieldText(b.tooltip))), std::make_tuple(2, "Play \"it\" \xE9"));
  const FontRecord f = windows[0].elements[2].As<FontRecord>();  // #RRGGBB is stored as 0x00BBGGRR
  EXPECT_EQ(std::make_tuple(std::string(FieldText(f.face)), +f.height, +f.colour),
            std::make_tuple("Tahoma", -11, 0x0000CCFFu));
  EXPECT_EQ(windows[0].elements[3].As<SliderRecord>().source + 0, 33);
  const TextRecord t = windows[0].elements[4].As<TextRecord>();
  EXPECT_EQ(std::make_tuple(+t.kind, +t.centre, +t.alwaysScroll), std::make_tuple(16, 1, 0));
  EXPECT_EQ(t.shadowColour + 0u, 0x01020304u);  // hexadecimal in either case
  const VisualisationRecord v = windows[0].elements[5].As<VisualisationRecord>();
  EXPECT_EQ(std::make_tuple(+v.barCount, +v.barGap, +v.meter.orientation, +v.meterGap), std::make_tuple(19, 2, 3, 5));
  EXPECT_EQ(v.scopeBottom + 0u, 0x00AB0000u);
  EXPECT_EQ(windows[0].elements[6].As<EqCurveRecord>().pen + 0u, 0x0000FF00u);
  ASSERT_EQ(skin.outlines.count("main"), 1u);
  const std::vector<SkinPoint>& outline = skin.outlines.at("main");
  EXPECT_EQ(std::make_pair(outline.size(), outline[3].x), std::make_pair(size_t{4}, -3));
  const Skin numbers = Build("window \"W\"\n  x 010\n  y 0X1f\n  width 0x1");  // decimal even with a leading zero
  EXPECT_EQ(std::make_tuple(Le32(&numbers.bytes[34]), Le32(&numbers.bytes[38]), Le32(&numbers.bytes[46])),
            std::make_tuple(10u, 31u, 1u));
}

TEST(Oxskin, DumpThenBuildGivesTheSameBytes_WhateverTheFileHolds) {
  const Skin built = Build(Fixture("every_kind.txt"));
  const std::string text = Dump(built.bytes, built.outlines);
  const Skin again = Build(text);
  EXPECT_EQ(again.bytes, built.bytes);
  ASSERT_EQ(again.outlines.count("main"), 1u);
  EXPECT_EQ(again.outlines.at("main").size(), 4u);

  // Bytes no field names, a name without its zero, text after a zero, a type of no name, a short tail.
  std::vector<uint8_t> odd = built.bytes;
  odd[kSkinRecordSize * 1 + 600] = 0xAB;
  std::memset(&odd[4], 'N', 30);
  odd[kSkinRecordSize * 2 + 54 + 10] = 'x';
  odd[kSkinRecordSize * 3] = 42;
  for (int i = 0; i < 77; ++i) odd.push_back(static_cast<uint8_t>(i * 7));
  const std::string oddText = Dump(odd, {});
  EXPECT_NE(oddText.find("bytes 600 AB"), std::string::npos) << oddText;
  EXPECT_EQ(Build(oddText).bytes, odd);
}

TEST(Oxskin, ErrorsNameTheirLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"  x 1", "line 1: \"x\" comes before any record"},
      {"widget \"W\"", "line 1: \"widget\" is no record kind"},
      {"window \"W\"\n  colour #FFFFFF", "line 2: a window has no field \"colour\""},
      {"button \"B\"\n  mode two", "line 2: mode: a whole number was expected"},
      {"window \"W\"\n  x -", "line 2: x: a whole number was expected"},
      {"window \"W\"\n  x 1a", "line 2: x: a whole number was expected"},
      {"button \"B\"\n  mode 4294967296", "line 2: mode: the value does not fit its 4 bytes"},
      {"window \"W\"\n  topmost 256", "line 2: topmost: the value does not fit its 1 bytes"},
      {"window \"W\"\n  bitmap \"unclosed", "line 2: a text without its closing quote"},
      {"window \"0123456789012345678901234567890\"", "line 1: name: the text is longer than its 30 bytes"},
      {"window \"W\"\n  show \"a\\x00b\"", "line 2: show: a text may not hold a zero byte"},
      {"button \"B\"\n  outline 1,2", "line 2: only a window has an outline"},
      {"window \"W\"\n  bitmap \"w\"\n  outline 1;2", "line 3: a point is x,y"},
      {"window \"W\"\n  outline 1,2", "line 2: an outline belongs to the window's bitmap"},
      {"window \"W\"\n  bytes 1610 AABBCC", "line 2: the bytes run past the record's 1612"},
      {"window \"W\"\n  bytes 10 ABC", "line 2: bytes is an offset and pairs"},
      {"tail 0102\nwindow \"W\"", "line 2: records cannot follow the tail"},
      {"eqcurve \"C\"\n  pen #GG0000", "line 2: pen: a colour is #RRGGBB"},
      {"window \"W\"\n  bitmap main", "line 2: bitmap: a text in double quotes was expected"},
      {"window \"W\"\n  bitmap main\"", "line 2: bitmap: a text in double quotes was expected"},
      {"window \"W\" \"X\"", "line 1: a record line is its kind and its name"},
      {"window \"W\"\n  show \"\\x4G\"", "line 2: show: a text in double quotes was expected"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> errors;
    Parse(c.text, errors);
    ASSERT_FALSE(errors.empty()) << c.text;
    EXPECT_EQ(errors[0].rfind(c.error, 0), 0u) << errors[0];
  }
}

std::vector<uint8_t> Bmp(int32_t width, int32_t height) {
  std::vector<uint8_t> b(54, 0);
  b[0] = 'B', b[1] = 'M';
  PutLe32(&b[14], 40);
  PutLe32(&b[18], static_cast<uint32_t>(width));
  PutLe32(&b[22], static_cast<uint32_t>(height));
  return b;
}

std::optional<PictureSize> SizeOfPicture(const std::vector<uint8_t>& bytes) {
  return ox::SizeOfPicture(bytes.data(), bytes.size());
}

TEST(Oxskin, PictureSizesOfBmpGifAndJpeg) {
  EXPECT_EQ(SizeOfPicture(Bmp(275, 116))->width, 275);
  EXPECT_EQ(SizeOfPicture(Bmp(275, -116))->height, 116);  // top-down
  const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 40, 0, 30, 1};
  EXPECT_EQ(SizeOfPicture(gif)->height, 286);
  const std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC0, 0, 11, 8, 0, 30, 0, 40, 3};
  ASSERT_TRUE(SizeOfPicture(jpeg));
  EXPECT_EQ(std::make_pair(SizeOfPicture(jpeg)->width, SizeOfPicture(jpeg)->height), std::make_pair(40, 30));
  // Not pictures: a PNG, a JPEG without a frame, a byte, a GIF's signature but its first letter.
  const std::vector<std::vector<uint8_t>> none = {{0x89, 'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0},
                                                  {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0, 0, 0, 0},
                                                  {0xFF},
                                                  {'X', 'I', 'F', '8', '9', 'a', 40, 0, 30, 1}};
  for (const std::vector<uint8_t>& bytes : none)
    EXPECT_FALSE(SizeOfPicture(bytes)) << bytes.size();
}

// The files of a folder held in memory, as the checker reads them.
FolderReader Reader(const std::map<std::string, std::vector<uint8_t>>& folder) {
  return [&folder](const std::string& name) {
    const auto file = folder.find(name);
    return file == folder.end() ? std::nullopt : std::optional<std::vector<uint8_t>>(file->second);
  };
}

TEST(Oxskin, CheckReportsWhatTheLoaderWouldDropOrMisdraw) {
  std::map<std::string, std::vector<uint8_t>> folder;
  const FolderReader read = Reader(folder);
  const Skin good = Build(Fixture("check_good.txt"));
  folder["main.skin"] = good.bytes;
  folder["back.bin"] = OutlineBytes(good.outlines.at("back"));
  for (const char* name : {"back.bmp", "play.bmp", "play-m.bmp", "play-d.bmp"}) folder[name] = Bmp(40, 30);
  EXPECT_TRUE(CheckSkinFolder({"main.skin"}, read).empty());

  Skin bad = Build(Fixture("check_bad.txt"));
  bad.bytes.resize(bad.bytes.size() + 10);
  folder["bad.skin"] = bad.bytes;
  folder["back.bin"].resize(13);  // one point and a part
  folder.erase("play-m.bmp");
  const std::vector<std::string> problems = CheckSkinFolder({"bad.skin", "missing.skin"}, read);
  const std::vector<std::string> expected = {
      "bad.skin: 10 bytes after the last whole record are ignored",
      "bad.skin: record 1 (image \"Early\"): its window (id 2) comes later in the file: the element is dropped",
      "bad.skin: record 2 (window \"Main\"): show condition \"<Sometimes>\" never holds",
      "bad.skin: record 2 (window \"Main\"): the window is 41x30 but back.bmp is 40x30",
      "bad.skin: record 2 (window \"Main\"): back.bin ends in 5 bytes of a partial point",
      "bad.skin: record 2 (window \"Main\"): the outline in back.bin has fewer than three points",
      "bad.skin: record 3 (window \"Second\"): placement is 3, outside 0..2",
      "bad.skin: record 3 (window \"Second\"): show condition \"\" never holds",
      "bad.skin: record 3 (window \"Second\"): no background bitmap: the window has no size",
      "bad.skin: record 4 (image \"Orphan\"): no window has id 9: the element is dropped",
      "bad.skin: record 5 (text \"Title\"): no font element \"None\" in its window",
      "bad.skin: record 6 (record \"Odd\"): type 42 is no record type the player knows",
      "bad.skin: record 7 (button \"Mute\"): the button has no command",
      "missing.skin: cannot be read",
  };
  ASSERT_EQ(problems.size(), expected.size()) << ::testing::PrintToString(problems);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(problems[i].rfind(expected[i], 0), 0u) << problems[i];
  folder.erase("play.bmp");
  folder["back.bmp"] = {'n', 'o', 't'};
  const std::vector<std::string> bitmaps = CheckSkinFolder({"main.skin"}, read);
  ASSERT_EQ(bitmaps.size(), 5u) << ::testing::PrintToString(bitmaps);
  EXPECT_NE(bitmaps[0].find("background bitmap back.bmp is no BMP, JPEG or GIF picture"), std::string::npos);
  EXPECT_NE(bitmaps[3].find("button bitmap play.bmp is missing"), std::string::npos);
}

// The player's bounds: `check` reports what breaks them, and `build` refuses it (CheckSkinLimits).
TEST(Oxskin, LimitsOfThePlayerAreReportedAndRefused) {
  std::string many, crowded = "window \"W\"\n  id 1\n";
  for (size_t i = 0; i <= kMaxSkinWindows; ++i) many += "window \"W\"\n  id " + std::to_string(i) + "\n";
  for (size_t i = 0; i <= kMaxWindowElements; ++i) crowded += "image \"I\"\n  window 1\n";
  std::vector<uint8_t> large = Build("window \"W\"").bytes;
  large.resize(kMaxSkinFileBytes + 1);
  const struct {
    std::vector<uint8_t> bytes;
    std::map<std::string, std::vector<SkinPoint>> outlines;
    const char* problem;  // null: none
  } cases[] = {
      {Build("window \"W\"\n  width 8192\n  x -32768\n  placement 3").bytes, {}, nullptr},  // placement is no bound
      {Build("window \"W\"\n  width 8193").bytes, {}, "skin: record 1 (window \"W\"): width is 8193, outside 0..8192"},
      {Build("window \"W\"\n  y 32769").bytes, {}, "skin: record 1 (window \"W\"): y is 32769, outside -32768..32768"},
      {Build("visualisation \"V\"\n  bars.count 513").bytes, {}, "skin: record 1 (visualisation \"V\"): bars.count is 513"},
      {Build("font \"F\"\n  fontHeight -513").bytes, {}, "skin: record 1 (font \"F\"): fontHeight is -513"},
      {Build("record \"R\"\n  type 42\n  height -1").bytes, {}, "skin: record 1 (record \"R\"): height is -1"},
      {Build(many).bytes, {}, "skin: record 65: more than 64 windows"},
      {Build(crowded).bytes, {}, "skin: record 1026: window id 1 has more than 1024 elements"},
      {large, {}, "skin: is larger than the 4194304 bytes the player reads"},
      {{}, {{"w", {{0, 0}, {32769, 0}, {0, 5}}}}, "skin: the outline of w has a point beyond +-32768"},
      {{}, {{"w", std::vector<SkinPoint>(kMaxOutlinePoints)}}, nullptr},
      {{}, {{"w", std::vector<SkinPoint>(kMaxOutlinePoints + 1)}}, "skin: the outline of w has more than 16384 points"},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> problems = CheckSkinLimits(c.bytes, c.outlines);
    if (!c.problem) {
      EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
      continue;
    }
    ASSERT_EQ(problems.size(), 1u) << c.problem << ::testing::PrintToString(problems);
    EXPECT_EQ(problems[0].rfind(c.problem, 0), 0u) << problems[0];
  }

  // A folder: files past the 16th are not read; a picture past 8192 pixels a side is not loaded.
  std::map<std::string, std::vector<uint8_t>> folder{{"back.bmp", Bmp(8193, 30)}};
  folder["a.skin"] = Build("window \"W\"\n  width 8193\n  height 30\n  bitmap \"back\"\n  show \"[ShowAlways]\"").bytes;
  std::vector<std::string> files(kMaxSkinFiles + 1, "a.skin");
  files.back() = "z.skin";
  const std::vector<std::string> problems = CheckSkinFolder(files, Reader(folder));
  ASSERT_EQ(problems.size(), 2 * kMaxSkinFiles + 1) << ::testing::PrintToString(problems);
  EXPECT_NE(problems[1].find("background bitmap back.bmp is larger than the player loads"), std::string::npos) << problems[1];
  EXPECT_EQ(problems.back().rfind("z.skin: the player reads 16 skin files of a folder", 0), 0u) << problems.back();
}

}  // namespace
}  // namespace ox::skintext
