#pragma once
// Pixel lengths taken from one resolution (dots per inch) to another, without a window.
namespace fw {

// The resolution layouts are designed at (100 %).
inline constexpr int kDesignDpi = 96;

// value * to_dpi / from_dpi, rounded to the nearest pixel (halves away from zero), as
// MulDiv rounds. A from_dpi of 0 or below leaves the value.
constexpr int ScaleForDpi(int value, int to_dpi, int from_dpi) {
  if (from_dpi <= 0 || to_dpi == from_dpi) return value;
  const long long product = static_cast<long long>(value) * to_dpi;
  const long long half = from_dpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / from_dpi
                                       : -((-product + half) / from_dpi));
}

// A length that follows resolution changes without drifting: every change scales the value
// it had at the resolution it was last set at, not the result of the change before, so
// changes back and forth end where they began. A value someone else changed since the last
// scaling is taken as the new starting point, at the resolution it is at now.
class DpiLength {
 public:
  int Rescale(int current, int from_dpi, int to_dpi) {
    if (!scaled_ || current != last_) {
      reference_ = current;
      reference_dpi_ = from_dpi;
      scaled_ = true;
    }
    last_ = ScaleForDpi(reference_, to_dpi, reference_dpi_);
    return last_;
  }

 private:
  bool scaled_ = false;
  int reference_ = 0, reference_dpi_ = kDesignDpi, last_ = 0;
};

}  // namespace fw
