// The skin package reader: container layout, name lookup, the image-name rules, the
// wrong-format message and the refusal of containers that do not hold together.
#include "skin/store/skin_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "skin/store/package_writer.h"
#include "tests/skin/store/lzh_test_input.h"
#include "tests/skin/store/reference_lzh.h"

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

void PutInt32(Bytes& out, int32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(value) >> (8 * i)));
}

// A container put together by hand, so that it can be wrong in any way a test wants.
Bytes RawContainer(int32_t mark, std::string_view directory, std::vector<int32_t> sizes,
                   std::string_view data, std::optional<int32_t> directory_length = {}) {
  Bytes out;
  PutInt32(out, mark);
  PutInt32(out, directory_length.value_or(int32_t(directory.size())));
  PutInt32(out, 7);
  PutInt32(out, 9);
  out.insert(out.end(), directory.begin(), directory.end());
  for (int32_t size : sizes) PutInt32(out, size);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

std::vector<PackageEntry> SampleEntries() {
  return {{"Skin.INI", Text("[Form]\r\nBorder=Frame.bmp\r\n")},
          {"Frame.bmp", Text("BMframe")},
          {"name.bmp", Text("BMname")},
          {"empty.bmp", {}},
          {"FRAME.BMP", Text("BMsecond")}};
}

std::string Entry(const TSkinReader& reader, std::string_view name) {
  Bytes out;
  reader.GetEntryByName(name, out);
  return std::string(out.begin(), out.end());
}

TEST(SkinReader, LoadsWhatTheWriterPacks) {
  RecordingSkinReporter reporter;
  TSkinReader reader(reporter);
  const Bytes package = WritePackage(SampleEntries());
  const Bytes container = BuildContainer(SampleEntries());
  ASSERT_TRUE(reader.Load(package));
  EXPECT_TRUE(reporter.messages.empty());
  EXPECT_EQ(LzhExpand(package), container);
  EXPECT_EQ(reader.Header().format_mark, 20000);
  EXPECT_EQ(reader.Header().directory_length, 53);
  EXPECT_EQ(reader.Directory(), (std::vector<std::string>{"skin.ini", "frame.bmp", "name.bmp",
                                                          "empty.bmp", "frame.bmp"}));
  EXPECT_EQ(reader.Sizes(), (std::vector<int32_t>{26, 7, 6, 0, 8}));
  EXPECT_EQ(reader.Data().size(), 47u);
  EXPECT_EQ(container.size(), 16 + 53 + 4 * 5 + 47u);
  // Names compare in lower case; the first of equal names wins.
  EXPECT_EQ(Entry(reader, "NAME.BMP"), "BMname");
  EXPECT_EQ(Entry(reader, "frame.bmp"), "BMframe");
  EXPECT_EQ(Entry(reader, "missing.bmp"), "");
  EXPECT_EQ(Entry(reader, "name"), "");
}

TEST(SkinReader, EntriesExpandWhenAskedForInAnyOrderAndStayWhereTheyAre) {
  std::vector<PackageEntry> entries = SampleEntries();
  entries.push_back({"big.bmp", lzh_test_input::MixedBytes(50000, 1)});
  entries.push_back({"last.bmp", Text("BMlast")});
  TSkinReader reader;
  ASSERT_TRUE(reader.Load(WritePackage(entries)));
  const std::span<const uint8_t> name = reader.Entry(2);
  EXPECT_EQ(Entry(reader, "frame.bmp"), "BMframe");
  EXPECT_EQ(std::string(name.begin(), name.end()), "BMname");
  const std::span<const uint8_t> last = reader.Entry(6);
  EXPECT_TRUE(std::equal(reader.Entry(5).begin(), reader.Entry(5).end(), entries[5].data.begin(),
                         entries[5].data.end()));
  EXPECT_EQ(std::string(name.begin(), name.end()), "BMname");
  EXPECT_EQ(std::string(last.begin(), last.end()), "BMlast");
  const Bytes container = BuildContainer(entries);
  EXPECT_TRUE(std::equal(reader.Data().begin(), reader.Data().end(),
                         container.end() - std::ptrdiff_t(reader.Data().size())));
}

TEST(SkinReader, EntryByPartOfItsName) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadContainer(BuildContainer(SampleEntries())));
  Bytes out{1};
  std::string name = "unchanged";
  EXPECT_TRUE(reader.GetEntryByPartName(".ini", out, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(std::string(out.begin(), out.end()), "[Form]\r\nBorder=Frame.bmp\r\n");
  EXPECT_TRUE(reader.GetEntryByPartName("ame.b", out, name));
  EXPECT_EQ(name, "frame.bmp");
  // The pattern is not lower-cased.
  name = "unchanged";
  EXPECT_FALSE(reader.GetEntryByPartName(".INI", out, name));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(name, "unchanged");
}

TEST(SkinReader, ImageNamesFollowTheDefinitionsRules) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadContainer(BuildContainer(SampleEntries())));
  Bytes out;
  EXPECT_TRUE(FetchImageEntry(reader, "Sub\\Name.bmp", out));
  EXPECT_EQ(std::string(out.begin(), out.end()), "BMname");
  EXPECT_TRUE(FetchImageEntry(reader, "C:\\skins\\a.b\\FRAME.bmp", out));
  EXPECT_EQ(std::string(out.begin(), out.end()), "BMframe");
  EXPECT_TRUE(FetchImageEntry(reader, "D:name.bmp", out));
  // Refused names leave the output empty.
  for (std::string_view refused : {"Name.BMP", "name.Bmp", "name", "Sub\\", "name.bmp.txt", "",
                                   "Sub/name.bmp", "empty.bmp", "missing.bmp"}) {
    out = {1, 2};
    EXPECT_FALSE(FetchImageEntry(reader, refused, out)) << refused;
    EXPECT_TRUE(out.empty()) << refused;
  }
  EXPECT_EQ(ImageEntryName("a\\b:c.bmp"), "c.bmp");
  EXPECT_EQ(ImageEntryName(".bmp"), ".bmp");
}

TEST(SkinReader, DirectoryLinesEndWithCrLfOrABareCrOrLf) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadContainer(
      RawContainer(20000, "A.bmp\rb.bmp\nc.bmp\r\n\n\rd.bmp", {1, 1, 1, 0, 0, 1}, "abcd")));
  EXPECT_EQ(reader.Directory(),
            (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp", "", "", "d.bmp"}));
  EXPECT_EQ(Entry(reader, "d.bmp"), "d");
  EXPECT_EQ(reader.Header().reserved[0], 7);
  EXPECT_EQ(reader.Header().reserved[1], 9);
  EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
  EXPECT_EQ(SplitLines("\r\n"), std::vector<std::string>{""});
  EXPECT_EQ(AsciiLower("AbC\xC4.BMP"), "abc\xC4.bmp");
}

TEST(SkinReader, WrongFormatMarkShowsTheMessageAndLoadsNothing) {
  RecordingSkinReporter reporter;
  TSkinReader reader(reporter);
  ASSERT_TRUE(reader.LoadContainer(BuildContainer(SampleEntries())));
  EXPECT_FALSE(reader.LoadContainer(RawContainer(19999, "x.bmp\r\n", {1}, "x")));
  ASSERT_EQ(reporter.messages.size(), 1u);
  EXPECT_EQ(reporter.messages[0], "This is Older Skin File\rPlease update to new version !");
  // The earlier package stays.
  EXPECT_EQ(reader.EntryCount(), 5);
  EXPECT_EQ(Entry(reader, "x.bmp"), "");
  // An empty package has no mark either.
  EXPECT_FALSE(reader.Load(LzhCompress(Bytes{})));
  EXPECT_EQ(reporter.messages.size(), 2u);
  EXPECT_EQ(reader.EntryCount(), 5);
}

TEST(SkinReader, RefusesContainersThatDoNotHoldTogether) {
  struct Case {
    const char* what;
    Bytes container;
    const char* message_part;
  };
  const Case cases[] = {
      {"short header", Bytes{0x20, 0x4E, 0, 0, 5, 0}, "shorter than its 16-byte header"},
      {"directory past the end", RawContainer(20000, "a.bmp\r\n", {}, "", 500),
       "directory of 500 bytes"},
      {"negative directory length", RawContainer(20000, "", {}, "", int32_t(0x80000000)),
       "negative"},
      {"size table past the end", RawContainer(20000, "a\r\nb\r\nc\r\n", {1}, "abc"),
       "size table of 3 entries"},
      {"negative size", RawContainer(20000, "a\r\nb\r\n", {-1, 2}, "x"), "negative size (-1)"},
      {"sizes beyond the data", RawContainer(20000, "a\r\nb\r\n", {2, 2}, "abc"),
       "add up to 4 bytes but the container holds 3"},
      {"data beyond the sizes", RawContainer(20000, "a\r\nb\r\n", {1, 1}, "abc"),
       "add up to 2 bytes but the container holds 3"},
      {"sizes that overflow 32 bits",
       RawContainer(20000, "a\r\nb\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, "ab"), "add up to 4294967294"},
  };
  for (const Case& c : cases) {
    // Load checks the same against the length the stream states, before expanding it all.
    for (bool packed : {false, true}) {
      TSkinReader reader;
      try {
        packed ? reader.Load(LzhCompress(c.container)) : reader.LoadContainer(c.container);
        ADD_FAILURE() << c.what << ": no exception";
      } catch (const PackageError& e) {
        EXPECT_NE(std::string(e.what()).find(c.message_part), std::string::npos)
            << c.what << ": " << e.what();
      }
      EXPECT_EQ(reader.EntryCount(), 0) << c.what;
    }
  }
}

TEST(SkinReader, HoldsAtMost1001Entries) {
  std::string directory;
  for (int i = 0; i < 1002; ++i) directory += "e" + std::to_string(i) + ".bmp\r\n";
  const std::string first_1001 = directory.substr(0, directory.rfind("e1001"));
  TSkinReader reader;
  EXPECT_TRUE(
      reader.LoadContainer(RawContainer(20000, first_1001, std::vector<int32_t>(1001, 0), "")));
  EXPECT_EQ(reader.EntryCount(), 1001);
  EXPECT_THROW(
      reader.LoadContainer(RawContainer(20000, directory, std::vector<int32_t>(1002, 0), "")),
      PackageError);
  // A directory of a few million empty lines is refused without holding them all.
  EXPECT_THROW(reader.LoadContainer(RawContainer(20000, std::string(4 << 20, '\n'), {}, "")),
               PackageError);
  EXPECT_EQ(SplitLines("a\nb\nc", 2), (std::vector<std::string>{"a", "b"}));
}

TEST(SkinReader, ContainerEndsAtTheStatedLengthWhenTheLastMatchRunsOn) {
  const Bytes container = BuildContainer(std::vector<PackageEntry>{{"a.bmp", Bytes(20, 'x')}});
  // The entry's 20 bytes as one literal and a 25-byte match: 6 bytes past the length.
  reference_lzh::Encoder encoder;
  encoder.Begin(int32_t(container.size()));
  for (size_t i = 0; i + 20 < container.size(); ++i) encoder.Literal(container[i]);
  encoder.Literal('x');
  encoder.Match(25, 0);
  const Bytes package = encoder.Finish();
  ASSERT_EQ(LzhExpand(package).size(), container.size() + 6);
  TSkinReader reader;
  ASSERT_TRUE(reader.Load(package));
  EXPECT_EQ(Entry(reader, "a.bmp"), std::string(20, 'x'));
}

TEST(SkinReader, CodecErrorsPassToTheCaller) {
  TSkinReader reader;
  EXPECT_THROW(reader.Load(Bytes{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3}), ElzhException);
}

}  // namespace
}  // namespace skin
