#pragma once
// How the skin engine tells the user about a problem. The engine shows only one thing, a
// package of the wrong format; the Windows side shows it in a message box, the tool prints
// it, tests record it. Its own faults (an exception caught where the engine's hooks and
// window procedures return to the system) are reported too, but never shown: they are
// logged, and tests record them.
#include <string>
#include <string_view>
#include <vector>

namespace skin {

class SkinReporter {
 public:
  virtual ~SkinReporter() = default;
  virtual void ShowMessage(std::string_view text) = 0;
  // `where` names the boundary that caught it, `what` the exception's text.
  virtual void ReportFault(std::string_view /*where*/, std::string_view /*what*/) {}
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
  void ReportFault(std::string_view where, std::string_view what) override {
    faults.push_back(std::string(where) + ": " + std::string(what));
  }
  std::vector<std::string> messages;
  std::vector<std::string> faults;
};

// The process-wide do-nothing reporter.
inline SkinReporter& DefaultSkinReporter() {
  static NullSkinReporter reporter;
  return reporter;
}

}  // namespace skin
