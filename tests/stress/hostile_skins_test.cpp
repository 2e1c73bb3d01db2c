// Hostile skins read natively: every generated package loads as a skin (the container is
// valid, whatever its definition and bitmaps hold), its faults are reported as problems
// rather than failures, and the whole composition of a window painted from it finishes at
// every window size, with no pixels where there is nothing to paint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/skin_definition.h"
#include "tests/stress/hostile_skins.h"
#include "tests/stress/paint_path.h"

namespace {

class QuietReporter : public skin::SkinReporter {
 public:
  void ShowMessage(std::string_view) override { ++messages; }
  int messages = 0;
};

TEST(HostileSkins, AreDeterministicAndDiffer) {
  EXPECT_EQ(stress::HostileSkinPackage(17), stress::HostileSkinPackage(17));
  EXPECT_NE(stress::MakeHostileSkin(17).definition, stress::MakeHostileSkin(18).definition);
  // Without permission no seed carries the huge bitmap.
  for (uint32_t seed = 0; seed < 300; ++seed)
    EXPECT_FALSE(stress::MakeHostileSkin(seed, false).has_huge_image) << seed;
}

TEST(HostileSkins, EveryPackageLoadsAndPaintsAtEverySize) {
  const stress::WindowShape shapes[] = {
      {400, 300, true, false, false, false, false, false, 12},
      {1, 1, false, true, true, false, false, true, 0},
      {0, 0, true, false, false, true, false, false, 200},
      {-20, 5, true, false, false, false, true, false, 3},
      {2000, 40, false, false, false, false, false, true, 60},
  };
  int huge = 0, problems = 0, buttons = 0;
  for (uint32_t seed = 0; seed < 300; ++seed) {
    const std::vector<uint8_t> package = stress::HostileSkinPackage(seed, seed % 25 == 3);
    QuietReporter reporter;
    skin::SkinDefinition definition;
    std::string error;
    std::vector<std::string> image_problems;
    ASSERT_TRUE(skin::LoadSkinPackage(package, definition, reporter, &error, &image_problems))
        << seed << ": " << error;
    EXPECT_EQ(reporter.messages, 0) << seed;
    problems += int(image_problems.size());
    huge += stress::MakeHostileSkin(seed, seed % 25 == 3).has_huge_image;
    // The always-present records are there, whatever the skin left out.
    ASSERT_TRUE(definition.TopStrip && definition.Title && definition.Buttons) << seed;
    for (const stress::WindowShape& shape : shapes) {
      const stress::PaintTotals totals = stress::PaintWholeWindow(definition, shape);
      EXPECT_GE(totals.pixels, 0) << seed;
      buttons += totals.visible_buttons;
    }
  }
  // The generator produced what it promises: some huge bitmaps, some undecodable entries
  // and caption buttons that were laid out.
  EXPECT_GT(huge, 0);
  EXPECT_GT(problems, 100);
  EXPECT_GT(buttons, 100);
}

TEST(HostileSkins, UniformSeedsGiveEachElementTheSameFault) {
  // Seed 0 leaves every image key out: every optional slot stays empty and the frame has
  // no borders.
  QuietReporter reporter;
  skin::SkinDefinition none;
  ASSERT_TRUE(skin::LoadSkinPackage(stress::HostileSkinPackage(0), none, reporter, nullptr));
  for (const skin::SlotView& slot : skin::ListSlots(none)) {
    if (slot.record) {
      EXPECT_TRUE(slot.record->Image.Empty()) << slot.name;
    }
  }
  EXPECT_EQ(stress::PaintWholeWindow(none, {300, 200}).visible_buttons, 0);
  // Seed 3 names an entry that is no bitmap everywhere: each is reported.
  skin::SkinDefinition garbage;
  std::vector<std::string> image_problems;
  ASSERT_TRUE(skin::LoadSkinPackage(stress::HostileSkinPackage(3), garbage, reporter, nullptr,
                                    &image_problems));
  EXPECT_GT(image_problems.size(), 20u);
  // Seed 5: every image is all colour key; a transparent frame has no opaque runs.
  skin::SkinDefinition magenta;
  ASSERT_TRUE(skin::LoadSkinPackage(stress::HostileSkinPackage(5), magenta, reporter, nullptr));
  ASSERT_FALSE(magenta.TopStrip->Image.Empty());
  EXPECT_EQ(magenta.TopStrip->Image.Pixel(0, 0), 0x00FF00FFu);
}

}  // namespace
