// The suite's table of named objects, seen from a second process that opens them by their raw
// Win32 names.
#include "core/NamedObjects.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace ox {
namespace {

int Peer(const std::string& arguments) { return oxtest::RunAndWait(oxtest::PeerPath(), arguments); }

TEST(NamedObjects, BlocksAreSharedWithOtherProcessesByName) {
  // Written by the peer, read here; written here, checked by the peer; for blocks of each size.
  const struct {
    SharedDataBlock* block;
    const char* name;
    uint32_t size;
  } cases[] = {{&block::OxTrackShouldPlay, "OxTrackShouldPlay", sizeof(TrackRecord)},
               {&block::OxTrackTime, "OxTrackTime", sizeof(TrackTime)},
               {&block::OxEqPositions, "OxEqPositions", sizeof(EqPositions)},
               {&block::OxRillLiveUpdate, "OxRillLiveUpdate", sizeof(LiveUpdate)},
               {&block::OxVolume, "OxVolume", 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.block->Size(), c.size);
    const std::string args = std::string(c.name) + " " + std::to_string(c.size);
    ASSERT_EQ(Peer("write-pattern " + args + " 17"), 0);
    std::vector<unsigned char> bytes(c.size);
    ASSERT_TRUE(c.block->Read(bytes.data()));
    for (uint32_t i = 0; i < c.size; ++i) ASSERT_EQ(bytes[i], static_cast<unsigned char>(17 + i));

    for (uint32_t i = 0; i < c.size; ++i) bytes[i] = static_cast<unsigned char>(99 + i);
    ASSERT_TRUE(c.block->Write(bytes.data()));
    EXPECT_EQ(Peer("check-pattern " + args + " 99"), 0);
    EXPECT_EQ(Peer("check-pattern " + args + " 17"), 1);
  }
}

// A skin names its own events on first use; those of the table it shares.
TEST(NamedObjects, EventsAreSharedWithOtherProcessesByName) {
  evt::OxPause.Reset();
  ASSERT_EQ(Peer("set-event evtOxPause"), 0);
  EXPECT_TRUE(evt::OxPause.IsSet());
  EXPECT_EQ(Peer("is-set evtOxPause"), 1);  // a new process creating it keeps the state
  evt::OxPause.Reset();
  EXPECT_EQ(Peer("is-set evtOxPause"), 0);

  evt::OxSkip.Set();
  EXPECT_EQ(Peer("is-set evtOxSkip"), 1);
  evt::OxSkip.Reset();

  for (const char* notAnEvent : {"", "<Play>", "[Next]"}) EXPECT_EQ(SkinEvent(notAnEvent), nullptr) << notAnEvent;

  NamedEvent* play = SkinEvent("evtOxPlay");
  ASSERT_NE(play, nullptr);
  EXPECT_EQ(SkinEvent("evtOxPlay"), play);  // kept, not created again
  evt::OxPlay.Reset();
  play->Set();
  EXPECT_TRUE(evt::OxPlay.IsSet());
  evt::OxPlay.Reset();

  const std::string own = oxtest::UniqueName("evtSkinOwn");
  NamedEvent* custom = SkinEvent(own);
  ASSERT_NE(custom, nullptr);
  ASSERT_EQ(Peer("set-event " + own), 0);
  EXPECT_TRUE(custom->IsSet());
}

}  // namespace
}  // namespace ox
