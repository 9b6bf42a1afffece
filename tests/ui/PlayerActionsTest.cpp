#include "ui/PlayerActions.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

TEST(PlayerActions, MediaKeysSeekAndVolumeSteps) {
  const struct {
    uint32_t command;
    std::optional<PlayerAction> action;
  } keys[] = {
      {8, PlayerAction::Mute},        {9, PlayerAction::VolumeDown}, {10, PlayerAction::VolumeUp},
      {11, PlayerAction::PlayButton}, {12, PlayerAction::SkipBack},  {13, PlayerAction::Stop},
      {14, PlayerAction::PlayPause},  {15, std::nullopt},            {16, PlayerAction::OpenFiles},
      {7, std::nullopt},
  };
  for (const auto& k : keys) EXPECT_EQ(AppCommandAction(k.command), k.action) << k.command;

  const struct {
    uint32_t length, elapsed, forward, back;
  } seeks[] = {
      {100000, 3000, 8, 1},     {100000, 6000, 11, 1},   {100000, 7000, 12, 2},
      {100000, 97000, 100, 92}, {0, 0, 5, 1},            {0, 2, 100, 100},  // no length: elapsed x 100
      {0, 4000000000u, 100, 100}, {1000, 1000, 100, 95},
  };
  for (const auto& c : seeks) {
    const TrackTime time{c.length, c.elapsed, 0};
    EXPECT_EQ(SeekForwardPercent(time), c.forward) << c.length << " " << c.elapsed;
    EXPECT_EQ(SeekBackPercent(time), c.back) << c.length << " " << c.elapsed;
  }
  const struct {
    uint32_t volume, up, down;
  } steps[] = {{95, 100, 90}, {96, 96, 91}, {5, 10, 0}, {4, 9, 4}, {0, 5, 0}, {100, 100, 95}};
  for (const auto& s : steps) {
    EXPECT_EQ(VolumeAfterStep(s.volume, true), s.up) << s.volume;
    EXPECT_EQ(VolumeAfterStep(s.volume, false), s.down) << s.volume;
  }
}

}  // namespace
}  // namespace ox
