#pragma once
// Stored form descriptions: a readable text of nested objects with typed property values,
// parsed into a tree (FormObject) and written back from one. The tree knows nothing of
// components; form_reader.h turns it into components and components into it.
//
//   object Form1: TForm1                  // an object: name, colon, class name
//     Left = 409                          // integer (decimal, or $hex; may be negative)
//     BorderStyle = bsSingle              // identifier (enumerations, True/False, colour names)
//     Font.Name = 'MS Sans Serif'         // 8-bit string: quoted parts ('' is a quote) and #N
//     Caption = u'阶乘'#33                 // UTF-16 string: u prefix, UTF-8 in quotes, #N units
//     BorderIcons = [biSystemMenu]        // set of identifiers
//     Skin3rd = ( 'TTBDock=Panel' 'TTBToolbar=Panel' )   // list of strings
//     SkinStream = { 00000000 }           // binary block: hex digit pairs, blanks allowed
//     object Button1: TButton
//     end
//   end
//
// Line comments start with //. Anything else is an error naming the line.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// A malformed description: the message starts with "line N: ".
class FormDescriptionError : public std::runtime_error {
 public:
  FormDescriptionError(int line, const std::string& what);
  int Line() const { return line_; }

 private:
  int line_;
};

struct FormValue {
  enum class Kind { kInteger, kIdent, kString, kWideString, kSet, kList, kBinary };

  Kind kind = Kind::kInteger;
  int64_t integer = 0;           // kInteger (within 32 bits, signed or unsigned)
  std::string text;              // kIdent, kString (8-bit bytes)
  std::u16string wide;           // kWideString
  std::vector<std::string> set;  // kSet: member names in written order
  std::vector<FormValue> list;   // kList: kString or kWideString items
  std::vector<uint8_t> bytes;    // kBinary
  int line = 0;                  // where the value was read (0 when built in code)

  static FormValue Integer(int64_t v);
  static FormValue Ident(std::string name);
  static FormValue String(std::string bytes);
  static FormValue WideString(std::u16string text);
  static FormValue Set(std::vector<std::string> members);
  static FormValue List(std::vector<FormValue> items);
  static FormValue Binary(std::vector<uint8_t> bytes);

  // "integer", "identifier", ... for error messages.
  static const char* KindName(Kind kind);
  friend bool operator==(const FormValue& a, const FormValue& b);
};

struct FormProperty {
  std::string name;  // may be dotted: "Font.Height"
  FormValue value;
  int line = 0;
};

struct FormObject {
  std::string name;
  std::string class_name;
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;
  int line = 0;

  const FormProperty* FindProperty(std::string_view property_name) const;
  friend bool operator==(const FormObject& a, const FormObject& b);
};

// Nesting deeper than this is refused (it bounds the parser's recursion).
inline constexpr int kMaxFormNesting = 64;

// Parses one top-level object; throws FormDescriptionError.
FormObject ParseFormDescription(std::string_view text);

// Writes the object so that ParseFormDescription gives it back (lines aside).
std::string WriteFormDescription(const FormObject& object);

// UTF-8 <-> UTF-16 for wide strings; invalid UTF-8 throws std::invalid_argument.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

}  // namespace fw
