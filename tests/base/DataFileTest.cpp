#include "base/DataFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "base/UserMessage.h"
#include "base/Wide.h"

namespace ox {
namespace {

struct Shown {
  std::string text, caption;
  unsigned style;
};
std::vector<Shown> g_shown;

// Every test here sees the messages DataFile shows instead of real message boxes.
class DataFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_shown.clear();
    previous_ = SetUserMessageSink([](const char* t, const char* c, unsigned s) { g_shown.push_back({t, c, s}); });
  }
  void TearDown() override { SetUserMessageSink(previous_); }

  static std::vector<uint8_t> Pattern(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
  }

  oxtest::ScratchFolder dir_;
  UserMessageSink previous_ = nullptr;
};

TEST_F(DataFileTest, OpenAndWriteFailures_ReportNameAndCaptionByAccess) {
  const std::string missing = dir_ / "missing.dat";
  DataFile quiet(missing, FileAccess::Read, FileCreation::OpenExisting);
  EXPECT_FALSE(quiet.IsOpen());
  EXPECT_TRUE(g_shown.empty());

  DataFile read(missing, FileAccess::Read, FileCreation::OpenExisting, true);
  DataFile write(missing, FileAccess::ReadWrite, FileCreation::OpenExisting, true);
  ASSERT_EQ(g_shown.size(), 2u);
  EXPECT_EQ(g_shown[0].text, "Unable to open '" + missing + "'");
  EXPECT_EQ(g_shown[0].caption, "Disk Read Error");
  EXPECT_EQ(g_shown[0].style, 0x40u);
  EXPECT_EQ(g_shown[1].caption, "Disk Write Error");

  // Everything on a file that failed to open is harmless and gives the failure result.
  bool notOpen = false;
  char buffer[8];
  EXPECT_EQ(read.Read(buffer, sizeof buffer, FileOrigin::Start, &notOpen), 0u);
  EXPECT_TRUE(notOpen);
  EXPECT_FALSE(read.Write(buffer, sizeof buffer));
  EXPECT_EQ(read.Size(), 0u);
  EXPECT_FALSE(read.MoveTail(0, 8));

  // An overlong name fails quietly, the whole name in the message; a write to a file opened for
  // reading is reported as a write error.
  g_shown.clear();
  const std::string overlong = dir_ / (std::string(300, 'n') + ".dat"), readOnly = dir_ / "ro.dat";
  EXPECT_FALSE(DataFile(overlong, FileAccess::Write, FileCreation::CreateAlways, true).IsOpen());
  oxtest::WriteWholeFile(readOnly, std::string("abc"));
  EXPECT_FALSE(DataFile(readOnly, FileAccess::Read, FileCreation::OpenExisting, true).Write("x", 1, FileOrigin::End));
  ASSERT_EQ(g_shown.size(), 2u);
  EXPECT_EQ(g_shown[0].text, "Unable to open '" + overlong + "'");
  EXPECT_EQ(g_shown[1].text, "Unable to write to '" + readOnly + "'");
  EXPECT_EQ(g_shown[1].caption, "Disk Write Error");
}

// The program's manifest makes UTF-8 its code page: a name's UTF-8 bytes open the file of that name.
TEST_F(DataFileTest, Utf8Name_NamesTheFileThatTheSystemShows) {
  EXPECT_EQ(GetACP(), 65001u);
  const std::string name = "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F \xE5\xA4\x9C\xE6\x9B\xB2 \xC3\xA9.dat";
  DataFile file(dir_ / name, FileAccess::Write, FileCreation::CreateAlways, true);
  EXPECT_TRUE(file.IsOpen());
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Wide(dir_ / "*.dat").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  EXPECT_EQ(std::wstring(found.cFileName), L"\u041F\u0435\u0441\u043D\u044F \u591C\u66F2 \u00E9.dat");
}

TEST_F(DataFileTest, ReadWriteAndSize_PositionByOrigin_RefusedSeeksMoveNothing) {
  const std::string path = dir_ / "rw.dat";
  DataFile file(path, FileAccess::ReadWrite, FileCreation::CreateAlways, true);
  ASSERT_TRUE(file.IsOpen());
  const std::vector<uint8_t> data = Pattern(748);
  ASSERT_TRUE(file.Write(data.data(), 748, FileOrigin::Start));
  ASSERT_TRUE(file.Write("END", 3, FileOrigin::End));
  EXPECT_EQ(file.Size(), 751u);

  // A record read that runs into the end of the file returns what there is, without a message.
  std::vector<uint8_t> record(648);
  ASSERT_TRUE(file.SeekTo(651));
  EXPECT_EQ(file.Read(record.data(), 648), 100u);
  EXPECT_EQ(file.Read(record.data(), 648), 0u);
  EXPECT_EQ(file.Read(record.data(), 648, FileOrigin::Start), 648u);
  EXPECT_TRUE(std::equal(record.begin(), record.end(), data.begin()));
  EXPECT_TRUE(g_shown.empty());

  // A header rewrite at the start whose seek fails must not land at the end instead; nor may a read.
  InjectFileFaults(FileFault::Seek, 1);
  EXPECT_FALSE(file.Write("HEAD", 4, FileOrigin::Start));
  char buffer[4];
  ASSERT_TRUE(file.SeekTo(50));
  InjectFileFaults(FileFault::Seek, 1);
  EXPECT_EQ(file.Read(buffer, 4, FileOrigin::Start), 0u);
  EXPECT_EQ(file.Size(), 751u);
  ASSERT_TRUE(file.TruncateAt(10));
  EXPECT_EQ(file.Size(), 10u);
  file.Close();

  bool error = true;
  EXPECT_EQ(FileSize(path, &error), 10u);
  EXPECT_FALSE(error);
  EXPECT_EQ(FileSize(dir_ / "none", &error), 0u);
  EXPECT_TRUE(error);
  oxtest::WriteWholeFile(dir_ / "empty", std::string());
  EXPECT_EQ(FileSize(dir_ / "empty", &error), 0u);
  EXPECT_FALSE(error);
}

// MoveTail against a model of the file, on sizes around the 32 KB piece boundaries.
TEST_F(DataFileTest, MoveTail_OpensAndClosesGapsAcrossPieceBoundaries) {
  const struct {
    size_t size;
    uint64_t offset;
    int64_t delta;
  } cases[] = {
      {1000, 0, 648},          {100000, 0, 648},      {100000, 32768, 652},  {65536, 1, 32768},
      {98304, 65536, 100000},  {100000, 648, -648},   {100000, 40000, -652}, {65537, 32769, -32769},
      {100000, 100000, -648},  {5000, 6000, -648},    {5000, 5000, 648},     {5000, 6000, 10},
      {70000, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " " << c.offset << " " << c.delta);
    const std::string path = dir_ / "tail.dat";
    std::vector<uint8_t> model = Pattern(c.size);
    oxtest::WriteWholeFile(path, model);

    DataFile file(path, FileAccess::ReadWrite, FileCreation::OpenExisting, true);
    ASSERT_TRUE(file.MoveTail(c.offset, c.delta));
    file.Close();

    const std::vector<uint8_t> got = oxtest::ReadWholeFile(path);
    if (c.delta > 0 && c.offset < model.size()) {
      model.insert(model.begin() + c.offset, static_cast<size_t>(c.delta), 0);
      // The gap keeps whatever was there: only the bytes around it are compared.
      if (got.size() == model.size()) std::copy_n(got.begin() + c.offset, c.delta, model.begin() + c.offset);
    } else if (c.delta < 0) {
      const size_t gap = static_cast<size_t>(-c.delta);
      if (c.offset < model.size()) model.erase(model.begin() + (c.offset - gap), model.begin() + c.offset);
      else model.resize(model.size() - gap);
    }
    EXPECT_EQ(got, model);
  }
  // A gap reaching before the start is refused, the file left as it was.
  const std::string path = dir_ / "short.dat";
  oxtest::WriteWholeFile(path, Pattern(1000));
  EXPECT_FALSE(DataFile(path, FileAccess::ReadWrite, FileCreation::OpenExisting).MoveTail(100, -648));
  EXPECT_EQ(oxtest::ReadWholeFile(path), Pattern(1000));
  EXPECT_TRUE(g_shown.empty());
}

}  // namespace
}  // namespace ox
