// The kernel object wrappers, in one process; the cross-process side is tested with the suite's
// table of names (tests/core/NamedObjectsTest.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "TestSupport.h"
#include "base/NamedEvent.h"
#include "base/SharedDataBlock.h"

namespace ox {
namespace {

TEST(NamedEvent, ToggleReturnsTheNewState_CreatingAnExistingNameKeepsItsState) {
  NamedEvent event(nullptr);
  ASSERT_TRUE(event.IsValid());
  EXPECT_FALSE(event.IsSet());
  EXPECT_TRUE(event.Toggle());
  EXPECT_TRUE(event.IsSet());
  EXPECT_FALSE(event.Toggle());
  EXPECT_FALSE(event.IsSet());

  const std::string name = oxtest::UniqueName("evtTest");
  bool existed = true;
  NamedEvent first(name.c_str(), &existed);
  EXPECT_FALSE(existed);
  first.Set();
  NamedEvent second(name.c_str(), &existed);
  EXPECT_TRUE(existed);
  EXPECT_TRUE(second.IsSet());
  second.Reset();
  EXPECT_FALSE(first.IsSet());
}

TEST(SharedDataBlock, FreshBlockIsZeroAndCopiesAreWhole) {
  const std::string name = oxtest::UniqueName("Block");
  bool ok = false;
  SharedDataBlock block(name.c_str(), 700, &ok);
  ASSERT_TRUE(ok);
  unsigned char bytes[700];
  std::memset(bytes, 0xAA, sizeof bytes);
  ASSERT_TRUE(block.Read(bytes));
  for (unsigned char b : bytes) ASSERT_EQ(b, 0);

  for (int i = 0; i < 700; ++i) bytes[i] = static_cast<unsigned char>(i);
  ASSERT_TRUE(block.Write(bytes));
  SharedDataBlock again(name.c_str(), 700);
  unsigned char copy[700] = {};
  ASSERT_TRUE(again.Read(copy));
  EXPECT_EQ(std::memcmp(copy, bytes, sizeof copy), 0);

  uint32_t wrongSize = 0;
  EXPECT_FALSE(again.ReadValue(wrongSize));
}

TEST(SharedDataBlock, PollSeesEveryWriteThroughAnotherView) {
  const std::string name = oxtest::UniqueName("Polled");
  SharedDataBlock shown(name.c_str(), 700), writer(name.c_str(), 700);
  std::vector<unsigned char> written(700, 0), polled(700, 0xAA);
  ASSERT_TRUE(shown.Poll(polled.data()));
  EXPECT_EQ(polled, written);
  // A change in the last byte, one in the first, and back to what an earlier Poll gave.
  for (const size_t at : {size_t{699}, size_t{0}, size_t{0}}) {
    written[at] ^= 0x5A;
    ASSERT_TRUE(writer.Write(written.data()));
    std::fill(polled.begin(), polled.end(), 0xAA);
    ASSERT_TRUE(shown.Poll(polled.data()));
    EXPECT_EQ(polled, written) << at;
    std::fill(polled.begin(), polled.end(), 0xAA);
    ASSERT_TRUE(shown.Poll(polled.data()));  // unchanged: the same bytes again
    EXPECT_EQ(polled, written) << at;
  }
  uint32_t wrongSize = 0;
  EXPECT_FALSE(shown.PollValue(wrongSize));
}

TEST(SharedDataBlock, LargerThanTheExistingMappingIsRefused) {
  const std::string name = oxtest::UniqueName("Small");
  SharedDataBlock small(name.c_str(), 4);
  ASSERT_TRUE(small.IsValid());
  bool ok = true;
  SharedDataBlock large(name.c_str(), 3 * 65536, &ok);  // would copy past the 4 KB mapping
  EXPECT_FALSE(ok);
  std::vector<unsigned char> buffer(3 * 65536);
  EXPECT_FALSE(large.Read(buffer.data()));
  EXPECT_FALSE(large.Poll(buffer.data()));
  EXPECT_FALSE(large.Write(buffer.data()));
}

}  // namespace
}  // namespace ox
