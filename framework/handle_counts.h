#pragma once
// Live counts of the GDI and USER objects the program holds, per kind. The owning
// wrappers (scoped_handle.h, window_subclass.h) count what they create and free; tests
// take a snapshot before a long run and compare it with one taken after.
#include <array>
#include <string>

namespace fw {

enum class HandleKind : int {
  Bitmap,
  Brush,
  Pen,
  Font,
  Region,
  MemoryDc,
  WindowDc,  // GetDC, GetWindowDC, GetDCEx
  Hook,
  Icon,
  Menu,
  ImageList,
  Window,
  Timer,
  Subclass,  // a replaced window procedure not yet given back
  Count
};

inline constexpr int kHandleKindCount = static_cast<int>(HandleKind::Count);

const char* HandleKindName(HandleKind kind);

void CountHandle(HandleKind kind, int delta);
long LiveHandles(HandleKind kind);

struct HandleSnapshot {
  std::array<long, kHandleKindCount> live{};
  bool operator==(const HandleSnapshot&) const = default;
  // "Bitmap +2, Timer -1" for the kinds that differ from `before`; empty when equal.
  std::string DifferenceFrom(const HandleSnapshot& before) const;
};

HandleSnapshot LiveHandleSnapshot();

}  // namespace fw
