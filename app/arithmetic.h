// The calculator's arithmetic: factorials, permutations and combinations of doubles.
#pragma once

namespace calc {

// Product 1 * 2 * ... * floor(x), each step rounded to a double; 1 for any x below 1.
double Factorial(double x);

// P(n, m) = n! / (n - m)!, the quotient taken at extended precision, then rounded to a double.
double Permutations(double n, double m);

// C(n, m) = n! / (n - m)! / m!, both quotients at extended precision, then rounded to a double.
double Combinations(double n, double m);

}  // namespace calc
