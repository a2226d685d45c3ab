#pragma once
// The standard normal distribution, evaluated rather than looked up: the tail
// probabilities of the analysis come from erfc (the report's probability table
// keeps its fixed percentages); the Monte Carlo draws come from a ziggurat.

namespace zam1 {

// Probability in parts per million that a standard normal value lies above z;
// accurate to the last digits far into the tail (no 1 - x cancellation).
long double normalPpmAbove(long double z);

// The standard normal value below which a share p (0 < p < 1) lies; Wichura's
// AS 241, about 1e-16 relative. Uses only arithmetic, sqrt and log, so the draws
// of a seed are the same wherever the program runs.
double inverseNormal(double p);

} // namespace zam1

namespace zam1 {

// A standard normal value from a stream of 64-bit random words, by the
// ziggurat method (128 layers): `word(k)` gives word k of the stream. Nearly
// every draw takes word 0 alone; the rare draw in a wedge or the tail takes
// more. The result depends only on the words, so a counter-based stream gives
// the same value on any thread. Uses arithmetic, exp and log.
template <typename Words>
double zigguratNormal(Words&& word);

} // namespace zam1

#include "core/analysis/ziggurat.h"
