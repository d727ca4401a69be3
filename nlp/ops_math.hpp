// Scalar functions behind the operators that have no closed-form partials
// in the evaluator: probability functions through the distribution layer
// and the queueing and finance functions. Partials of these come from
// local difference quotients (see ops.cpp).
#pragma once

namespace torva::nlp {

// Value of a probability or named function op at its nArgs arguments; false
// when the arguments are outside the function's domain.
bool specialValue(int op, const double* a, int nArgs, double& v);
// Whether op is evaluated by specialValue.
bool isSpecial(int op) noexcept;
// For probability functions: distribution type, function code and whether
// the law is discrete (the cumulative function is then a step function of x
// and its partial in x is 0). False for other ops.
bool probabilityOp(int op, int& type, int& func, bool& discrete) noexcept;

}  // namespace torva::nlp
