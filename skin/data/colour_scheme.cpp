#include "skin/data/colour_scheme.h"

#include <string>

namespace skin {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks and control characters, as trimmed from both ends of a colour text.
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The digits of a run as a 32-bit value, or -1 when they do not fit.
int64_t RunValue(std::string_view digits) {
  int64_t v = 0;
  for (char c : digits) {
    v = v * 10 + (c - '0');
    if (v > INT32_MAX) return -1;
  }
  return v;
}

}  // namespace

Colour ParseColourText(std::string_view text, Colour default_value) {
  if (text.empty()) return default_value;
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  int components[3] = {0, 0, 0};
  int taken = 0;
  std::string run;  // may carry digits of a run too large to take
  for (char c : text) {
    if (IsDigit(c)) {
      run += c;
      continue;
    }
    if (run.empty()) continue;
    const int64_t v = RunValue(run);
    if (v < 0) continue;  // too large: the digits carry over
    if (taken < 3) components[taken++] = int(v);
    run.clear();
    if (taken == 3) break;  // later runs are ignored
  }
  if (taken == 2 && !run.empty()) {
    const int64_t v = RunValue(run);
    if (v >= 0) components[taken++] = int(v);
  }
  return RgbColour(components[0], components[1], components[2]);
}

void ReadColourTriple(const IniFile& ini, std::string_view section, std::string_view stem,
                      Colour& target) {
  const std::string s(stem);
  const int32_t r = ini.ReadInteger(section, s + "R", -1);
  const int32_t g = ini.ReadInteger(section, s + "G", -1);
  const int32_t b = ini.ReadInteger(section, s + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) target = RgbColour(r, g, b);
}

void ReadColourScheme(const IniFile& ini, ColourScheme& scheme) {
  auto read = [&](std::string_view key, Colour def) {
    return ParseColourText(ini.ReadString("Colours", key), def);
  };
  // A missing key reads as an empty text, which gives the default.
  scheme.WindowText = read("WindowText", SystemColour(kSysWindowText));
  scheme.ButtonFace = read("ButtonFace", SystemColour(kSysBtnFace));
  scheme.ScrollbarColour = read("Scrollbar", SystemColour(kSysScrollbar));
  scheme.HilightText = read("HilightText", SystemColour(kSysHighlightText));
  scheme.Hilight = read("Hilight", SystemColour(kSysHighlight));
  scheme.MenubarColour = read("Menubar", scheme.ButtonFace);
  scheme.MenuColour = read("Menu", SystemColour(kSysMenu));
  scheme.MenuText = read("MenuText", SystemColour(kSysMenuText));
  scheme.ButtonText = read("ButtonText", SystemColour(kSysBtnText));
  scheme.ButtonHilight = read("ButtonHilight", SystemColour(kSysBtnHighlight));
  scheme.Buttonlight = read("Buttonlight", SystemColour(kSysBtnHighlight));
  scheme.ButtonShadow = read("ButtonShadow", SystemColour(kSysBtnShadow));
  scheme.ButtonDkShadow = read("ButtonDkShadow", SystemColour(kSysBtnShadow));
  scheme.MenuBarText = read("MenuBarText", SystemColour(kSysMenuText));
  scheme.TitleTextActive = read("TitleTextActive", SystemColour(kSysCaptionText));
  scheme.TitleTextNoActive = read("TitleTextNoActive", SystemColour(kSysInactiveCaptionText));

  scheme.ExtraColours.clear();
  for (const std::string& name : ini.SectionNames()) {
    const std::string upper = UpperAscii(name);
    if (upper.rfind("COLOUR", 0) != 0 || upper == "COLOURS") continue;
    scheme.ExtraColours.push_back(
        ParseColourText(ini.ReadString(name, "color"), SystemColour(kSysWindowText)));
  }
}

}  // namespace skin
