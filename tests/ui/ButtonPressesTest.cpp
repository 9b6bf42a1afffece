#include "ui/ButtonPresses.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace ox {
namespace {

// Each step on three buttons and the states after it (0 idle, 1 pressed, 2 mouse-over).
TEST(ButtonPresses, AClickIsAReleaseOverThePressedButton_AWatchPassOrALostCaptureTakesNoClick) {
  ButtonPresses b(3);
  const std::optional<size_t> none;
  auto states = [&b] { return std::vector<int32_t>{b.State(0), b.State(1), b.State(2)}; };
  const struct {
    std::function<void()> step;
    std::vector<int32_t> after;
  } steps[] = {
      {[&] { b.Move(1, false); }, {0, 2, 0}},  {[&] { b.Press(1); }, {0, 1, 0}},
      {[&] { b.Pass(2, false); }, {0, 1, 0}},  {[&] { b.Move(2, true); }, {0, 0, 1}},  // dragged off it
      {[&] { b.Move(1, true); }, {0, 1, 0}},   {[&] { EXPECT_EQ(b.ReleaseOver(1).click, 1u); }, {0, 2, 0}},
      {[&] { b.Press(0); }, {1, 0, 0}},        {[&] { b.CaptureLost(); }, {0, 0, 0}},
      {[&] { EXPECT_FALSE(b.ReleaseOver(0).held); }, {0, 0, 0}},  {[&] { b.Press(2); }, {0, 0, 1}},
      {[&] { EXPECT_EQ(b.ReleaseOver(0).click, none); }, {0, 0, 0}},  {[&] { b.Pass(0, true); }, {1, 0, 0}},
      {[&] { b.Press(1); }, {0, 1, 0}},        {[&] { b.Move(1, false); }, {0, 2, 0}},  // its release went elsewhere
      {[&] { EXPECT_EQ(b.ReleaseOver(1).click, none); }, {0, 2, 0}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].step();
    EXPECT_EQ(states(), steps[i].after) << "step " << i;
  }
}

}  // namespace
}  // namespace ox
