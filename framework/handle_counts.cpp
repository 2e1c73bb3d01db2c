#include "framework/handle_counts.h"

namespace fw {

namespace {
// The program has one GUI thread; the counts need no lock.
std::array<long, kHandleKindCount> live_counts{};
}  // namespace

const char* HandleKindName(HandleKind kind) {
  static const char* const names[kHandleKindCount] = {
      "Bitmap", "Brush", "Pen",  "Font",      "Region", "MemoryDc", "WindowDc",
      "Hook",   "Icon",  "Menu", "ImageList", "Window", "Timer",    "Subclass"};
  int i = static_cast<int>(kind);
  return i >= 0 && i < kHandleKindCount ? names[i] : "?";
}

void CountHandle(HandleKind kind, int delta) { live_counts[static_cast<int>(kind)] += delta; }

long LiveHandles(HandleKind kind) { return live_counts[static_cast<int>(kind)]; }

HandleSnapshot LiveHandleSnapshot() { return {live_counts}; }

std::string HandleSnapshot::DifferenceFrom(const HandleSnapshot& before) const {
  std::string text;
  for (int i = 0; i < kHandleKindCount; ++i) {
    long d = live[i] - before.live[i];
    if (d == 0) continue;
    if (!text.empty()) text += ", ";
    text += HandleKindName(static_cast<HandleKind>(i));
    text += d > 0 ? " +" : " ";
    text += std::to_string(d);
  }
  return text;
}

}  // namespace fw
