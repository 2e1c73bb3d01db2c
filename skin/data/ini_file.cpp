#include "skin/data/ini_file.h"

namespace skin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char UpperChar(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperChar(c);
  return out;
}

size_t IniFile::NoCaseHash::operator()(std::string_view name) const {
  uint64_t hash = 14695981039346656037u;  // FNV-1a
  for (const char c : name) hash = (hash ^ uint8_t(UpperChar(c))) * 1099511628211u;
  return size_t(hash);
}

bool IniFile::NoCaseEqual::operator()(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

void IniFile::Parse(std::string_view text) {
  sections_.clear();
  section_index_.clear();
  section_names_.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  size_t list_bytes = 1;  // the list's final zero
  Section* current = nullptr;
  while (!text.empty()) {
    // A plain scan: find_first_of looks each character up in the set of two.
    size_t end = 0;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::string_view line = text.substr(0, end);
    if (end == text.size()) {
      text = {};
    } else {
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      text.remove_prefix(end + (crlf ? 2 : 1));
    }
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      if (close == std::string_view::npos) continue;
      const std::string_view name = Trim(line.substr(1, close - 1));
      sections_.emplace_back();
      current = &sections_.back();
      section_index_.emplace(std::string(name), sections_.size() - 1);
      if (list_bytes + name.size() + 1 <= kSectionListBytes) {
        list_bytes += name.size() + 1;
        section_names_.emplace_back(name);
      } else {
        list_bytes = kSectionListBytes;  // later, shorter names must not slip in
      }
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || current == nullptr) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    if (key.empty()) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxValueLength) value = value.substr(0, kMaxValueLength);
    current->values.emplace(std::string(key), std::string(value));
  }
}

bool IniFile::SectionExists(std::string_view section) const {
  return section_index_.find(section) != section_index_.end();
}

const std::string* IniFile::Lookup(std::string_view section, std::string_view key) const {
  const auto s = section_index_.find(section);
  if (s == section_index_.end()) return nullptr;
  const auto& values = sections_[s->second].values;
  const auto v = values.find(key);
  return v == values.end() ? nullptr : &v->second;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  if (const std::string* v = Lookup(section, key)) return *v;
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view default_value) const {
  const std::string* v = Lookup(section, key);
  return v ? *v : std::string(default_value);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t default_value) const {
  const std::string* v = Lookup(section, key);
  if (!v) return default_value;
  return ParseInteger(*v).value_or(default_value);
}

std::optional<int32_t> IniFile::ParseInteger(std::string_view text) {
  std::string hex_form;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex_form = "$";
    hex_form += text.substr(2);
    text = hex_form;
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  if (text[0] == '$') {
    text.remove_prefix(1);
    while (text.size() > 1 && text[0] == '0') text.remove_prefix(1);
    if (text.empty() || text.size() > 8) return std::nullopt;
    uint32_t v = 0;
    for (char c : text) {
      int d;
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
      else
        return std::nullopt;
      v = v * 16 + uint32_t(d);
    }
    return int32_t(negative ? 0u - v : v);
  }
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > int64_t(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
  return int32_t(v);
}

}  // namespace skin
