#include "skin/data/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace skin {
namespace {

TEST(IniLookup, NamesIgnoreCaseAndFirstOccurrenceWins) {
  const IniFile ini(
      "[Personality]\r\n"
      "MenuBar=bar.bmp\r\n"
      "menubar=second.bmp\r\n"
      "[personality]\r\n"
      "Extra=only in the duplicate\r\n"
      "[Colours]\n"
      "ButtonFace=1 2 3\n");
  EXPECT_EQ(ini.ReadString("Personality", "menuBar"), "bar.bmp");
  EXPECT_EQ(ini.ReadString("PERSONALITY", "MENUBAR"), "bar.bmp");
  // Keys of a later section of the same name are not seen.
  EXPECT_EQ(ini.ReadString("Personality", "Extra", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("colours", "buttonface"), "1 2 3");
  EXPECT_TRUE(ini.SectionExists("COLOURS"));
  EXPECT_FALSE(ini.SectionExists("Fonts"));
}

TEST(IniLookup, ValuesAreTrimmedUnquotedAndCut) {
  const std::string long_value(3000, 'x');
  const IniFile ini(
      "[S]\n"
      "  Key  =   value with  inner  blanks \t\n"
      "Quoted=\"  kept blanks \"\n"
      "Single='a'\n"
      "Mismatched=\"a'\n"
      "Semicolon=a;b\n"
      "Empty=\n"
      "Long=" +
      long_value + "\n");
  EXPECT_EQ(ini.ReadString("S", "Key"), "value with  inner  blanks");
  EXPECT_EQ(ini.ReadString("S", "Quoted"), "  kept blanks ");
  EXPECT_EQ(ini.ReadString("S", "Single"), "a");
  EXPECT_EQ(ini.ReadString("S", "Mismatched"), "\"a'");
  EXPECT_EQ(ini.ReadString("S", "Semicolon"), "a;b");
  EXPECT_EQ(ini.ReadString("S", "Empty", "dflt"), "");  // present but empty is not missing
  EXPECT_EQ(ini.ReadString("S", "Long").size(), IniFile::kMaxValueLength);
}

TEST(IniLookup, CommentsStrayLinesAndLineEnds) {
  const IniFile ini(
      "\xEF\xBB\xBF"
      "Orphan=before any section\r"
      "[A]\r"
      "; Comment=1\r"
      "  ;Indented=1\r"
      "no equals sign here\r"
      "=no key\r"
      "[Broken\r"
      "Real=1\r\n"
      "[ B ] trailing text\n"
      "K=2");
  EXPECT_EQ(ini.ReadInteger("A", "Comment", -1), -1);
  EXPECT_EQ(ini.ReadInteger("A", "Indented", -1), -1);
  EXPECT_EQ(ini.ReadInteger("A", "Real", -1), 1);  // "[Broken" is ignored, so still in [A]
  EXPECT_EQ(ini.ReadInteger("B", "K", -1), 2);     // last line without an end
  EXPECT_FALSE(ini.Find("", "Orphan"));
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"A", "B"}));
}

TEST(IniLookup, SectionListKeepsFileOrderDuplicatesAndItsSizeLimit) {
  std::string text = "[Zeta]\n[alpha]\n[Zeta]\n";
  EXPECT_EQ(IniFile(text).SectionNames(), (std::vector<std::string>{"Zeta", "alpha", "Zeta"}));
  // 16,384 bytes hold 1,820 names of 8 characters with their zeros, and the final zero.
  std::string many;
  for (int i = 0; i < 2000; ++i) many += "[Section" + std::to_string(i % 10) + "]\n";
  const IniFile big(many + "[x]\n");
  EXPECT_EQ(big.SectionNames().size(), 1820u);
  EXPECT_TRUE(big.SectionExists("x"));  // still readable, only missing from the list
}

TEST(IniIntegers, DecimalHexAndDefaults) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"42", 42},
      {"-7", -7},
      {"+7", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", -99},
      {"$1F", 31},
      {"$ff", 255},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"$100000000", -99},
      {"$000000001", 1},
      {"0x1F", 31},
      {"0X10", 16},
      {"0x", -99},
      {"0x1", 1},
      {"", -99},
      {"-", -99},
      {"$", -99},
      {"1.5", -99},
      {"12abc", -99},
      {"abc", -99},
      {"0x-5", -99},
      {"007", 7},
      {"$G", -99},
  };
  for (const Case& c : cases) {
    const IniFile ini(std::string("[S]\nK=") + c.text + "\n");
    EXPECT_EQ(ini.ReadInteger("S", "K", -99), c.expected) << '"' << c.text << '"';
  }
  const IniFile ini("[S]\nK= 12 \n");
  EXPECT_EQ(ini.ReadInteger("S", "K", -99), 12);  // the value is trimmed first
  EXPECT_EQ(ini.ReadInteger("S", "Missing", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Missing", "K", 5), 5);
}

TEST(IniLookup, ParseReplacesContent) {
  IniFile ini("[A]\nk=1\n");
  ini.Parse("[B]\nk=2\n");
  EXPECT_FALSE(ini.SectionExists("A"));
  EXPECT_EQ(ini.ReadInteger("B", "k", 0), 2);
  EXPECT_EQ(ini.SectionNames().size(), 1u);
}

}  // namespace
}  // namespace skin
