#include "app/arithmetic.h"

#include <limits>

namespace calc {

// The quotients need a 64-bit mantissa; x87 long double (native x86-64 and MinGW i686) has it.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit extended type");

namespace {

// Rounds to a double through memory. On i686 the x87 unit otherwise keeps intermediate
// results at extended precision (GCC does not round on assignment there), which would change
// the step-by-step product and the final quotients.
double RoundToDouble(long double x) {
  volatile double rounded = static_cast<double>(x);
  return rounded;
}

}  // namespace

double Factorial(double x) {
  double result = 1.0;
  for (double i = 1.0; i <= x; i += 1.0)
    result = RoundToDouble(static_cast<long double>(result) * i);
  return result;
}

double Permutations(double n, double m) {
  const double a = Factorial(n);
  const double b = Factorial(n - m);
  return RoundToDouble(static_cast<long double>(a) / static_cast<long double>(b));
}

double Combinations(double n, double m) {
  const double a = Factorial(n);
  const long double q = static_cast<long double>(a) / static_cast<long double>(Factorial(n - m));
  return RoundToDouble(q / static_cast<long double>(Factorial(m)));
}

}  // namespace calc
