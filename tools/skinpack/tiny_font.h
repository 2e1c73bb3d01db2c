#pragma once
// A 5 x 7 pixel font for labels on preview sheets: capital letters (small letters are
// drawn as capitals), digits and a little punctuation; other characters draw as blanks.
#include <cstdint>
#include <string_view>

#include "skin/store/pixel_bitmap.h"

namespace skinpack {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = 6;

// Width in pixels of `text` drawn with DrawTinyText.
int TinyTextWidth(std::string_view text);
// Draws `text` with its top-left corner at (x, y) in `colour`, clipped to the bitmap.
void DrawTinyText(skin::PixelBitmap& target, int x, int y, std::string_view text, uint32_t colour);

}  // namespace skinpack
