#include "common/collection.h"

#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "tests/support/error_number.h"

namespace common {
namespace {

using testing_support::ErrorNumberOf;

TEST(Collection, KeepsInsertionOrderAndFindsByKeyInAnyCase) {
  Collection c;
  c.Add(Variant(L"z"), L"Zeta");
  c.Add(Variant(1), L"alpha");
  c.Add(Variant(L"unkeyed"));
  c.Add(Variant(L"default"), L"");  // a key's unnamed value
  ASSERT_EQ(c.Count(), 4);
  EXPECT_EQ(c.Item(1), Variant(L"z"));
  EXPECT_EQ(c.Item(3), Variant(L"unkeyed"));
  EXPECT_EQ(c.Item(L"ZETA"), Variant(L"z"));
  EXPECT_EQ(c.Item(L"Alpha"), Variant(1));
  EXPECT_EQ(c.Item(L""), Variant(L"default"));
  EXPECT_TRUE(c.Contains(L"zeta"));
  EXPECT_FALSE(c.Contains(L"unkeyed"));
}

TEST(Collection, RefusesAPresentKeyInAnyCaseAndStaysUnchanged) {
  Collection c;
  c.Add(Variant(1), L"Name");
  EXPECT_EQ(ErrorNumberOf([&] { c.Add(Variant(2), L"name"); }), kErrKeyAlreadyPresent.number);
  EXPECT_EQ(ErrorNumberOf([&] { c.Add(Variant(3), L"Name"); }), kErrKeyAlreadyPresent.number);
  c.Add(Variant(4), L"");
  EXPECT_EQ(ErrorNumberOf([&] { c.Add(Variant(5), L""); }), kErrKeyAlreadyPresent.number);
  EXPECT_EQ(c.Count(), 2);
  EXPECT_EQ(c.Item(L"NAME"), Variant(1));
}

TEST(Collection, RaisesForAnIndexOrKeyThatIsNotThere) {
  Collection c;
  c.Add(Variant(1), L"a");
  EXPECT_EQ(ErrorNumberOf([&] { c.Item(0); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { c.Item(2); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { c.Item(L"b"); }), 5);
}

}  // namespace
}  // namespace common
