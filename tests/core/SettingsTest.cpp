#include "core/Settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"

namespace ox {
namespace {

// Each test works under a key of its own beneath the settings root.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { key_ = std::string(kSettingsKey) + "\\Test\\" + oxtest::UniqueName("k"); }
  void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
  bool KeyExists() const {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
  }
  const char* Key() const { return key_.c_str(); }
  std::string key_;
};

TEST_F(SettingsTest, MissingValuesReadAsZeroAndEmpty_AStoredZeroExists_ReadingCreatesTheKey) {
  EXPECT_FALSE(SettingExists("OxVolume", HKEY_CURRENT_USER, Key()));
  EXPECT_FALSE(KeyExists());  // asking whether a value exists creates nothing
  EXPECT_EQ(GetNumberSetting("OxVolume", HKEY_CURRENT_USER, Key()), 0u);
  EXPECT_TRUE(KeyExists());
  EXPECT_EQ(GetTextSetting("InstalledTo", 260, HKEY_CURRENT_USER, Key()), "");
  unsigned char bytes[4] = {1, 2, 3, 4};
  EXPECT_FALSE(GetBytesSetting("OxEQSettings", bytes, 4, HKEY_CURRENT_USER, Key()));
  EXPECT_EQ(bytes[3], 4);
  // A stored zero exists; the whole range of a number is kept.
  SetNumberSetting(0, "OxVolume", HKEY_CURRENT_USER, Key());
  EXPECT_TRUE(SettingExists("OxVolume", HKEY_CURRENT_USER, Key()));
  SetNumberSetting(0xFFFFFFFFu, "OxVolume", HKEY_CURRENT_USER, Key());
  EXPECT_EQ(GetNumberSetting("OxVolume", HKEY_CURRENT_USER, Key()), 0xFFFFFFFFu);
  DeleteSetting("OxVolume", HKEY_CURRENT_USER, Key());
  EXPECT_FALSE(SettingExists("OxVolume", HKEY_CURRENT_USER, Key()));
}

TEST_F(SettingsTest, Text_LongerThanTheLimitOrOfAnotherTypeReadsEmpty) {
  const std::string fits(259, 'f');
  SetTextSetting(fits.c_str(), "Path", HKEY_CURRENT_USER, Key());
  EXPECT_EQ(GetTextSetting("Path", 260, HKEY_CURRENT_USER, Key()), fits);
  EXPECT_EQ(GetTextSetting("Path", 259, HKEY_CURRENT_USER, Key()), "");
  const std::string longer(32767, 'l');
  SetTextSetting(longer.c_str(), "Path", HKEY_CURRENT_USER, Key());
  EXPECT_EQ(GetTextSetting("Path", 260, HKEY_CURRENT_USER, Key()), "");

  // A number is no text, and a text too long for four bytes is no number.
  SetNumberSetting(0x41414141, "Number", HKEY_CURRENT_USER, Key());
  EXPECT_EQ(GetTextSetting("Number", 260, HKEY_CURRENT_USER, Key()), "");
  EXPECT_EQ(GetNumberSetting("Path", HKEY_CURRENT_USER, Key()), 0u);

  // Stored without its terminating zero: terminated when it fits, refused when it does not.
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), ERROR_SUCCESS);
  RegSetValueExA(k, "Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("abcd"), 4);  // no NUL stored
  RegCloseKey(k);
  EXPECT_EQ(GetTextSetting("Raw", 5, HKEY_CURRENT_USER, Key()), "abcd");
  EXPECT_EQ(GetTextSetting("Raw", 4, HKEY_CURRENT_USER, Key()), "");
}

TEST_F(SettingsTest, Bytes_ReadAtMostTheBufferAndLeaveItOnFailure) {
  unsigned char eq[100];
  for (int i = 0; i < 100; ++i) eq[i] = static_cast<unsigned char>(200 - i);
  SetBytesSetting("Bytes", eq, sizeof eq, HKEY_CURRENT_USER, Key());
  unsigned char back[100] = {};
  EXPECT_TRUE(GetBytesSetting("Bytes", back, sizeof back, HKEY_CURRENT_USER, Key()));
  EXPECT_EQ(std::memcmp(back, eq, sizeof eq), 0);
  unsigned char small[40];
  std::memset(small, 7, sizeof small);
  EXPECT_FALSE(GetBytesSetting("Bytes", small, 40, HKEY_CURRENT_USER, Key()));
  for (unsigned char b : small) ASSERT_EQ(b, 7);
}

}  // namespace
}  // namespace ox
