// Density, distribution function and quantile of the stable laws in the
// S1 parameterisation (characteristic function of the standard law
// exp(-|t|^a (1 - i b sgn(t) tan(pi a / 2))) for a != 1).
#pragma once

namespace torva::stoc {

// Standard law (scale 1, location 0). alpha in (0, 2], beta in [-1, 1].
double stablePdf(double alpha, double beta, double z);
double stableCdf(double alpha, double beta, double z);
// The z with stableCdf(z) = u for u in (0, 1).
double stableQuantile(double alpha, double beta, double u);
// Support of the standard law: [lo, hi] with infinities as +-inf.
void stableSupport(double alpha, double beta, double& lo, double& hi);

}  // namespace torva::stoc
