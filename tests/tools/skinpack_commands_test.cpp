// The skinpack package commands, run through their entry points on files in a scratch
// folder: exit status, the one-line faults on stderr, and what lands on disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "skin/store/lzh_codec.h"
#include "skin/store/package_writer.h"
#include "tools/skinpack/commands.h"

namespace skinpack {
namespace {

namespace fs = std::filesystem;

class SkinpackCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("skinpack_test_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "skin");
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string P(const std::string& name) const { return (root_ / name).string(); }

  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Runs a command, keeping what it printed on stderr.
  int Call(int (*command)(const Args&), Args args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = command(args);
    std::fflush(stdout);
    std::fflush(stderr);
    out_ = ::testing::internal::GetCapturedStdout();
    err_ = ::testing::internal::GetCapturedStderr();
    return status;
  }

  void MakeSkin(const std::string& definition) {
    Write(P("skin/Skin.ini"), definition);
    Write(P("skin/Frame.bmp"), "BMframe-bytes");
    Write(P("skin/title.bmp"), "BMtitle");
  }

  void WritePackageFile(const std::string& path, const std::vector<skin::PackageEntry>& entries) {
    const std::vector<uint8_t> bytes = skin::WritePackage(entries);
    Write(path, std::string(bytes.begin(), bytes.end()));
  }

  fs::path root_;
  std::string out_, err_;
};

TEST_F(SkinpackCommands, PackListVerifyUnpack) {
  MakeSkin("[Form]\r\nBorder = Frame.bmp\r\nTitle=\"Sub\\title.bmp\"\r\n;Old=gone.bmp\r\n");
  Write(P("skin/notes.txt"), "not packed");
  ASSERT_EQ(Call(RunPack, {P("skin"), P("a.skn")}), 0) << err_;

  ASSERT_EQ(Call(RunList, {P("a.skn")}), 0) << err_;
  EXPECT_EQ(out_, "        66  skin.ini\n        13  frame.bmp\n         7  title.bmp\n");

  ASSERT_EQ(Call(RunVerify, {P("a.skn")}), 0) << err_;
  EXPECT_NE(out_.find("ok: 3 entries, definition skin.ini, 2 image keys"), std::string::npos);

  ASSERT_EQ(Call(RunUnpack, {P("a.skn"), P("out/deeper")}), 0) << err_;
  EXPECT_EQ(Read(P("out/deeper/frame.bmp")), "BMframe-bytes");
  EXPECT_EQ(Read(P("out/deeper/skin.ini")), Read(P("skin/Skin.ini")));
  EXPECT_FALSE(fs::exists(P("out/deeper/notes.txt")));
}

TEST_F(SkinpackCommands, VerifyNamesTheFirstProblemOfTheDefinition) {
  struct Case {
    const char* definition;
    const char* fault;
  };
  const Case cases[] = {
      {"[Form]\r\nBorder=Missing.bmp\r\n", "[Form] Border=Missing.bmp: names 'missing.bmp'"},
      {"[Form]\r\nBorder=Frame.BMP\r\nX=y.bmp\r\n",
       "extension is not exactly \".bmp\", so the image stays empty (and 1 more)"},
  };
  for (const Case& c : cases) {
    MakeSkin(c.definition);
    ASSERT_EQ(Call(RunPack, {P("skin"), P("a.skn")}), 0) << err_;
    EXPECT_EQ(Call(RunVerify, {P("a.skn")}), 1) << c.definition;
    EXPECT_NE(err_.find(P("a.skn") + ": skin.ini "), std::string::npos) << err_;
    EXPECT_NE(err_.find(c.fault), std::string::npos) << err_;
    EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
  }
}

TEST_F(SkinpackCommands, VerifyWantsExactlyOneDefinition) {
  WritePackageFile(P("none.skn"), {{"a.bmp", {'B', 'M'}}});
  EXPECT_EQ(Call(RunVerify, {P("none.skn")}), 1);
  EXPECT_NE(err_.find("no skin definition"), std::string::npos) << err_;
  WritePackageFile(P("two.skn"), {{"a.ini", {}}, {"B.INI", {}}});
  EXPECT_EQ(Call(RunVerify, {P("two.skn")}), 1);
  EXPECT_NE(err_.find("holds 2 skin definitions"), std::string::npos) << err_;
  WritePackageFile(P("shadow.skn"), {{"x.ini.bmp", {'B', 'M'}}, {"skin.ini", {}}});
  EXPECT_EQ(Call(RunVerify, {P("shadow.skn")}), 1);
  EXPECT_NE(err_.find("'x.ini.bmp' comes before the definition"), std::string::npos) << err_;
}

TEST_F(SkinpackCommands, BadPackagesFailWithOneLineNamingTheFile) {
  // Wrong format mark: the engine's message, printed.
  std::vector<uint8_t> old = skin::BuildContainer({});
  old[0] = 0x1F;  // 19999
  const std::vector<uint8_t> packed = skin::LzhCompress(old);
  Write(P("old.skn"), std::string(packed.begin(), packed.end()));
  Write(P("junk.skn"), std::string("\xFF\xFF\xFF\x7F junk", 9));
  std::string bad_sizes_container("\x20\x4E\0\0\x03\0\0\0\0\0\0\0\0\0\0\0", 16);
  bad_sizes_container.append("a\r\n").append("\x09\0\0\0", 4).append("abc");
  const std::vector<uint8_t> bad_sizes = skin::LzhCompress(
      std::vector<uint8_t>(bad_sizes_container.begin(), bad_sizes_container.end()));
  Write(P("sizes.skn"), std::string(bad_sizes.begin(), bad_sizes.end()));
  struct Case {
    std::string file;
    const char* fault;
  };
  const Case cases[] = {
      {P("old.skn"), "format mark 19999 is not 20000: This is Older Skin File Please update"},
      {P("junk.skn"), "not a skin package: LZH : expanded length 2147483647"},
      {P("sizes.skn"), "add up to 9 bytes but the container holds 3"},
      {P("missing.skn"), "cannot open"},
  };
  for (const Case& c : cases) {
    for (auto command : {RunList, RunVerify}) {
      EXPECT_EQ(Call(command, {c.file}), 1) << c.file;
      EXPECT_EQ(err_.rfind("skinpack: " + c.file + ": ", 0), 0u) << err_;
      EXPECT_NE(err_.find(c.fault), std::string::npos) << err_;
      EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
    }
  }
  EXPECT_EQ(Call(RunUnpack, {P("old.skn"), P("out")}), 1);
  EXPECT_FALSE(fs::exists(P("out")));
}

TEST_F(SkinpackCommands, UnpackWritesOnlyPlainNamesAndTheFirstOfEqualOnes) {
  WritePackageFile(P("evil.skn"), {{"a.ini", {}}, {"..\\x.bmp", {'B', 'M'}}});
  EXPECT_EQ(Call(RunUnpack, {P("evil.skn"), P("out")}), 1);
  EXPECT_NE(err_.find("'..\\x.bmp' is not a plain file name"), std::string::npos) << err_;
  EXPECT_FALSE(fs::exists(P("out")));
  WritePackageFile(P("twice.skn"), {{"a.bmp", {'1'}}, {"A.bmp", {'2'}}});
  EXPECT_EQ(Call(RunUnpack, {P("twice.skn"), P("out")}), 0);
  EXPECT_EQ(Read(P("out/a.bmp")), "1");
  EXPECT_NE(err_.find("'a.bmp' repeats; kept the first"), std::string::npos) << err_;
}

TEST_F(SkinpackCommands, PackRefusesFoldersThatMakeNoSkin) {
  Write(P("skin/a.bmp"), "BM");
  EXPECT_EQ(Call(RunPack, {P("skin"), P("a.skn")}), 1);
  EXPECT_NE(err_.find("holds no skin definition"), std::string::npos) << err_;
  Write(P("skin/one.ini"), "");
  Write(P("skin/two.INI"), "");
  EXPECT_EQ(Call(RunPack, {P("skin"), P("a.skn")}), 1);
  EXPECT_NE(err_.find("holds 2 skin definitions"), std::string::npos) << err_;
  EXPECT_EQ(Call(RunPack, {P("nowhere"), P("a.skn")}), 1);
  EXPECT_FALSE(fs::exists(P("a.skn")));
}

TEST_F(SkinpackCommands, RawCodecStreams) {
  std::string data;
  for (int i = 0; i < 5000; ++i) data += "line " + std::to_string(i % 37) + "\r\n";
  Write(P("in.txt"), data);
  ASSERT_EQ(Call(RunLzhCompress, {P("in.txt"), P("in.lzh")}), 0) << err_;
  EXPECT_LT(fs::file_size(P("in.lzh")), data.size() / 4);
  ASSERT_EQ(Call(RunLzhExpand, {P("in.lzh"), P("back.txt")}), 0) << err_;
  EXPECT_EQ(Read(P("back.txt")), data);
  Write(P("bad.lzh"), std::string("\x00\x00\x00\x40", 4));
  EXPECT_EQ(Call(RunLzhExpand, {P("bad.lzh"), P("x")}), 1);
  EXPECT_NE(err_.find(P("bad.lzh") + ": LZH : expanded length 1073741824"), std::string::npos)
      << err_;
}

TEST_F(SkinpackCommands, WrongUsageExitsWith2) {
  EXPECT_EQ(Call(RunPack, {P("skin")}), 2);
  EXPECT_NE(err_.find("usage: skinpack pack DIR OUT"), std::string::npos) << err_;
  EXPECT_EQ(Call(RunList, {}), 2);
  EXPECT_EQ(Call(RunVerify, {"--strict", P("a.skn")}), 2);
  EXPECT_EQ(Call(RunLzhExpand, {"a", "b", "c"}), 2);
  EXPECT_EQ(Call(RunUnpack, {"-x", "y"}), 2);
}

}  // namespace
}  // namespace skinpack
