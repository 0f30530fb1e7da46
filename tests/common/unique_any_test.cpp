#include "common/unique_any.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace common {
namespace {

std::vector<std::string> closed;  // "handle" or "origin:handle", in the order of the closes

void CloseInt(int handle) noexcept { closed.push_back(std::to_string(handle)); }
void CloseThrough(std::string* origin, int handle) noexcept {
  closed.push_back(*origin + ":" + std::to_string(handle));
}

using Owner = UniqueAny<int, &CloseInt, -1>;  // -1 is none, 0 a handle like any other
using OriginOwner = UniqueAny<int, &CloseThrough>;

class UniqueAnyTest : public ::testing::Test {
 protected:
  void SetUp() override { closed.clear(); }
};

TEST_F(UniqueAnyTest, ClosesEveryHandleExactlyOnceAndNeverTheInvalidValue) {
  {
    Owner none;
    Owner zero(0);
    Owner moved(1);
    Owner target(std::move(moved));  // the moved-from owner holds none
    Owner assigned(2);
    assigned = std::move(target);  // closes 2, takes 1
    Owner reset(3);
    reset.reset(4);  // closes 3
    Owner released(5);
    EXPECT_EQ(released.release(), 5);  // the caller's now
    Owner slot(6);
    *slot.put() = 7;  // closes 6
    EXPECT_FALSE(none);
    EXPECT_TRUE(zero);
    EXPECT_FALSE(moved);  // NOLINT(bugprone-use-after-move): a moved-from owner holds none
    EXPECT_EQ(assigned.get(), 1);
    EXPECT_EQ(closed, (std::vector<std::string>{"2", "3", "6"}));
    closed.clear();
  }
  // Destroyed in reverse order of declaration; none, the moved-from and the released close nothing.
  EXPECT_EQ(closed, (std::vector<std::string>{"7", "4", "1", "0"}));
}

TEST_F(UniqueAnyTest, ClosesThroughTheOriginItCameFromAndKeepsItWhenMoved) {
  std::string first = "a", second = "b";
  {
    OriginOwner one(&first, 1);
    OriginOwner two(&second, 2);
    two = std::move(one);  // closes b:2, takes a:1
    EXPECT_EQ(two.origin(), &first);
    OriginOwner none;
    EXPECT_FALSE(none);
  }
  EXPECT_EQ(closed, (std::vector<std::string>{"b:2", "a:1"}));
}

}  // namespace
}  // namespace common
