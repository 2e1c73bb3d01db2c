#pragma once
// TStringList: an ordered list of 8-bit strings, with the whole list as one text of
// CR LF separated lines.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/object.h"

namespace fw {

class TStringList : public TPersistent {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> lines) : lines_(lines) {}
  TStringList(const TStringList& other) : TPersistent(), lines_(other.lines_) {}
  TStringList& operator=(const TStringList& other) {
    Assign(other);
    return *this;
  }

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int index) const { return lines_.at(static_cast<size_t>(index)); }
  const std::string& Strings(int index) const { return (*this)[index]; }
  void SetStrings(int index, std::string line);
  const std::vector<std::string>& Lines() const { return lines_; }

  int Add(std::string line);
  void Insert(int index, std::string line);
  void Delete(int index);
  void Clear();
  void Assign(const TStringList& other);
  // Index of the first line equal to text ignoring ASCII case, or -1.
  int IndexOf(std::string_view text) const;

  // Lines joined with CR LF, each line terminated (an empty list gives "").
  std::string Text() const;
  // Splits at CR LF, LF or CR; a final line break does not add an empty line.
  void SetText(std::string_view text);

  // Called after every change.
  std::function<void()> OnChange;

  friend bool operator==(const TStringList& a, const TStringList& b) {
    return a.lines_ == b.lines_;
  }

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<std::string> lines_;
};

}  // namespace fw
