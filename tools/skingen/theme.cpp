#include "tools/skingen/theme.h"

namespace skingen {

namespace {

// Brushed steel: light greys with a cool tint, dark crisp glyphs.
Theme Metallic() {
  Theme t;
  t.name = "metallic";
  t.title_height = 26;
  t.border = 4;
  t.corner_radius = 6;
  t.caption_w = 20;
  t.caption_h = 18;
  t.caption_radius = 3;
  t.brush = 4;

  t.title_top = {238, 240, 244};
  t.title_mid = {208, 212, 219};
  t.title_bottom = {178, 183, 192};
  t.title_highlight = {252, 253, 255};
  t.title_top_inactive = {236, 237, 239};
  t.title_bottom_inactive = {210, 212, 215};
  t.title_highlight_inactive = {248, 248, 249};
  t.outline = {64, 68, 76};
  t.outline_inactive = {128, 131, 137};
  t.border_face = {186, 190, 198};
  t.border_face_inactive = {212, 214, 217};
  t.border_light = {232, 234, 238};
  t.border_light_inactive = {238, 239, 240};
  t.inner_line = {112, 117, 126};
  t.inner_line_inactive = {160, 163, 168};
  t.plate_shade = -12;

  t.caption_normal = {
      {248, 249, 251}, {196, 200, 208}, {118, 123, 132}, {255, 255, 255}, {30, 34, 40}};
  t.caption_hot = {{255, 255, 255}, {214, 222, 232}, {92, 110, 136}, {255, 255, 255}, {16, 20, 26}};
  t.caption_pressed = {
      {160, 165, 174}, {204, 208, 215}, {84, 89, 98}, {140, 145, 154}, {16, 20, 26}};
  t.caption_inactive = {
      {238, 239, 241}, {218, 220, 223}, {160, 163, 168}, {248, 248, 249}, {138, 141, 147}};
  t.close_hot = {{236, 132, 120}, {190, 52, 40}, {120, 30, 24}, {246, 170, 160}, {255, 255, 255}};
  t.close_pressed = {{150, 40, 30}, {196, 70, 58}, {96, 24, 18}, {130, 36, 28}, {255, 255, 255}};
  t.engrave = true;
  t.engrave_colour = {250, 251, 252};

  t.button_normal = {{250, 251, 252}, {206, 210, 216}, {112, 117, 126}, {255, 255, 255}, {0, 0, 0}};
  t.button_hot = {{255, 255, 255}, {218, 226, 236}, {82, 104, 136}, {255, 255, 255}, {0, 0, 0}};
  t.button_pressed = {{170, 175, 184}, {214, 218, 224}, {86, 91, 100}, {150, 155, 164}, {0, 0, 0}};
  t.button_disabled = {
      {232, 233, 235}, {222, 223, 226}, {168, 171, 176}, {242, 243, 244}, {150, 153, 158}};
  t.focus = {74, 120, 186};
  t.accent_top = {150, 182, 222};
  t.accent_bottom = {78, 118, 174};
  t.accent_text = {255, 255, 255};
  t.face = {222, 224, 228};
  t.shadow = {132, 136, 144};
  t.dark_shadow = {72, 76, 84};
  t.window = {255, 255, 255};
  t.text = {0, 0, 0};
  t.menu = {244, 245, 247};
  t.menu_text = {0, 0, 0};
  t.track = {200, 204, 210};
  return t;
}

// Graphite: near-black frame, light glyphs, an amber accent.
Theme Dark() {
  Theme t;
  t.name = "dark";
  t.title_height = 24;
  t.border = 3;
  t.corner_radius = 5;
  t.caption_w = 22;
  t.caption_h = 16;
  t.caption_radius = 2;
  t.brush = 2;

  t.title_top = {74, 78, 86};
  t.title_mid = {52, 55, 61};
  t.title_bottom = {38, 40, 45};
  t.title_highlight = {104, 108, 116};
  t.title_top_inactive = {66, 67, 70};
  t.title_bottom_inactive = {54, 55, 58};
  t.title_highlight_inactive = {84, 85, 88};
  t.outline = {8, 8, 10};
  t.outline_inactive = {30, 30, 32};
  t.border_face = {40, 42, 47};
  t.border_face_inactive = {56, 57, 60};
  t.border_light = {70, 73, 80};
  t.border_light_inactive = {72, 73, 76};
  t.inner_line = {20, 21, 24};
  t.inner_line_inactive = {40, 41, 44};
  t.plate_shade = -10;

  t.caption_normal = {{70, 74, 82}, {44, 47, 53}, {20, 21, 24}, {96, 100, 108}, {226, 229, 234}};
  t.caption_hot = {{96, 100, 110}, {60, 64, 72}, {232, 160, 48}, {120, 124, 134}, {255, 255, 255}};
  t.caption_pressed = {{30, 32, 36}, {50, 53, 59}, {232, 160, 48}, {24, 25, 28}, {255, 220, 160}};
  t.caption_inactive = {{60, 61, 64}, {52, 53, 56}, {34, 34, 36}, {70, 71, 74}, {126, 128, 132}};
  t.close_hot = {{214, 84, 60}, {160, 40, 24}, {70, 14, 8}, {236, 120, 96}, {255, 255, 255}};
  t.close_pressed = {{120, 28, 16}, {170, 50, 32}, {60, 10, 6}, {110, 26, 14}, {255, 255, 255}};
  t.engrave = false;
  t.engrave_colour = {0, 0, 0};

  t.button_normal = {{82, 86, 94}, {56, 59, 66}, {18, 19, 22}, {110, 114, 122}, {230, 230, 230}};
  t.button_hot = {{98, 102, 112}, {66, 70, 78}, {232, 160, 48}, {124, 128, 138}, {255, 255, 255}};
  t.button_pressed = {{38, 40, 45}, {60, 63, 70}, {18, 19, 22}, {30, 32, 36}, {255, 255, 255}};
  t.button_disabled = {{64, 65, 68}, {58, 59, 62}, {40, 41, 44}, {70, 71, 74}, {120, 121, 124}};
  t.focus = {232, 160, 48};
  t.accent_top = {244, 184, 82};
  t.accent_bottom = {196, 122, 20};
  t.accent_text = {20, 20, 20};
  t.face = {58, 60, 65};
  t.shadow = {30, 31, 34};
  t.dark_shadow = {12, 12, 14};
  t.window = {34, 36, 40};
  t.text = {232, 232, 232};
  t.menu = {48, 50, 55};
  t.menu_text = {230, 230, 230};
  t.track = {36, 38, 42};
  return t;
}

}  // namespace

const std::vector<Theme>& Themes() {
  static const std::vector<Theme> themes = {Metallic(), Dark()};
  return themes;
}

const Theme* FindTheme(const std::string& name) {
  for (const Theme& t : Themes())
    if (t.name == name) return &t;
  return nullptr;
}

}  // namespace skingen
