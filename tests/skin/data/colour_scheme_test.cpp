#include "skin/data/colour_scheme.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

constexpr Colour kDefault = 0x00ABCDEF;

TEST(ColourText, ComponentsFromDigitRuns) {
  struct Case {
    const char* text;
    Colour expected;
  } cases[] = {
      {"210 232 249", RgbColour(210, 232, 249)},
      {"1,2,3", RgbColour(1, 2, 3)},
      {"  1 2 3  ", RgbColour(1, 2, 3)},
      {"\t1;2;3\x01", RgbColour(1, 2, 3)},  // control characters trimmed too
      {"12", 0},                            // an open run alone is dropped
      {"1 2", RgbColour(1, 0, 0)},          // the open "2" follows only one component
      {"300 0 0", RgbColour(44, 0, 0)},     // low byte
      {"no digits", 0},                     // black, not the default
      {"1 2 3 4 5 6", RgbColour(1, 2, 3)},  // later runs ignored
      {"1 2 3 4", RgbColour(1, 2, 3)},
      {"1  ,, 2 ; 3", RgbColour(1, 2, 3)},  // several separators end one run
      {"R1G2B3", RgbColour(1, 2, 3)},       // the open "3" follows two components
      {"9999999999 5 6 7", 0},  // too large: its digits carry on, so every run stays too large
      {"4294967296", 0},
      {"2147483647 1 1 ", RgbColour(255, 1, 1)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseColourText(c.text, kDefault), c.expected) << '"' << c.text << '"';
  EXPECT_EQ(ParseColourText("", kDefault), kDefault);
}

TEST(ColourTriple, ChangesTargetOnlyWithAllThreeComponents) {
  const IniFile ini(
      "[Personality]\n"
      "ActiveTextR=14\nActiveTextG=16\n"
      "InActiveTextR=1\nInActiveTextG=2\nInActiveTextB=259\n"
      "OtherR=1\nOtherG=-1\nOtherB=3\n");
  Colour active = kColourNone, inactive = kColourNone, other = kColourNone;
  ReadColourTriple(ini, "Personality", "ActiveText", active);
  ReadColourTriple(ini, "Personality", "InActiveText", inactive);
  ReadColourTriple(ini, "Personality", "Other", other);
  EXPECT_EQ(active, kColourNone);
  EXPECT_EQ(inactive, RgbColour(1, 2, 3));
  EXPECT_EQ(other, kColourNone);
}

TEST(ColourScheme, DefaultsAreSystemColourReferences) {
  ColourScheme s;
  s.ExtraColours = {1, 2};
  ReadColourScheme(IniFile("[Other]\nx=1\n"), s);
  EXPECT_EQ(s.WindowText, 0xFF000008u);
  EXPECT_EQ(s.TitleTextActive, 0xFF000009u);
  EXPECT_EQ(s.TitleTextNoActive, SystemColour(19));
  EXPECT_EQ(s.ButtonFace, SystemColour(15));
  EXPECT_EQ(s.ButtonText, SystemColour(18));
  EXPECT_EQ(s.ButtonHilight, SystemColour(20));
  EXPECT_EQ(s.Buttonlight, SystemColour(20));
  EXPECT_EQ(s.ButtonShadow, SystemColour(16));
  EXPECT_EQ(s.ButtonDkShadow, SystemColour(16));
  EXPECT_EQ(s.HilightText, SystemColour(14));
  EXPECT_EQ(s.Hilight, SystemColour(13));
  EXPECT_EQ(s.MenubarColour, s.ButtonFace);
  EXPECT_EQ(s.MenuBarText, SystemColour(7));
  EXPECT_EQ(s.MenuText, SystemColour(7));
  EXPECT_EQ(s.MenuColour, SystemColour(4));
  EXPECT_EQ(s.ScrollbarColour, SystemColour(0));
  EXPECT_TRUE(s.ExtraColours.empty());
  EXPECT_TRUE(IsSystemColour(s.ScrollbarColour));
  EXPECT_FALSE(IsSystemColour(kColourNone));
  EXPECT_EQ(SystemColourIndex(s.Hilight), 13);
}

TEST(ColourScheme, NamedKeysAndMenubarFollowingButtonFace) {
  ColourScheme s;
  ReadColourScheme(IniFile("[colours]\n"
                           "ButtonFace=224 223 227\n"
                           "Scrollbar=1 1 1\n"
                           "Menu=2 2 2\n"
                           "Window=9 9 9\n"
                           "TitleTextNoActive=3 3 3\n"),
                   s);
  EXPECT_EQ(s.ButtonFace, RgbColour(224, 223, 227));
  EXPECT_EQ(s.MenubarColour, RgbColour(224, 223, 227));
  EXPECT_EQ(s.ScrollbarColour, RgbColour(1, 1, 1));
  EXPECT_EQ(s.MenuColour, RgbColour(2, 2, 2));
  EXPECT_EQ(s.TitleTextNoActive, RgbColour(3, 3, 3));
  EXPECT_EQ(s.WindowText, SystemColour(8));  // "Window" is not a key that is read

  ReadColourScheme(IniFile("[Colours]\nButtonFace=1 1 1\nMenubar=5 6 7\n"), s);
  EXPECT_EQ(s.MenubarColour, RgbColour(5, 6, 7));
}

TEST(ColourScheme, ExtraColoursFromColourSections) {
  ColourScheme s;
  ReadColourScheme(IniFile("[COLOUR2]\ncolor=1 2 3\n"
                           "[Colours]\nButtonFace=1 1 1\n"
                           "[colourx]\nother=1\n"
                           "[COLOUR]\nCOLOR=7,8,9,\n"
                           "[Color1]\ncolor=1 1 1\n"),
                   s);
  ASSERT_EQ(s.ExtraColours.size(), 3u);
  EXPECT_EQ(s.ExtraColours[0], RgbColour(1, 2, 3));
  EXPECT_EQ(s.ExtraColours[1], SystemColour(8));  // no "color" key
  EXPECT_EQ(s.ExtraColours[2], RgbColour(7, 8, 9));
}

}  // namespace
}  // namespace skin
