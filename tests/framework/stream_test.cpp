// Memory streams (bounded reads for stored byte blocks) and string lists.
#include "framework/stream.h"
#include "framework/string_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

TEST(MemoryStream, ReadsAreBoundedByTheData) {
  fw::TMemoryStream s(std::vector<uint8_t>{0x01, 0x00, 0x00, 0x80, 0xAA});
  EXPECT_EQ(s.ReadInt32(), static_cast<int32_t>(0x80000001));
  EXPECT_EQ(s.Remaining(), 1);
  uint8_t buffer[4] = {};
  EXPECT_THROW(s.ReadBuffer(buffer, 2), fw::EReadError);  // never a partial read of a field
  EXPECT_EQ(s.Read(buffer, 4), 1u);
  EXPECT_EQ(buffer[0], 0xAA);
  EXPECT_EQ(s.Read(buffer, 4), 0u);
  // Seeking is clamped to the data.
  EXPECT_EQ(s.Seek(-10, fw::TSeekOrigin::soCurrent), 0);
  EXPECT_EQ(s.Seek(100, fw::TSeekOrigin::soBeginning), 5);
  EXPECT_EQ(s.Seek(-1, fw::TSeekOrigin::soEnd), 4);
}

TEST(MemoryStream, WritesGrowAndCopyChecksTheSourceLength) {
  fw::TMemoryStream s;
  s.WriteInt32(-2);
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
  s.SetPosition(2);
  const uint8_t more[] = {1, 2, 3};
  s.WriteBuffer(more, 3);
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{0xFE, 0xFF, 1, 2, 3}));

  fw::TMemoryStream source(std::vector<uint8_t>{9, 8, 7});
  fw::TMemoryStream target;
  source.SetPosition(1);
  EXPECT_THROW(target.CopyFrom(source, 3), fw::EReadError);  // only 2 left
  EXPECT_EQ(target.CopyFrom(source, 2), 2);
  EXPECT_EQ(target.Bytes(), (std::vector<uint8_t>{8, 7}));
  EXPECT_EQ(target.CopyFrom(source, 0), 3);  // 0: the whole source from its start
  EXPECT_EQ(target.Size(), 5);
  target.SetSize(1);
  EXPECT_EQ(target.Position(), 1);
}

TEST(StringList, TextSplitsAtEveryKindOfLineBreak) {
  fw::TStringList list;
  list.SetText("a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_THAT(list.Lines(), testing::ElementsAre("a", "b", "c", "d", "", "e"));
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
  list.SetText("x\r\n");
  EXPECT_EQ(list.Count(), 1);
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
}

TEST(StringList, EditingAndLookupIgnoringCase) {
  int changes = 0;
  fw::TStringList list{"TTBDock=Panel", "TRzButton=button"};
  list.OnChange = [&] { ++changes; };
  EXPECT_EQ(list.IndexOf("trzbutton=BUTTON"), 1);
  EXPECT_EQ(list.IndexOf("TRzButton"), -1);
  list.Insert(0, "first");
  list.Delete(2);
  list.Add("last");
  EXPECT_THAT(list.Lines(), testing::ElementsAre("first", "TTBDock=Panel", "last"));
  EXPECT_EQ(changes, 3);
  EXPECT_THROW(list.Delete(3), std::out_of_range);
  EXPECT_THROW(list.Insert(5, "x"), std::out_of_range);
  fw::TStringList copy;
  copy.Assign(list);
  EXPECT_EQ(copy, list);
}

}  // namespace
