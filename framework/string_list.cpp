#include "framework/string_list.h"

#include <stdexcept>

#include "framework/same_text.h"

namespace fw {

void TStringList::SetStrings(int index, std::string line) {
  lines_.at(static_cast<size_t>(index)) = std::move(line);
  Changed();
}

int TStringList::Add(std::string line) {
  lines_.push_back(std::move(line));
  Changed();
  return Count() - 1;
}

void TStringList::Insert(int index, std::string line) {
  if (index < 0 || index > Count()) throw std::out_of_range("TStringList::Insert index");
  lines_.insert(lines_.begin() + index, std::move(line));
  Changed();
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("TStringList::Delete index");
  lines_.erase(lines_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  lines_.clear();
  Changed();
}

void TStringList::Assign(const TStringList& other) {
  if (&other == this) return;
  lines_ = other.lines_;
  Changed();
}

int TStringList::IndexOf(std::string_view text) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (SameText(lines_[i], text)) return static_cast<int>(i);
  }
  return -1;
}

std::string TStringList::Text() const {
  std::string text;
  for (const auto& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TStringList::SetText(std::string_view text) {
  lines_.clear();
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines_.emplace_back(text.substr(start));
      break;
    }
    lines_.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  Changed();
}

}  // namespace fw
