#pragma once
// Components that report a given class name over a real framework base, for tests of the
// classification: TFake<"TPageControl", TFake<"TCustomTabControl", fw::TWinControl>> is a
// plain framework window whose class ancestry reads TPageControl, TCustomTabControl,
// TWinControl, ... as a real page control's would.
#include <algorithm>
#include <cstddef>

#include "framework/component.h"

namespace skin {

template <size_t N>
struct FakeName {
  char text[N];
  constexpr FakeName(const char (&s)[N]) { std::copy_n(s, N, text); }  // NOLINT: implicit
};

template <FakeName Name, class Base>
class TFake : public Base {
 public:
  explicit TFake(fw::TComponent* owner) : Base(owner) {}
  static const fw::TClassInfo& StaticClassInfo() {
    static const fw::TClassInfo info(Name.text, &Base::StaticClassInfo(), nullptr);
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

}  // namespace skin
