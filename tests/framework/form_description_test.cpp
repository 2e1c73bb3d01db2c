// The description text format: parsing, writing and round trips, and errors for bad input.
#include "framework/form_description.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using fw::FormValue;

TEST(FormDescription, ParsesNestedObjectsWithTypedValues) {
  const fw::FormObject o = fw::ParseFormDescription(R"(// the calculator's window
object Form1: TForm1
  Left = 409
  Color = -16777201
  Mask = $FF00000F
  BorderStyle = bsSingle
  Font.Name = 'MS Sans Serif'
  Caption = u'阶乘'#65281'x'
  Empty = ''
  Bytes = 'a'#0#255
  BorderIcons = [biSystemMenu, biMinimize]
  NoIcons = []
  Lines = ( 'a'
            u'b' '' )
  Blob = { 00 01 fe
           FF }
  object Button1: TButton
    OnClick = Button1Click
  end
  object Panel1: TPanel
    object Inner: TLabel
    end
  end
end)");
  EXPECT_EQ(o.name, "Form1");
  EXPECT_EQ(o.class_name, "TForm1");
  EXPECT_EQ(o.line, 2);
  ASSERT_EQ(o.properties.size(), 12u);
  EXPECT_EQ(o.FindProperty("Left")->value, FormValue::Integer(409));
  EXPECT_EQ(o.FindProperty("Color")->value, FormValue::Integer(-16777201));
  EXPECT_EQ(o.FindProperty("Mask")->value, FormValue::Integer(0xFF00000F));
  EXPECT_EQ(o.FindProperty("BorderStyle")->value, FormValue::Ident("bsSingle"));
  EXPECT_EQ(o.FindProperty("Font.Name")->value, FormValue::String("MS Sans Serif"));
  EXPECT_EQ(o.FindProperty("Caption")->value, FormValue::WideString(u"\u9636\u4E58\uFF01x"));
  EXPECT_EQ(o.FindProperty("Empty")->value, FormValue::String(""));
  EXPECT_EQ(o.FindProperty("Bytes")->value, FormValue::String(std::string("a\0\xFF", 3)));
  EXPECT_EQ(o.FindProperty("BorderIcons")->value, FormValue::Set({"biSystemMenu", "biMinimize"}));
  EXPECT_EQ(o.FindProperty("NoIcons")->value, FormValue::Set({}));
  EXPECT_EQ(o.FindProperty("Lines")->value,
            FormValue::List(
                {FormValue::String("a"), FormValue::WideString(u"b"), FormValue::String("")}));
  EXPECT_EQ(o.FindProperty("Blob")->value, FormValue::Binary({0, 1, 0xFE, 0xFF}));
  EXPECT_EQ(o.FindProperty("Blob")->line, 15);
  ASSERT_EQ(o.children.size(), 2u);
  EXPECT_EQ(o.children[0].FindProperty("OnClick")->value, FormValue::Ident("Button1Click"));
  EXPECT_EQ(o.children[0].line, 17);
  ASSERT_EQ(o.children[1].children.size(), 1u);
  EXPECT_EQ(o.children[1].children[0].class_name, "TLabel");
}

TEST(FormDescription, WriterRoundTripsEveryKindExactly) {
  fw::FormObject o;
  o.name = "Root";
  o.class_name = "TRoot";
  std::u16string all_units;
  for (char16_t u : {u'\0', u'\t', u'\'', u'A', u'\x7F', u'\xA0', u'\u9636', char16_t(0xD800),
                     char16_t(0xDC00), u'\uFFFF'})
    all_units.push_back(u);
  std::string all_bytes;
  for (int b = 0; b < 256; ++b) all_bytes.push_back(static_cast<char>(b));
  o.properties = {
      {"Int", FormValue::Integer(-2147483648LL), 0},
      {"Big", FormValue::Integer(4294967295LL), 0},
      {"Id", FormValue::Ident("True"), 0},
      {"S", FormValue::String(all_bytes), 0},
      {"W", FormValue::WideString(all_units), 0},
      {"EmptyW", FormValue::WideString(u""), 0},
      {"Set", FormValue::Set({"a", "b"}), 0},
      {"List", FormValue::List({FormValue::String("x'y"), FormValue::WideString(u"\u4E58")}), 0},
      {"EmptyList", FormValue::List({}), 0},
      {"Bin", FormValue::Binary(std::vector<uint8_t>(70, 0xAB)), 0},
      {"NoBytes", FormValue::Binary({}), 0},
      {"Font.Height", FormValue::Integer(-15), 0},
  };
  fw::FormObject child;
  child.name = "C";
  child.class_name = "TC";
  o.children.push_back(child);
  const std::string text = fw::WriteFormDescription(o);
  EXPECT_EQ(fw::ParseFormDescription(text), o) << text;
  // The written text is readable: printable characters stay in quotes.
  EXPECT_THAT(text, testing::HasSubstr("W = u#0#9'''A'#127'\u00A0\u9636'#55296#56320'\uFFFF'"));
}

TEST(FormDescription, Utf8ConversionRejectsMalformedInput) {
  EXPECT_EQ(fw::Utf16FromUtf8("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(fw::Utf8FromUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");
  for (const char* bad :
       {"\x80", "\xC3", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB9"}) {
    EXPECT_THROW(fw::Utf16FromUtf8(bad), std::invalid_argument) << bad;
  }
}

struct BadText {
  const char* text;
  int line;
  const char* message;
};

TEST(FormDescription, BadInputGivesTheLineAndReason) {
  const BadText cases[] = {
      {"", 1, "expected 'object'"},
      {"thing A: B end", 1, "expected 'object', found 'thing'"},
      {"object A B\nend", 1, "expected ':' after the object name"},
      {"object A: B\n  X = 1\n", 3, "missing 'end' of object 'A'"},
      {"object A: B\n  X 1\nend", 2, "expected '=' after property 'X'"},
      {"object A: B\n  X =\nend", 3, "missing 'end'"},  // 'end' is taken as the value
      {"object A: B\n  X = ;\nend", 2, "unexpected character ';' in value"},
      {"object A: B\n  X = 'abc\nend", 2, "unterminated string"},
      {"object A: B\n  X = #300\nend", 2, "above 255"},
      {"object A: B\n  X = u#70000\nend", 2, "above 65535"},
      {"object A: B\n  X = u'\xC3'\nend", 2, "wide string: truncated UTF-8"},
      {"object A: B\n  X = 99999999999\nend", 2, "integer out of range"},
      {"object A: B\n  X = -2147483649\nend", 2, "integer out of range"},
      {"object A: B\n  X = $100000000\nend", 2, "integer out of range"},
      {"object A: B\n  X = 12ab\nend", 2, "unexpected character after number"},
      {"object A: B\n  X = -\nend", 2, "expected digits"},
      {"object A: B\n  X = [a b]\nend", 2, "expected ',' or ']'"},
      {"object A: B\n  X = ( 1 )\nend", 2, "list items must be strings"},
      {"object A: B\n  X = ( 'a'\nend", 3, "list items must be strings"},
      {"object A: B\n  X = { 0 }\nend", 2, "odd number of hex digits"},
      {"object A: B\n  X = { 0g }\nend", 2, "unexpected character 'g' in binary block"},
      {"object A: B\n  X = { 00", 2, "missing '}'"},
      {"object A: B\n  X. = 1\nend", 2, "expected a name after '.'"},
      {"object A: B\nend\nobject C: D\nend", 3, "unexpected text after the final 'end'"},
  };
  for (const auto& c : cases) {
    try {
      fw::ParseFormDescription(c.text);
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const fw::FormDescriptionError& e) {
      EXPECT_EQ(e.Line(), c.line) << c.text << " -> " << e.what();
      EXPECT_THAT(e.what(), testing::HasSubstr(c.message)) << c.text;
      EXPECT_THAT(e.what(), testing::StartsWith("line " + std::to_string(c.line) + ": "));
    }
  }
}

TEST(FormDescription, DeepNestingIsRefusedNotOverflowed) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "object A: B\n";
  EXPECT_THROW(fw::ParseFormDescription(text), fw::FormDescriptionError);
  std::string ok;
  for (int i = 0; i < fw::kMaxFormNesting; ++i) ok += "object A: B\n";
  for (int i = 0; i < fw::kMaxFormNesting; ++i) ok += "end\n";
  EXPECT_NO_THROW(fw::ParseFormDescription(ok));
}

}  // namespace
