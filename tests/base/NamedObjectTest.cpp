// The kernel object wrappers, in one process; the cross-process side is tested with the suite's
// table of names (tests/core/NamedObjectsTest.cpp).
#include <gtest/gtest.h>

#include <algorithm>
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
}

// Every write through one view is seen whole through another, by Read and by Poll, also when
// nothing changed since the last Poll.
TEST(SharedDataBlock, FreshBlockIsZero_EveryWriteIsSeenWholeThroughAnotherView) {
  const std::string name = oxtest::UniqueName("Block");
  bool ok = false;
  SharedDataBlock shown(name.c_str(), 700, &ok), writer(name.c_str(), 700);
  ASSERT_TRUE(ok);
  std::vector<unsigned char> written(700, 0), seen(700, 0xAA);
  ASSERT_TRUE(shown.Read(seen.data()));
  EXPECT_EQ(seen, written);
  for (int i = 0; i < 700; ++i) written[i] = static_cast<unsigned char>(i);
  // Every byte, then the last, then the first, and back to what an earlier Poll gave.
  for (const int at : {-1, 699, 0, 0}) {
    if (at >= 0) written[at] ^= 0x5A;
    ASSERT_TRUE(writer.Write(written.data()));
    for (int pass = 0; pass < 3; ++pass) {  // a Poll, a Poll of nothing new, a Read
      std::fill(seen.begin(), seen.end(), 0xAA);
      ASSERT_TRUE(pass < 2 ? shown.Poll(seen.data()) : shown.Read(seen.data()));
      EXPECT_EQ(seen, written) << at;
    }
  }
  uint32_t wrongSize = 0;
  EXPECT_FALSE(shown.ReadValue(wrongSize) || shown.PollValue(wrongSize));
}

TEST(SharedDataBlock, LargerThanTheExistingMappingIsRefused) {
  const std::string name = oxtest::UniqueName("Small");
  SharedDataBlock small(name.c_str(), 4);
  ASSERT_TRUE(small.IsValid());
  bool ok = true;
  SharedDataBlock large(name.c_str(), 3 * 65536, &ok);  // would copy past the 4 KB mapping
  EXPECT_FALSE(ok);
  std::vector<unsigned char> buffer(3 * 65536);
  EXPECT_FALSE(large.Read(buffer.data()) || large.Poll(buffer.data()) || large.Write(buffer.data()));
}

}  // namespace
}  // namespace ox
