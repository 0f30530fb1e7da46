#include "common/int16.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(Int16, CountsUpToItsLimitAndOverflowsPastIt) {
  Int16 counter(32766);
  ++counter;
  EXPECT_EQ(counter.value(), 32767);
  EXPECT_THROW(++counter, RuntimeError);
  EXPECT_EQ(counter.value(), 32767);  // a failed step leaves the counter as it was
}

TEST(Int16, NarrowsOnlyWhatFits) {
  EXPECT_EQ(Int16::From(-32768).value(), -32768);
  EXPECT_EQ(Int16::From(32767).value(), 32767);
  EXPECT_THROW(Int16::From(32768), RuntimeError);
  EXPECT_THROW(Int16::From(-32769), RuntimeError);
}

}  // namespace
}  // namespace common
