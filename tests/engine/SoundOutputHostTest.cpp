#include "engine/SoundOutputHost.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/Path.h"
#include "core/Settings.h"

namespace ox {
namespace {

class SoundOutputHostTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = GetTextSetting("DefaultSO", 260, HKEY_CURRENT_USER, kSettingsKey); }
  void TearDown() override { SetTextSetting(saved_.c_str(), "DefaultSO", HKEY_CURRENT_USER, kSettingsKey); }
  static void Prefer(const char* name) { SetTextSetting(name, "DefaultSO", HKEY_CURRENT_USER, kSettingsKey); }
  std::string saved_;
};

TEST_F(SoundOutputHostTest, ChoosesByExactNameWaveOutByDefaultElseTheFirst_NoneFromAnEmptyFolder) {
  oxtest::ScratchFolder dir;
  const std::string example = oxtest::ExecutableFolder() + "..\\examples\\Null Output.dll";  // copies of it
  const auto order = oxtest::CopyDlls(dir, {{example, "Alpha.dll"}, {example, "Wave Out.dll"}, {example, "Zed.dll"}});
  const SoundOutputHost host(dir.Path());
  ASSERT_EQ(host.Plugins().size(), 3u);
  const std::string first = FileTitleOf(order[0]);
  EXPECT_EQ(host.Plugins()[0].name, first);
  EXPECT_EQ(host.Plugins()[0].path, dir / order[0]);
  EXPECT_NE(host.Plugins()[0].ServiceCall, nullptr);
  EXPECT_EQ(host.Plugins()[0].Pause, nullptr);  // the example has no Pause

  Prefer("");
  EXPECT_EQ(host.Choose()->name, "Wave Out");
  Prefer("Zed");
  EXPECT_EQ(host.Choose()->name, "Zed");  // read afresh on every call
  Prefer("zed");
  EXPECT_EQ(host.Choose()->name, first);  // case counts
  Prefer("Missing");
  EXPECT_EQ(host.Choose()->name, first);
  oxtest::ScratchFolder empty;
  EXPECT_EQ(SoundOutputHost(empty.Path()).Choose(), nullptr);
}

}  // namespace
}  // namespace ox
