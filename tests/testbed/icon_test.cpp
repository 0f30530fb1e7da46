// The robot's icon recogniser, in process: every system icon must be told from the others and
// from a bare background, whatever the background colour.
#include <gtest/gtest.h>

#include <ostream>

#include "testbed/robot/icon.h"

namespace robot {

void PrintTo(IconKind kind, std::ostream* out) { *out << IconName(kind); }

namespace {

struct Candidate {
  IconKind kind;
  LPCWSTR id;
};
const Candidate kIcons[] = {{IconKind::kInformation, IDI_INFORMATION},
                            {IconKind::kExclamation, IDI_WARNING},
                            {IconKind::kCritical, IDI_ERROR},
                            {IconKind::kQuestion, IDI_QUESTION}};

class RecogniseIconTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(RecogniseIconTest, KnowsEachSystemIconOnThisBackground) {
  for (const auto& icon : kIcons) {
    Image drawn = RenderIcon(LoadIconW(nullptr, icon.id), 32, 32, GetParam());
    ASSERT_EQ(drawn.pixels.size(), 32u * 32u);
    EXPECT_EQ(BorderColour(drawn), GetParam());
    EXPECT_EQ(RecogniseIcon(drawn), icon.kind) << IconName(icon.kind);
  }
}

TEST_P(RecogniseIconTest, SeesNoIconInABareBackground) {
  Image blank{32, 32, std::vector<std::uint32_t>(32 * 32, GetParam())};
  EXPECT_EQ(RecogniseIcon(blank), IconKind::kNone);
  EXPECT_EQ(RecogniseIcon(Image{}), IconKind::kNone);
}

// Dialog grey, white, black: the background is taken from the picture, not assumed.
INSTANTIATE_TEST_SUITE_P(Backgrounds, RecogniseIconTest, ::testing::Values(0xF0F0F0u, 0xFFFFFFu, 0x000000u, 0xD4D0C8u));

TEST(RecogniseIcon, ToleratesAFewStrayPixelsButNotAnotherIcon) {
  Image drawn = RenderIcon(LoadIconW(nullptr, IDI_QUESTION), 32, 32, 0xF0F0F0u);
  for (int i = 0; i < 10; ++i) drawn.pixels[static_cast<std::size_t>(i) * 97] ^= 0xFFFFFFu;
  EXPECT_EQ(RecogniseIcon(drawn), IconKind::kQuestion);
  // The left half of the question icon with the right half of the information icon is neither.
  Image information = RenderIcon(LoadIconW(nullptr, IDI_INFORMATION), 32, 32, 0xF0F0F0u);
  for (int y = 0; y < 32; ++y) {
    for (int x = 16; x < 32; ++x) drawn.pixels[static_cast<std::size_t>(y) * 32 + x] = information.at(x, y);
  }
  EXPECT_EQ(RecogniseIcon(drawn), IconKind::kNone);
}

}  // namespace
}  // namespace robot
