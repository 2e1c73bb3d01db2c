#include "skin/store/bmp_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

struct BmpSpec {
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bpp = 24;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
  uint32_t header_size = 40;      // 12 makes a BITMAPCOREHEADER
  std::vector<uint32_t> masks;    // written right after a 40-byte header
  std::vector<uint32_t> palette;  // 0x00RRGGBB, written as B, G, R(, 0)
  Bytes pixels;
  int64_t offset_override = -1;  // bfOffBits; -1 = computed
};

// Builds a bitmap file from its parts, the way a paint program writes one.
Bytes MakeBmp(const BmpSpec& s) {
  Bytes b = {'B', 'M'};
  Put32(b, 0);  // file size, filled below
  Put32(b, 0);
  Put32(b, 0);  // offset, filled below
  Put32(b, s.header_size);
  if (s.header_size == 12) {
    Put16(b, uint16_t(s.width));
    Put16(b, uint16_t(s.height));
    Put16(b, 1);
    Put16(b, s.bpp);
  } else {
    Put32(b, uint32_t(s.width));
    Put32(b, uint32_t(s.height));
    Put16(b, 1);
    Put16(b, s.bpp);
    Put32(b, s.compression);
    Put32(b, uint32_t(s.pixels.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, s.colours_used);
    Put32(b, 0);
    while (b.size() < 14 + s.header_size) b.push_back(0);
  }
  for (uint32_t m : s.masks) Put32(b, m);
  for (uint32_t c : s.palette) {
    b.push_back(uint8_t(c));
    b.push_back(uint8_t(c >> 8));
    b.push_back(uint8_t(c >> 16));
    if (s.header_size != 12) b.push_back(0);
  }
  const uint32_t offset = s.offset_override >= 0 ? uint32_t(s.offset_override) : uint32_t(b.size());
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  for (int i = 0; i < 4; ++i) b[2 + i] = uint8_t(b.size() >> (8 * i));
  for (int i = 0; i < 4; ++i) b[10 + i] = uint8_t(offset >> (8 * i));
  return b;
}

// Colours in COLORREF layout, as PixelBitmap::Pixel returns them.
constexpr uint32_t kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255),
                   kWhite = Rgb(255, 255, 255), kBlack = 0;

PixelBitmap Decode(const Bytes& b) {
  PixelBitmap out;
  std::string error;
  EXPECT_TRUE(DecodeBmp(b, out, &error)) << error;
  return out;
}

void ExpectRows(const PixelBitmap& bmp,
                std::initializer_list<std::initializer_list<uint32_t>> rows) {
  ASSERT_EQ(bmp.Height(), int(rows.size()));
  int y = 0;
  for (const auto& row : rows) {
    ASSERT_EQ(bmp.Width(), int(row.size()));
    int x = 0;
    for (uint32_t c : row) {
      EXPECT_EQ(bmp.Pixel(x, y), c) << "pixel " << x << "," << y;
      ++x;
    }
    ++y;
  }
}

// --- Formats, each against known pixels ------------------------------------------------

TEST(BmpDecode, TwentyFourBitBottomUpAndTopDown) {
  BmpSpec s;
  s.width = 2;
  s.height = 2;
  // Bottom row first: blue, white; then top row: red, green. Rows padded to 8 bytes.
  s.pixels = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
  PixelBitmap up = Decode(MakeBmp(s));
  EXPECT_EQ(up.Format(), PixelFormat::kBgr24);
  ExpectRows(up, {{kRed, kGreen}, {kBlue, kWhite}});

  s.height = -2;  // same bytes, now the first stored row is the top one
  ExpectRows(Decode(MakeBmp(s)), {{kBlue, kWhite}, {kRed, kGreen}});
}

TEST(BmpDecode, ThirtyTwoBitKeepsFourthByte) {
  BmpSpec s;
  s.width = 2;
  s.bpp = 32;
  s.pixels = {1, 2, 3, 200, 4, 5, 6, 0};
  PixelBitmap b = Decode(MakeBmp(s));
  ASSERT_EQ(b.Format(), PixelFormat::kBgra32);
  ExpectRows(b, {{Rgb(3, 2, 1), Rgb(6, 5, 4)}});
  EXPECT_EQ(b.ScanLine(0)[3], 200);
}

TEST(BmpDecode, ThirtyTwoBitFieldsWithAndWithoutAlpha) {
  BmpSpec s;
  s.bpp = 32;
  s.compression = 3;
  s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red low: R, G, B, X in memory
  s.pixels = {10, 20, 30, 40};
  PixelBitmap b = Decode(MakeBmp(s));
  ExpectRows(b, {{Rgb(10, 20, 30)}});
  EXPECT_EQ(b.ScanLine(0)[3], 0);

  // A V4 header carries an alpha mask.
  BmpSpec v4;
  v4.bpp = 32;
  v4.compression = 3;
  v4.header_size = 108;
  v4.pixels = {10, 20, 30, 40};
  Bytes file = MakeBmp(v4);
  const uint32_t masks[4] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  for (int m = 0; m < 4; ++m)
    for (int i = 0; i < 4; ++i) file[14 + 40 + 4 * m + i] = uint8_t(masks[m] >> (8 * i));
  PixelBitmap c = Decode(file);
  ExpectRows(c, {{Rgb(10, 20, 30)}});
  EXPECT_EQ(c.ScanLine(0)[3], 40);
}

TEST(BmpDecode, SixteenBit555And565) {
  BmpSpec s;
  s.width = 3;
  s.bpp = 16;
  // 5-5-5: pure red 0x7C00, green half 0x0200 (16 of 31), blue 0x001F; row padded to 8 bytes.
  s.pixels = {0x00, 0x7C, 0x00, 0x02, 0x1F, 0x00, 0, 0};
  ExpectRows(Decode(MakeBmp(s)), {{kRed, Rgb(0, 132, 0), kBlue}});

  s.compression = 3;
  s.masks = {0xF800, 0x07E0, 0x001F};
  // 5-6-5: red 0xF800, green 0x07E0, a grey 0x8410 (16, 32, 16).
  s.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x10, 0x84, 0, 0};
  ExpectRows(Decode(MakeBmp(s)), {{kRed, kGreen, Rgb(132, 130, 132)}});
}

TEST(BmpDecode, PaletteDepths) {
  BmpSpec one;
  one.width = 10;
  one.bpp = 1;
  one.palette = {0x000000, 0xFFFFFF};
  one.pixels = {0b10100000, 0b01000000, 0, 0};  // bits are read from the high bit
  ExpectRows(Decode(MakeBmp(one)),
             {{kWhite, kBlack, kWhite, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite}});

  BmpSpec four;
  four.width = 3;
  four.bpp = 4;
  four.colours_used = 3;
  four.palette = {0x000000, 0xFF0000, 0x00FF00};
  four.pixels = {0x12, 0x00, 0, 0};
  ExpectRows(Decode(MakeBmp(four)), {{kRed, kGreen, kBlack}});

  BmpSpec eight;
  eight.width = 2;
  eight.height = 2;
  eight.bpp = 8;
  eight.colours_used = 2;
  eight.palette = {0x0000FF, 0x123456};
  eight.pixels = {0, 1, 0, 0, 1, 1, 0, 0};
  ExpectRows(Decode(MakeBmp(eight)),
             {{Rgb(0x12, 0x34, 0x56), Rgb(0x12, 0x34, 0x56)}, {kBlue, Rgb(0x12, 0x34, 0x56)}});
}

TEST(BmpDecode, IndexBeyondPaletteIsBlack) {
  BmpSpec s;
  s.width = 2;
  s.bpp = 8;
  s.colours_used = 1;
  s.palette = {0xFFFFFF};
  s.pixels = {0, 7, 0, 0};
  ExpectRows(Decode(MakeBmp(s)), {{kWhite, kBlack}});
}

TEST(BmpDecode, CoreHeaderWithThreeBytePalette) {
  BmpSpec s;
  s.header_size = 12;
  s.width = 2;
  s.bpp = 1;
  s.palette = {0xFF0000, 0x0000FF};
  s.pixels = {0b01000000, 0, 0, 0};
  ExpectRows(Decode(MakeBmp(s)), {{kRed, kBlue}});
}

TEST(BmpDecode, Rle8RunsAbsoluteDeltaAndEnds) {
  BmpSpec s;
  s.width = 4;
  s.height = 3;
  s.bpp = 8;
  s.compression = 1;
  s.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  s.pixels = {
      3, 1,           // bottom row: three red
      0, 0,           // end of line
      0, 3, 2, 3, 2,  // absolute: green, blue, green
      0,              // pad to 16 bits
      0, 0,           // end of line
      0, 2, 2, 0,     // delta: two right, same row
      2, 3,           // two blue
      0, 1,           // end of bitmap
  };
  ExpectRows(Decode(MakeBmp(s)), {{kBlack, kBlack, kBlue, kBlue},
                                  {kGreen, kBlue, kGreen, kBlack},
                                  {kRed, kRed, kRed, kBlack}});
}

TEST(BmpDecode, Rle4NibblesAndClipping) {
  BmpSpec s;
  s.width = 3;
  s.height = 2;
  s.bpp = 4;
  s.compression = 2;
  s.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  s.pixels = {
      5, 0x12,              // run of 5 alternating red, green: clipped to 3
      0, 0,                 // end of line
      0, 3,    0x32, 0x10,  // absolute 3 nibbles: blue, green, red (2 bytes, already even)
      0, 1,
  };
  ExpectRows(Decode(MakeBmp(s)), {{kBlue, kGreen, kRed}, {kRed, kGreen, kRed}});
}

TEST(BmpDecode, RleWithoutEndMarkAfterLastRowIsAccepted) {
  BmpSpec s;
  s.width = 1;
  s.height = 1;
  s.bpp = 8;
  s.compression = 1;
  s.palette = {0, 0xFFFFFF};
  s.pixels = {1, 1, 0, 0};
  ExpectRows(Decode(MakeBmp(s)), {{kWhite}});
}

TEST(BmpDecode, ShortPaletteGivenByPixelOffset) {
  // A writer that stores two palette entries for an 8-bit image and says so only through
  // the pixel offset.
  BmpSpec s;
  s.width = 2;
  s.bpp = 8;
  s.palette = {0xFF0000, 0x00FF00};
  s.pixels = {1, 0, 0, 0};
  ExpectRows(Decode(MakeBmp(s)), {{kGreen, kRed}});
}

// --- Malformed files ---------------------------------------------------------------------

struct Bad {
  const char* what;
  Bytes file;
};

std::vector<Bad> BadFiles() {
  std::vector<Bad> bad;
  BmpSpec ok;
  ok.width = 2;
  ok.height = 2;
  ok.pixels = Bytes(16, 7);
  auto with = [&](const char* what, auto change) {
    BmpSpec s = ok;
    change(s);
    bad.push_back({what, MakeBmp(s)});
  };
  bad.push_back({"empty", {}});
  bad.push_back({"no mark", Bytes(60, 0)});
  Bytes header_only = MakeBmp(ok);
  header_only.resize(30);
  bad.push_back({"truncated header", header_only});
  with("zero width", [](BmpSpec& s) { s.width = 0; });
  with("negative width", [](BmpSpec& s) { s.width = -5; });
  with("zero height", [](BmpSpec& s) { s.height = 0; });
  with("huge width", [](BmpSpec& s) { s.width = 0x7FFFFFFF; });
  with("most negative height", [](BmpSpec& s) { s.height = INT32_MIN; });
  with("too many pixels", [](BmpSpec& s) { s.width = s.height = 16384; });
  with("truncated pixels", [](BmpSpec& s) { s.pixels.resize(15); });
  with("offset past end", [](BmpSpec& s) { s.offset_override = 1000; });
  with("offset inside header", [](BmpSpec& s) { s.offset_override = 20; });
  with("offset leaves too few pixel bytes", [](BmpSpec& s) { s.offset_override = 60; });
  with("bad depth", [](BmpSpec& s) { s.bpp = 7; });
  with("jpeg", [](BmpSpec& s) { s.compression = 4; });
  with("rle8 with 24 bits", [](BmpSpec& s) { s.compression = 1; });
  with("bit fields with 24 bits", [](BmpSpec& s) { s.compression = 3; });
  with("odd header size", [](BmpSpec& s) { s.header_size = 20; });
  with("palette past end", [](BmpSpec& s) {
    s.bpp = 8;
    s.pixels.clear();
    s.offset_override = 0;
  });
  with("top-down rle", [](BmpSpec& s) {
    s.bpp = 8;
    s.height = -2;
    s.compression = 1;
    s.palette = {0};
    s.pixels = {0, 1};
  });
  with("rle truncated absolute run", [](BmpSpec& s) {
    s.bpp = 8;
    s.compression = 1;
    s.palette = {0};
    s.pixels = {0, 200, 1, 2};
  });
  with("rle ends before its last row", [](BmpSpec& s) {
    s.bpp = 8;
    s.compression = 1;
    s.palette = {0};
    s.pixels = {2, 0, 0, 0};
  });
  with("rle truncated delta", [](BmpSpec& s) {
    s.bpp = 4;
    s.compression = 2;
    s.palette = {0};
    s.pixels = {0, 2, 1};
  });
  return bad;
}

TEST(BmpDecode, MalformedFilesGiveEmptyBitmapAndError) {
  for (const Bad& b : BadFiles()) {
    PixelBitmap out(3, 3);  // anything held before is dropped
    std::string error;
    EXPECT_FALSE(DecodeBmp(b.file, out, &error)) << b.what;
    EXPECT_TRUE(out.Empty()) << b.what;
    EXPECT_FALSE(error.empty()) << b.what;
    EXPECT_FALSE(DecodeBmp(b.file, out, nullptr)) << b.what;  // error text is optional
  }
}

TEST(BmpDecode, HugeRleDimensionsAreRefusedBeforeAllocating) {
  BmpSpec s;
  s.width = 16384;
  s.height = 16384;
  s.bpp = 8;
  s.compression = 1;
  s.palette = {0};
  s.pixels = {0, 1};
  PixelBitmap out;
  std::string error;
  EXPECT_FALSE(DecodeBmp(MakeBmp(s), out, &error));
  EXPECT_NE(error.find("too large"), std::string::npos);
}

// --- Encoding ------------------------------------------------------------------------------

TEST(BmpEncode, RoundTripsBothFormatsAsBottomUpFiles) {
  for (PixelFormat f : {PixelFormat::kBgr24, PixelFormat::kBgra32}) {
    PixelBitmap b(5, 3, f);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) b.SetPixel(x, y, Rgb(uint8_t(x * 40), uint8_t(y * 70), 9));
    if (f == PixelFormat::kBgra32) b.ScanLine(1)[3] = 77;
    Bytes file = EncodeBmp(b);
    ASSERT_GE(file.size(), 54u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[22], 3);  // positive height: bottom-up
    EXPECT_EQ(file[28], uint8_t(f));
    EXPECT_EQ(file.size(), 54 + 3 * PixelBitmap::StrideFor(5, f));
    // The last stored row is the top row.
    EXPECT_EQ(
        file[54 + 2 * PixelBitmap::StrideFor(5, f) + 1 * (f == PixelFormat::kBgra32 ? 4 : 3) + 2],
        40);
    EXPECT_EQ(Decode(file), b);
  }
  EXPECT_TRUE(EncodeBmp(PixelBitmap()).empty());
}

}  // namespace
}  // namespace skin
