// The package writer's container layout, byte by byte, and the names it refuses.
#include "skin/store/package_writer.h"

#include <gtest/gtest.h>

#include "skin/store/skin_reader.h"

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(PackageWriter, ContainerLayout) {
  const std::vector<PackageEntry> entries = {{"A.ini", {'x', '='}}, {"b.bmp", {'B', 'M', 1}}};
  const Bytes expected = {0x20, 0x4E, 0,    0,                        // format mark 20000
                          14,   0,    0,    0,                        // directory length
                          0,    0,    0,    0,   0,   0,    0,    0,  // unused values
                          'A',  '.',  'i',  'n', 'i', '\r', '\n', 'b', '.', 'b', 'm',
                          'p',  '\r', '\n', 2,   0,   0,    0,    3,   0,   0,   0,  // sizes
                          'x',  '=',  'B',  'M', 1};                                 // data
  EXPECT_EQ(BuildContainer(entries), expected);
  EXPECT_EQ(LzhExpand(WritePackage(entries)), expected);
  EXPECT_EQ(BuildContainer({}), (Bytes{0x20, 0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PackageWriter, RefusesNamesAndCountsTheReaderCannotTakeBack) {
  EXPECT_THROW(BuildContainer(std::vector<PackageEntry>{{"", {}}}), PackageError);
  EXPECT_THROW(BuildContainer(std::vector<PackageEntry>{{"a\r.bmp", {}}}), PackageError);
  EXPECT_THROW(BuildContainer(std::vector<PackageEntry>{{"a.bmp\n", {}}}), PackageError);
  std::vector<PackageEntry> many(1001, PackageEntry{"e.bmp", {}});
  EXPECT_NO_THROW(BuildContainer(many));
  many.push_back({"f.bmp", {}});
  EXPECT_THROW(BuildContainer(many), PackageError);
}

}  // namespace
}  // namespace skin
