#include "framework/form_description.h"

#include <cctype>
#include <limits>

#include "framework/same_text.h"

namespace fw {

FormDescriptionError::FormDescriptionError(int line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}

FormValue FormValue::Integer(int64_t v) {
  FormValue value;
  value.kind = Kind::kInteger;
  value.integer = v;
  return value;
}
FormValue FormValue::Ident(std::string name) {
  FormValue value;
  value.kind = Kind::kIdent;
  value.text = std::move(name);
  return value;
}
FormValue FormValue::String(std::string bytes) {
  FormValue value;
  value.kind = Kind::kString;
  value.text = std::move(bytes);
  return value;
}
FormValue FormValue::WideString(std::u16string text) {
  FormValue value;
  value.kind = Kind::kWideString;
  value.wide = std::move(text);
  return value;
}
FormValue FormValue::Set(std::vector<std::string> members) {
  FormValue value;
  value.kind = Kind::kSet;
  value.set = std::move(members);
  return value;
}
FormValue FormValue::List(std::vector<FormValue> items) {
  FormValue value;
  value.kind = Kind::kList;
  value.list = std::move(items);
  return value;
}
FormValue FormValue::Binary(std::vector<uint8_t> bytes) {
  FormValue value;
  value.kind = Kind::kBinary;
  value.bytes = std::move(bytes);
  return value;
}

const char* FormValue::KindName(Kind kind) {
  switch (kind) {
    case Kind::kInteger:
      return "an integer";
    case Kind::kIdent:
      return "an identifier";
    case Kind::kString:
      return "a string";
    case Kind::kWideString:
      return "a wide string";
    case Kind::kSet:
      return "a set";
    case Kind::kList:
      return "a list";
    case Kind::kBinary:
      return "a binary block";
  }
  return "a value";
}

bool operator==(const FormValue& a, const FormValue& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case FormValue::Kind::kInteger:
      return a.integer == b.integer;
    case FormValue::Kind::kIdent:
    case FormValue::Kind::kString:
      return a.text == b.text;
    case FormValue::Kind::kWideString:
      return a.wide == b.wide;
    case FormValue::Kind::kSet:
      return a.set == b.set;
    case FormValue::Kind::kList:
      return a.list == b.list;
    case FormValue::Kind::kBinary:
      return a.bytes == b.bytes;
  }
  return false;
}

const FormProperty* FormObject::FindProperty(std::string_view property_name) const {
  for (const auto& p : properties) {
    if (p.name == property_name) return &p;
  }
  return nullptr;
}

bool operator==(const FormObject& a, const FormObject& b) {
  if (a.name != b.name || a.class_name != b.class_name) return false;
  if (a.properties.size() != b.properties.size() || a.children != b.children) return false;
  for (size_t i = 0; i < a.properties.size(); ++i) {
    if (a.properties[i].name != b.properties[i].name) return false;
    if (!(a.properties[i].value == b.properties[i].value)) return false;
  }
  return true;
}

// ---- UTF-8 / UTF-16 ---------------------------------------------------------------------

std::u16string Utf16FromUtf8(std::string_view s) {
  std::u16string out;
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    uint32_t cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      throw std::invalid_argument("invalid UTF-8 lead byte");
    }
    if (i + static_cast<size_t>(extra) >= s.size() && extra > 0)
      throw std::invalid_argument("truncated UTF-8 sequence");
    for (int k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) throw std::invalid_argument("invalid UTF-8 continuation byte");
      cp = (cp << 6) | (cc & 0x3F);
    }
    static constexpr uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      throw std::invalid_argument("invalid UTF-8 code point");
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += extra + 1;
  }
  return out;
}

static void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Utf8FromUtf16(std::u16string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    AppendUtf8(out, cp);
  }
  return out;
}

// ---- parser -----------------------------------------------------------------------------

namespace {

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  FormObject ParseRoot() {
    SkipBlanks();
    FormObject root = ParseObject(1);
    SkipBlanks();
    if (!AtEnd()) Fail("unexpected text after the final 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw FormDescriptionError(line_, what); }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  void Advance() {
    if (text_[pos_] == '\n') ++line_;
    ++pos_;
  }

  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = Peek();
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Advance();
      } else if (c == '/' && Peek(1) == '/') {
        while (!AtEnd() && Peek() != '\n') Advance();
      } else {
        break;
      }
    }
  }

  std::string ReadIdent(const char* what) {
    SkipBlanks();
    if (AtEnd() || !IsIdentStart(Peek())) Fail(std::string("expected ") + what);
    const size_t start = pos_;
    while (!AtEnd() && IsIdentChar(Peek())) Advance();
    return std::string(text_.substr(start, pos_ - start));
  }

  // A property name: identifiers joined by dots.
  std::string ReadPropertyName(std::string first) {
    std::string name = std::move(first);
    while (Peek() == '.') {
      Advance();
      if (!IsIdentStart(Peek())) Fail("expected a name after '.' in property '" + name + "'");
      name += '.';
      name += ReadIdent("a property name");
    }
    return name;
  }

  void Expect(char c, const std::string& context) {
    SkipBlanks();
    if (Peek() != c) Fail(std::string("expected '") + c + "' " + context);
    Advance();
  }

  FormObject ParseObject(int depth) {
    if (depth > kMaxFormNesting) Fail("objects nested too deeply");
    FormObject object;
    object.line = line_;
    const std::string keyword = ReadIdent("'object'");
    if (!SameText(keyword, "object")) Fail("expected 'object', found '" + keyword + "'");
    object.name = ReadIdent("an object name");
    Expect(':', "after the object name");
    object.class_name = ReadIdent("a class name");
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail("missing 'end' of object '" + object.name + "'");
      const int line = line_;
      const std::string word = ReadIdent("a property, 'object' or 'end'");
      if (SameText(word, "end")) break;
      if (SameText(word, "object")) {
        pos_ -= word.size();
        object.children.push_back(ParseObject(depth + 1));
        continue;
      }
      FormProperty property;
      property.line = line;
      property.name = ReadPropertyName(word);
      Expect('=', "after property '" + property.name + "'");
      property.value = ParseValue();
      object.properties.push_back(std::move(property));
    }
    return object;
  }

  FormValue ParseValue() {
    SkipBlanks();
    const int line = line_;
    FormValue value;
    const char c = Peek();
    if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      value = FormValue::Integer(ParseInteger());
    } else if ((c == 'u' || c == 'U') && (Peek(1) == '\'' || Peek(1) == '#')) {
      Advance();
      value = ParseString(true);
    } else if (c == '\'' || c == '#') {
      value = ParseString(false);
    } else if (IsIdentStart(c)) {
      value = FormValue::Ident(ReadPropertyName(ReadIdent("a value")));
    } else if (c == '[') {
      value = ParseSet();
    } else if (c == '(') {
      value = ParseList();
    } else if (c == '{') {
      value = ParseBinary();
    } else {
      Fail(AtEnd() ? std::string("missing value")
                   : std::string("unexpected character '") + c + "' in value");
    }
    value.line = line;
    return value;
  }

  int64_t ParseInteger() {
    bool negative = false;
    if (Peek() == '-') {
      negative = true;
      Advance();
    }
    // Values are 32-bit: signed from -2^31, unsigned up to 2^32-1 (colours, bit sets).
    constexpr int64_t kMax = std::numeric_limits<uint32_t>::max();
    int64_t v = 0;
    int digits = 0;
    if (Peek() == '$') {
      Advance();
      while (HexDigit(Peek()) >= 0) {
        v = v * 16 + HexDigit(Peek());
        if (v > kMax) Fail("integer out of range");
        Advance();
        ++digits;
      }
    } else {
      while (std::isdigit(static_cast<unsigned char>(Peek()))) {
        v = v * 10 + (Peek() - '0');
        if (v > kMax) Fail("integer out of range");
        Advance();
        ++digits;
      }
    }
    if (digits == 0) Fail("expected digits");
    if (IsIdentChar(Peek())) Fail("unexpected character after number");
    if (negative) {
      v = -v;
      if (v < std::numeric_limits<int32_t>::min()) Fail("integer out of range");
    }
    return v;
  }

  // One string literal: quoted parts and #N codes, adjacent without blanks (as '...'#13#10'...').
  FormValue ParseString(bool wide) {
    std::string bytes;
    std::u16string units;
    bool any = false;
    for (;;) {
      if (Peek() == '\'') {
        Advance();
        std::string part;
        for (;;) {
          if (AtEnd() || Peek() == '\n') Fail("unterminated string");
          if (Peek() == '\'') {
            Advance();
            if (Peek() != '\'') break;
          }
          part.push_back(Peek());
          Advance();
        }
        if (wide) {
          try {
            units += Utf16FromUtf8(part);
          } catch (const std::invalid_argument& e) {
            Fail(std::string("wide string: ") + e.what());
          }
        } else {
          bytes += part;
        }
        any = true;
      } else if (Peek() == '#') {
        Advance();
        uint32_t code = 0;
        int digits = 0;
        while (std::isdigit(static_cast<unsigned char>(Peek()))) {
          code = code * 10 + static_cast<uint32_t>(Peek() - '0');
          if (code > 0xFFFF) Fail("character code above 65535");
          Advance();
          ++digits;
        }
        if (digits == 0) Fail("expected a character code after '#'");
        if (wide) {
          units.push_back(static_cast<char16_t>(code));
        } else {
          if (code > 0xFF) Fail("character code above 255 in an 8-bit string (use u'...')");
          bytes.push_back(static_cast<char>(code));
        }
        any = true;
      } else {
        break;
      }
    }
    if (!any) Fail("expected a string");
    return wide ? FormValue::WideString(std::move(units)) : FormValue::String(std::move(bytes));
  }

  FormValue ParseSet() {
    Advance();  // '['
    std::vector<std::string> members;
    SkipBlanks();
    if (Peek() == ']') {
      Advance();
      return FormValue::Set(std::move(members));
    }
    for (;;) {
      members.push_back(ReadIdent("a set member"));
      SkipBlanks();
      if (Peek() == ',') {
        Advance();
        continue;
      }
      if (Peek() == ']') {
        Advance();
        break;
      }
      Fail("expected ',' or ']' in set");
    }
    return FormValue::Set(std::move(members));
  }

  FormValue ParseList() {
    Advance();  // '('
    std::vector<FormValue> items;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail("missing ')' of list");
      if (Peek() == ')') {
        Advance();
        break;
      }
      const int line = line_;
      FormValue item;
      if ((Peek() == 'u' || Peek() == 'U') && (Peek(1) == '\'' || Peek(1) == '#')) {
        Advance();
        item = ParseString(true);
      } else if (Peek() == '\'' || Peek() == '#') {
        item = ParseString(false);
      } else {
        Fail("list items must be strings");
      }
      item.line = line;
      items.push_back(std::move(item));
    }
    return FormValue::List(std::move(items));
  }

  FormValue ParseBinary() {
    Advance();  // '{'
    std::vector<uint8_t> bytes;
    int high = -1;
    for (;;) {
      if (AtEnd()) Fail("missing '}' of binary block");
      const char c = Peek();
      if (c == '}') {
        Advance();
        break;
      }
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Advance();
        continue;
      }
      const int d = HexDigit(c);
      if (d < 0) Fail(std::string("unexpected character '") + c + "' in binary block");
      Advance();
      if (high < 0) {
        high = d;
      } else {
        bytes.push_back(static_cast<uint8_t>(high * 16 + d));
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hex digits in binary block");
    return FormValue::Binary(std::move(bytes));
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

// ---- writer -----------------------------------------------------------------------------

void WriteString8(std::string& out, const std::string& bytes) {
  bool quoted = false;
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F) {
      if (!quoted) out += '\'';
      quoted = true;
      if (c == '\'') out += '\'';
      out += static_cast<char>(c);
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#' + std::to_string(c);
    }
  }
  if (quoted) out += '\'';
  if (bytes.empty()) out += "''";
}

void WriteString16(std::string& out, const std::u16string& text) {
  out += 'u';
  bool quoted = false;
  for (const char16_t u : text) {
    // Printable characters stay readable (UTF-8 inside quotes); control codes and
    // surrogate halves are written as codes, which keeps every unit exactly.
    const bool printable = (u >= 0x20 && u < 0x7F) || (u >= 0xA0 && (u < 0xD800 || u > 0xDFFF));
    if (printable) {
      if (!quoted) out += '\'';
      quoted = true;
      if (u == '\'') out += '\'';
      AppendUtf8(out, u);
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#' + std::to_string(static_cast<unsigned>(u));
    }
  }
  if (quoted) out += '\'';
  if (text.empty()) out += "''";
}

void WriteValue(std::string& out, const FormValue& value, const std::string& indent) {
  switch (value.kind) {
    case FormValue::Kind::kInteger:
      out += std::to_string(value.integer);
      break;
    case FormValue::Kind::kIdent:
      out += value.text;
      break;
    case FormValue::Kind::kString:
      WriteString8(out, value.text);
      break;
    case FormValue::Kind::kWideString:
      WriteString16(out, value.wide);
      break;
    case FormValue::Kind::kSet:
      out += '[';
      for (size_t i = 0; i < value.set.size(); ++i) {
        if (i) out += ", ";
        out += value.set[i];
      }
      out += ']';
      break;
    case FormValue::Kind::kList:
      out += '(';
      for (const auto& item : value.list) {
        out += '\n' + indent + "  ";
        WriteValue(out, item, indent + "  ");
      }
      out += ')';
      break;
    case FormValue::Kind::kBinary: {
      static const char kHex[] = "0123456789ABCDEF";
      out += '{';
      for (size_t i = 0; i < value.bytes.size(); ++i) {
        if (i % 32 == 0) out += '\n' + indent + "  ";
        out += kHex[value.bytes[i] >> 4];
        out += kHex[value.bytes[i] & 15];
      }
      out += '}';
      break;
    }
  }
}

void WriteObject(std::string& out, const FormObject& object, const std::string& indent) {
  out += indent + "object " + object.name + ": " + object.class_name + '\n';
  const std::string inner = indent + "  ";
  for (const auto& p : object.properties) {
    out += inner + p.name + " = ";
    WriteValue(out, p.value, inner);
    out += '\n';
  }
  for (const auto& child : object.children) WriteObject(out, child, inner);
  out += indent + "end\n";
}

}  // namespace

FormObject ParseFormDescription(std::string_view text) { return Parser(text).ParseRoot(); }

std::string WriteFormDescription(const FormObject& object) {
  std::string out;
  WriteObject(out, object, "");
  return out;
}

}  // namespace fw
