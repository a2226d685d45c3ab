#pragma once
// The standard normal distribution, evaluated rather than looked up: the tail
// probabilities of the analysis come from erfc (the report's probability table
// keeps its fixed percentages), and the Monte Carlo draws come from the inverse.

namespace zam1 {

// Probability in parts per million that a standard normal value lies above z;
// accurate to the last digits far into the tail (no 1 - x cancellation).
long double normalPpmAbove(long double z);

// The standard normal value below which a share p (0 < p < 1) lies; Wichura's
// AS 241, about 1e-16 relative. Uses only arithmetic, sqrt and log, so the draws
// of a seed are the same wherever the program runs.
double inverseNormal(double p);

} // namespace zam1
