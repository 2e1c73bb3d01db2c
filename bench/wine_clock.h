#pragma once
// Timing for the Windows benchmarks: the performance counter in milliseconds, and medians.
#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

inline LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace bench
