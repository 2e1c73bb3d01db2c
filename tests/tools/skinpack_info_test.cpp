// skinpack info, run through its entry point on a package built here: what a skin author
// is shown must be what the definition reader made of the definition.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "skin/store/bmp_codec.h"
#include "skin/store/package_writer.h"
#include "skin/store/pixel_bitmap.h"
#include "tools/skinpack/commands.h"

namespace skinpack {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> Bmp(int width, int height) {
  skin::PixelBitmap bitmap(width, height);
  bitmap.Fill(skin::Rgb(120, 130, 140));
  return skin::EncodeBmp(bitmap);
}

class SkinpackInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (fs::temp_directory_path() / "skinpack_info_test.skn").string();
    const std::string ini =
        "[TitlebarSkin]\r\nSkinName=Probe\r\n"
        "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nTopStretch=5\r\n"
        "[Colours]\r\nButtonFace=224 223 227\r\n"
        "[Scrollbar]\r\nImage=\r\n"
        "[SunkEdge]\r\nImage=sunk.bmp\r\nTile=5\r\nLeftWidth=2\r\n"
        "[Button0]\r\nButtonImage=close.bmp\r\nAction=0\r\n"
        "[COLOUR2]\r\ncolor=1 2 3\r\n";
    const std::vector<skin::PackageEntry> entries = {
        {"probe.ini", Bytes(ini)},
        {"top.bmp", Bmp(40, 52)},
        {"sunk.bmp", Bmp(64, 16)},
        {"close.bmp", Bmp(126, 21)},
    };
    const std::vector<uint8_t> package = skin::WritePackage(entries);
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(package.data()), std::streamsize(package.size()));
  }
  void TearDown() override { fs::remove(path_); }

  std::string RunCaptured(const Args& args, int* status) {
    ::testing::internal::CaptureStdout();
    *status = RunInfo(args);
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
  }

  std::string path_;
};

TEST_F(SkinpackInfo, JsonShowsTheValuesTheReaderDerived) {
  int status = -1;
  const std::string json = RunCaptured({"--json", path_}, &status);
  ASSERT_EQ(status, 0);
  EXPECT_NE(json.find("\"SkinName\": \"Probe\""), std::string::npos);
  // An empty Image value leaves the slot empty; a Tile above 1 in a plain element reads 0,
  // while the top strip's Stretch keeps 5.
  EXPECT_NE(json.find("\"Scrollbar\": null"), std::string::npos) << json.substr(0, 400);
  const size_t sunk = json.find("\"SunkEdge\"");
  ASSERT_NE(sunk, std::string::npos);
  EXPECT_NE(json.find("\"Tile\": 0", sunk), std::string::npos);
  EXPECT_NE(json.find("\"FrameCount\": 4", sunk), std::string::npos);
  const size_t top = json.find("\"TopStrip\"");
  ASSERT_NE(top, std::string::npos);
  EXPECT_LT(json.find("\"Tile\": 5", top), sunk);
  // A 126 x 21 caption-button image without a frame key has 6 frames; one section plus
  // the three MDI buttons.
  const size_t buttons = json.find("\"SysButtons\"");
  ASSERT_NE(buttons, std::string::npos);
  EXPECT_NE(json.find("\"FrameCount\": 6", buttons), std::string::npos);
  EXPECT_NE(json.find("\"r\": 1, \"g\": 2, \"b\": 3", buttons), std::string::npos);
  EXPECT_NE(json.find("\"r\": 224, \"g\": 223, \"b\": 227"), std::string::npos);
}

TEST_F(SkinpackInfo, TextAndJsonNameTheSameSlots) {
  int status = -1;
  const std::string text = RunCaptured({path_}, &status);
  ASSERT_EQ(status, 0);
  for (const char* slot : {"TopStrip", "SunkEdge", "Scrollbar", "Probe"})
    EXPECT_NE(text.find(slot), std::string::npos) << slot;
}

TEST_F(SkinpackInfo, BadUseAndBadFilesHaveTheirExitStatus) {
  int status = -1;
  RunCaptured({}, &status);
  EXPECT_EQ(status, 2);
  RunCaptured({"--json", path_, "extra"}, &status);
  EXPECT_EQ(status, 2);
  RunCaptured({(fs::temp_directory_path() / "no_such_skin.skn").string()}, &status);
  EXPECT_EQ(status, 1);
  std::ofstream(path_, std::ios::binary) << "not a package at all";
  RunCaptured({path_}, &status);
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace skinpack
