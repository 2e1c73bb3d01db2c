#pragma once
// Colours of a skin: how a colour is held, the two ways a definition writes one (a colour
// text and an R/G/B key triple), the named colours of [Colours] and the extra colours of
// the [COLOUR...] sections.
#include <cstdint>
#include <string_view>
#include <vector>

#include "skin/data/ini_file.h"

namespace skin {

// Either an RGB value in COLORREF layout (red in the low byte, high byte 0) or a system
// colour reference, 0xFF000000 plus a Windows system colour index, which the drawing side
// resolves with GetSysColor; kColourNone means the skin gives no colour.
using Colour = uint32_t;

constexpr Colour kColourNone = 0x1FFFFFFF;
constexpr uint32_t kSystemColourFlag = 0xFF000000;

constexpr Colour SystemColour(int index) { return kSystemColourFlag | uint32_t(index & 0xFF); }
constexpr bool IsSystemColour(Colour c) { return (c & 0xFF000000) == kSystemColourFlag; }
constexpr int SystemColourIndex(Colour c) { return int(c & 0xFF); }
constexpr Colour RgbColour(int r, int g, int b) {
  return uint32_t(r & 0xFF) | (uint32_t(g & 0xFF) << 8) | (uint32_t(b & 0xFF) << 16);
}

// Windows system colour indexes the defaults refer to.
enum SystemColourIndexes : int {
  kSysScrollbar = 0,
  kSysMenu = 4,
  kSysMenuText = 7,
  kSysWindowText = 8,
  kSysCaptionText = 9,
  kSysHighlight = 13,
  kSysHighlightText = 14,
  kSysBtnFace = 15,
  kSysBtnShadow = 16,
  kSysBtnText = 18,
  kSysInactiveCaptionText = 19,
  kSysBtnHighlight = 20,
};

// A colour text such as "210 232 249" or "1,2,3": an empty text gives `default_value`;
// otherwise runs of digits, each ended by any other character, give red, green and blue in
// turn (later runs are ignored); a run still open at the end counts as blue only after
// exactly two components; missing components are 0 and each component keeps its low byte.
// A run too large for a 32-bit integer is not taken, and its digits carry on into the next
// run. So "12" alone and a text without digits give black, and "300 0 0" gives red 44.
Colour ParseColourText(std::string_view text, Colour default_value);

// Reads the integer keys stem+"R", stem+"G", stem+"B" of `section`; only when all three
// are present and 0 or more does `target` become their RGB value (low bytes).
void ReadColourTriple(const IniFile& ini, std::string_view section, std::string_view stem,
                      Colour& target);

// The named colours in declaration order, with their defaults, and the extra colours.
struct ColourScheme {
  Colour WindowText = SystemColour(kSysWindowText);
  Colour TitleTextActive = SystemColour(kSysCaptionText);
  Colour TitleTextNoActive = SystemColour(kSysInactiveCaptionText);
  Colour ButtonFace = SystemColour(kSysBtnFace);
  Colour ButtonText = SystemColour(kSysBtnText);
  Colour ButtonHilight = SystemColour(kSysBtnHighlight);
  Colour Buttonlight = SystemColour(kSysBtnHighlight);
  Colour ButtonShadow = SystemColour(kSysBtnShadow);
  Colour ButtonDkShadow = SystemColour(kSysBtnShadow);
  Colour HilightText = SystemColour(kSysHighlightText);
  Colour Hilight = SystemColour(kSysHighlight);
  Colour MenubarColour = SystemColour(kSysBtnFace);
  Colour MenuBarText = SystemColour(kSysMenuText);
  Colour MenuText = SystemColour(kSysMenuText);
  Colour MenuColour = SystemColour(kSysMenu);
  Colour ScrollbarColour = SystemColour(kSysScrollbar);
  // One per [COLOUR...] section (upper-cased name beginning with "COLOUR", other than
  // "COLOURS"), in file order: that section's "color" key, default system colour 8.
  std::vector<Colour> ExtraColours;
};

// Fills every field of `scheme` from [Colours] (missing keys give the defaults above;
// MenubarColour defaults to the ButtonFace just read) and ExtraColours from the sections
// of ini.SectionNames().
void ReadColourScheme(const IniFile& ini, ColourScheme& scheme);

}  // namespace skin
