#pragma once
// How the skin engine tells the user about a problem. The engine reports only one thing,
// a package of the wrong format; the Windows side shows it in a message box, the tool
// prints it, tests record it.
#include <string>
#include <string_view>
#include <vector>

namespace skin {

class SkinReporter {
 public:
  virtual ~SkinReporter() = default;
  virtual void ShowMessage(std::string_view text) = 0;
};

// Discards every message; what the engine uses when nobody listens.
class NullSkinReporter final : public SkinReporter {
 public:
  void ShowMessage(std::string_view) override {}
};

// Keeps every message in order.
class RecordingSkinReporter final : public SkinReporter {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::vector<std::string> messages;
};

// The process-wide do-nothing reporter.
inline SkinReporter& DefaultSkinReporter() {
  static NullSkinReporter reporter;
  return reporter;
}

}  // namespace skin
