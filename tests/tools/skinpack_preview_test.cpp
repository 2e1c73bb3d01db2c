// skinpack preview: the PNG encoder's bytes, checked by decoding them here, and the
// preview command run on a small package made in the test.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/store/bmp_codec.h"
#include "skin/store/package_writer.h"
#include "tools/skinpack/commands.h"
#include "tools/skinpack/png_writer.h"

namespace skinpack {
namespace {

uint32_t BigEndian(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Decodes what EncodePng writes (RGB, filter 0, stored deflate blocks), checking every
// chunk's CRC, the block lengths and the Adler-32.
bool DecodeStoredPng(const std::vector<uint8_t>& png, skin::PixelBitmap& out) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || std::memcmp(png.data(), signature, 8) != 0) return false;
  size_t at = 8;
  int w = 0, h = 0;
  std::vector<uint8_t> z;
  while (at + 12 <= png.size()) {
    const uint32_t n = BigEndian(&png[at]);
    if (at + 12 + n > png.size()) return false;
    const std::span<const uint8_t> typed(&png[at + 4], 4 + n);
    if (Crc32(typed) != BigEndian(&png[at + 8 + n])) return false;
    const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
    const uint8_t* body = &png[at + 8];
    if (type == "IHDR") {
      w = int(BigEndian(body));
      h = int(BigEndian(body + 4));
      if (body[8] != 8 || body[9] != 2) return false;
    } else if (type == "IDAT") {
      z.insert(z.end(), body, body + n);
    }
    at += 12 + n;
  }
  if (z.size() < 6 || z[0] != 0x78) return false;
  std::vector<uint8_t> raw;
  size_t p = 2;
  for (bool last = false; !last;) {
    if (p + 5 > z.size()) return false;
    last = z[p] & 1;
    if ((z[p] >> 1) != 0) return false;  // only stored blocks
    const uint16_t len = uint16_t(z[p + 1] | z[p + 2] << 8);
    const uint16_t nlen = uint16_t(z[p + 3] | z[p + 4] << 8);
    if (uint16_t(~len) != nlen || p + 5 + len > z.size()) return false;
    raw.insert(raw.end(), z.begin() + ptrdiff_t(p + 5), z.begin() + ptrdiff_t(p + 5 + len));
    p += 5 + len;
  }
  if (p + 4 != z.size() || BigEndian(&z[p]) != Adler32(raw)) return false;
  if (raw.size() != size_t(h) * (1 + 3 * size_t(w))) return false;
  out.Reset(w, h, skin::PixelFormat::kBgr24);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = &raw[size_t(y) * (1 + 3 * size_t(w))];
    if (row[0] != 0) return false;
    for (int x = 0; x < w; ++x)
      out.SetPixel(x, y, skin::Rgb(row[1 + 3 * x], row[2 + 3 * x], row[3 + 3 * x]));
  }
  return true;
}

TEST(PngWriter, ChecksumsMatchTheirKnownValues) {
  const std::string digits = "123456789", word = "Wikipedia";
  EXPECT_EQ(Crc32({reinterpret_cast<const uint8_t*>(digits.data()), digits.size()}), 0xCBF43926u);
  EXPECT_EQ(Adler32({reinterpret_cast<const uint8_t*>(word.data()), word.size()}), 0x11E60398u);
  // Long input: the sums are reduced before they can overflow.
  std::vector<uint8_t> ones(100000, 0xFF);
  uint32_t a = 1, b = 0;
  for (uint8_t v : ones) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  EXPECT_EQ(Adler32(ones), (b << 16) | a);
}

TEST(PngWriter, SmallAndMultiBlockImagesDecodeToTheSamePixels) {
  for (auto [w, h] : {std::pair{3, 2}, std::pair{200, 120}}) {  // 72,120 bytes: two blocks
    skin::PixelBitmap image(w, h, skin::PixelFormat::kBgra32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        image.SetPixel(x, y, skin::Rgb(uint8_t(x), uint8_t(y), uint8_t(x ^ y)));
    skin::PixelBitmap decoded;
    ASSERT_TRUE(DecodeStoredPng(EncodePng(image), decoded)) << w;
    EXPECT_EQ(decoded, image.Converted(skin::PixelFormat::kBgr24));
  }
  EXPECT_TRUE(EncodePng(skin::PixelBitmap()).empty());
}

// A small skin: frame strips of one colour each, a push-button strip and a definition.
std::vector<uint8_t> TestPackage() {
  auto solid = [](int w, int h, uint32_t c) {
    skin::PixelBitmap b(w, h);
    b.Fill(c);
    return skin::EncodeBmp(b);
  };
  const std::string ini =
      "[TitlebarSkin]\r\nSkinName=Test\r\n"
      "[Personality]\r\nLeft=l.bmp\r\nRight=r.bmp\r\nTop=t.bmp\r\nBottom=b.bmp\r\n"
      "LeftFrame=1\r\nRightFrame=1\r\nTopFrame=1\r\nBottomFrame=1\r\n"
      "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\n"
      "BottomHeight=2\r\n";
  std::vector<skin::PackageEntry> entries = {
      {"test.ini", std::vector<uint8_t>(ini.begin(), ini.end())},
      {"l.bmp", solid(5, 30, skin::Rgb(200, 0, 0))},
      {"r.bmp", solid(5, 30, skin::Rgb(0, 200, 0))},
      {"t.bmp", solid(30, 24, skin::Rgb(0, 0, 200))},
      {"b.bmp", solid(30, 5, skin::Rgb(200, 200, 0))},
      {"button.bmp", solid(50, 20, skin::Rgb(10, 20, 30))},
  };
  return skin::WritePackage(entries);
}

class PreviewCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() /
        ("skinpack_preview_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  void Write(const char* name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  std::vector<uint8_t> Read(const char* name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::filesystem::path dir_;
};

TEST_F(PreviewCommand, DrawsTheMockWindowWithTheSkinsStrips) {
  Write("test.skn", TestPackage());
  ASSERT_EQ(RunPreview({"--size", "200x150", Path("test.skn"), Path("out.png")}), 0);
  skin::PixelBitmap sheet;
  ASSERT_TRUE(DecodeStoredPng(Read("out.png"), sheet));
  EXPECT_GE(sheet.Width(), 2 * 200);
  // The active window sits at the sheet's margin, below two label lines: find its left
  // strip (red, 5 wide, the whole height) and the right strip 195 pixels further.
  int top = -1;
  for (int y = 0; y < sheet.Height() && top < 0; ++y)
    if (sheet.Pixel(12, y) == skin::Rgb(200, 0, 0)) top = y;
  ASSERT_GE(top, 0);
  for (int y = top; y < top + 150; ++y) {
    ASSERT_EQ(sheet.Pixel(12, y), skin::Rgb(200, 0, 0)) << y;
    ASSERT_EQ(sheet.Pixel(12 + 197, y), skin::Rgb(0, 200, 0)) << y;
  }
  EXPECT_EQ(sheet.Pixel(12 + 100, top + 1), skin::Rgb(0, 0, 200));      // title bar
  EXPECT_EQ(sheet.Pixel(12 + 100, top + 148), skin::Rgb(200, 200, 0));  // bottom strip
}

TEST_F(PreviewCommand, RefusesBadInputWithAClearStatus) {
  EXPECT_EQ(RunPreview({Path("missing.skn"), Path("out.png")}), 1);
  Write("junk.skn", {1, 2, 3, 4, 5, 6, 7, 8, 9});
  EXPECT_EQ(RunPreview({Path("junk.skn"), Path("out.png")}), 1);
  Write("test.skn", TestPackage());
  EXPECT_EQ(RunPreview({"--size", "99999x10", Path("test.skn"), Path("out.png")}), 2);
  EXPECT_EQ(RunPreview({"--size", "300", Path("test.skn"), Path("out.png")}), 2);
  EXPECT_EQ(RunPreview({Path("test.skn")}), 2);
  EXPECT_FALSE(std::filesystem::exists(Path("out.png")));
}

}  // namespace
}  // namespace skinpack
