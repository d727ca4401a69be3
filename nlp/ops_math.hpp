// Scalar functions behind the probability, queueing and finance operators:
// values through the distribution layer and the formulas of ops_math.cpp,
// exact partials from ops_exact.cpp where the formula is elementary.
#pragma once

namespace torva::nlp {

// Digamma and trigamma at any argument that is not a non-positive integer.
// Negative arguments go through the reflection formulas with the fractional
// part of x, so arguments too large for an int's range stay exact.
double digammaOf(double x);
double trigammaOf(double x);

// Value of a probability or named function op at its nArgs arguments; false
// when the arguments are outside the function's domain.
bool specialValue(int op, const double* a, int nArgs, double& v);
// Exact first partials (d1, n entries) and packed second partials (d2) of
// op at a when its formula is elementary (closed-form laws, finance and
// queueing functions); value is what specialValue gave. False otherwise.
bool exactPartials(int op, const double* a, int n, double value, double* d1, double* d2);
// Whether op is evaluated by specialValue.
bool isSpecial(int op) noexcept;
// For probability functions: distribution type, function code and whether
// the law is discrete (the cumulative function is then a step function of x
// and its partial in x is 0). False for other ops.
bool probabilityOp(int op, int& type, int& func, bool& discrete) noexcept;

}  // namespace torva::nlp
