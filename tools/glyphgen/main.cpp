// glyphgen: writes the menu glyph strip of the skinned window menu as a one-bit Windows
// bitmap file (64 x 16 pixels: restore, maximize, minimize, close; 16 x 16 each, black
// on white). The pictures are drawn below as text so that the build makes the same
// bytes every time and a reviewer can see them.
// Usage: glyphgen OUT.bmp
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kGlyphSize = 16;
constexpr int kGlyphCount = 4;
constexpr int kWidth = kGlyphSize * kGlyphCount;
constexpr int kHeight = kGlyphSize;

using Glyph = std::array<const char*, kGlyphSize>;

// '#' is black (ink), '.' is white (the image list's transparent colour).
constexpr std::array<Glyph, kGlyphCount> kGlyphs = {{
    {{
        // 0: restore
        "................",
        "................",
        ".....#########..",
        ".....#########..",
        ".....#.......#..",
        ".....#.......#..",
        "..#########..#..",
        "..#########..#..",
        "..#.......#..#..",
        "..#.......####..",
        "..#.......#.....",
        "..#.......#.....",
        "..#.......#.....",
        "..#########.....",
        "................",
        "................",
    }},
    {{
        // 1: maximize
        "................",
        "................",
        "..############..",
        "..############..",
        "..#..........#..",
        "..#..........#..",
        "..#..........#..",
        "..#..........#..",
        "..#..........#..",
        "..#..........#..",
        "..#..........#..",
        "..#..........#..",
        "..#..........#..",
        "..############..",
        "................",
        "................",
    }},
    {{
        // 2: minimize
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "....########....",
        "....########....",
        "................",
        "................",
        "................",
    }},
    {{
        // 3: close
        "................",
        "................",
        "................",
        "...##......##...",
        "....##....##....",
        ".....##..##.....",
        "......####......",
        ".......##.......",
        "......####......",
        ".....##..##.....",
        "....##....##....",
        "...##......##...",
        "................",
        "................",
        "................",
        "................",
    }},
}};

void PutLe16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(v & 0xFF);
  out.push_back(v >> 8);
}

void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}

// Checks the drawings: every row exactly 16 cells of '#' or '.'.
bool GlyphsWellFormed() {
  for (const Glyph& glyph : kGlyphs)
    for (const char* row : glyph) {
      if (std::string(row).size() != kGlyphSize) return false;
      for (const char* c = row; *c; ++c)
        if (*c != '#' && *c != '.') return false;
    }
  return true;
}

std::vector<uint8_t> BuildBitmapFile() {
  constexpr int kRowBytes = ((kWidth + 31) / 32) * 4;  // rows are padded to 32 bits
  constexpr int kPaletteBytes = 2 * 4;
  constexpr int kHeaderBytes = 14 + 40 + kPaletteBytes;
  constexpr int kImageBytes = kRowBytes * kHeight;

  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutLe32(out, kHeaderBytes + kImageBytes);
  PutLe32(out, 0);
  PutLe32(out, kHeaderBytes);
  PutLe32(out, 40);  // BITMAPINFOHEADER
  PutLe32(out, kWidth);
  PutLe32(out, kHeight);  // positive: rows stored bottom-up
  PutLe16(out, 1);
  PutLe16(out, 1);  // one bit per pixel
  PutLe32(out, 0);  // BI_RGB
  PutLe32(out, kImageBytes);
  PutLe32(out, 2835);  // 72 dpi
  PutLe32(out, 2835);
  PutLe32(out, 2);
  PutLe32(out, 2);
  // Palette: index 0 black, index 1 white (blue, green, red, reserved).
  for (uint8_t b : {0, 0, 0, 0, 255, 255, 255, 0}) out.push_back(b);

  for (int y = kHeight - 1; y >= 0; --y) {
    std::vector<uint8_t> row(kRowBytes, 0);
    for (int x = 0; x < kWidth; ++x) {
      const bool ink = kGlyphs[x / kGlyphSize][y][x % kGlyphSize] == '#';
      if (!ink) row[x / 8] |= 0x80 >> (x % 8);  // white is palette index 1
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glyphgen OUT.bmp\n");
    return 2;
  }
  if (!GlyphsWellFormed()) {
    std::fprintf(stderr, "glyphgen: a glyph row is not 16 cells of '#' or '.'\n");
    return 1;
  }
  const std::vector<uint8_t> file = BuildBitmapFile();
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  if (std::fclose(f) != 0 || !ok) {
    std::fprintf(stderr, "glyphgen: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
