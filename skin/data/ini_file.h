#pragma once
// The skin definition's INI text, read straight from memory with the lookup rules of the
// Windows private-profile functions, which skins have always been written against:
//
// - Lines end with CR LF, LF or CR. A UTF-8 byte-order mark at the start is skipped.
// - "[name]" starts a section; the name is the text up to the first "]", trimmed. A line
//   starting with "[" but without "]" is ignored. Lines before the first section belong to
//   no section and are never found.
// - "key=value" lines: key and value are trimmed of blanks (spaces, tabs). A value enclosed
//   in one pair of matching quotes (" or ') loses them. A value longer than
//   kMaxValueLength characters is cut there (the private-profile 2,048-byte buffer).
// - A line whose first non-blank character is ";" is a comment. A ";" later in a line is
//   part of the value (the private-profile functions have no trailing comments).
// - A line without "=" (and not a section) is ignored; an empty key name is ignored.
// - Section and key names compare without regard to ASCII case. The first of two equal
//   sections wins, and only its keys are seen (keys of a later duplicate are not merged);
//   within a section the first of two equal keys wins.
// - SectionNames() lists the sections in file order, duplicates included, as far as they
//   fit the 16,384-byte section-name buffer (each name plus its terminating zero, and a
//   final zero); names that do not fit are left out whole rather than cut.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace skin {

class IniFile {
 public:
  static constexpr size_t kMaxValueLength = 2047;
  static constexpr size_t kSectionListBytes = 16384;

  IniFile() = default;
  explicit IniFile(std::string_view text) { Parse(text); }

  // Replaces the content with the parsed text.
  void Parse(std::string_view text);

  bool SectionExists(std::string_view section) const;
  // The value of a key, or nothing when the section or the key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // The value, or `default_value` when the key is missing (an empty value stays empty).
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value = {}) const;
  // The value as an integer (see ParseInteger), or `default_value` when the key is missing
  // or its value is not an integer.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;

  const std::vector<std::string>& SectionNames() const { return section_names_; }

  // Integer text as the definition gives it: decimal with an optional sign (within the
  // 32-bit range), or hexadecimal after "$" (optionally signed, at most 8 digits, taken as
  // 32 bits, so "$FFFFFFFF" is -1), or after "0x"/"0X" when the text is longer than two
  // characters. Anything else (blanks, fractions, trailing text) is not an integer.
  static std::optional<int32_t> ParseInteger(std::string_view text);

 private:
  // Names hashed and compared without regard to ASCII case, so that a lookup takes the
  // caller's text as it is, without an upper-cased copy.
  struct NoCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
  };
  struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  template <typename Value>
  using NameMap = std::unordered_map<std::string, Value, NoCaseHash, NoCaseEqual>;

  struct Section {
    NameMap<std::string> values;  // key as written -> value
  };
  // The value of a key, or null.
  const std::string* Lookup(std::string_view section, std::string_view key) const;

  std::vector<Section> sections_;
  NameMap<size_t> section_index_;  // name as written -> the first section of that name
  std::vector<std::string> section_names_;
};

// ASCII upper-casing, as used for every name comparison of the definition.
std::string UpperAscii(std::string_view text);

}  // namespace skin
