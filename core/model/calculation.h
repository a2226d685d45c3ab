#pragma once
// Completes a resolved distance: classic (worst case) and statistical limits, the
// probability tables of the statistics report, and the share of one element.

#include <string>
#include <string_view>
#include <vector>

#include "core/text/number_format.h"

namespace zam1 {

class Chain;
struct ClosingSums;
struct Element;

long double classicTolerance(const ClosingSums& r);
long double statisticalMax(const ClosingSums& r);
long double statisticalMin(const ClosingSums& r);
long double statisticalTolerance(const ClosingSums& r);

// Overwrites the classic limits with the statistical ones, so that a listing can
// show Gaussian closing dimensions in the columns of classic ones.
void switchToStatistical(ClosingSums& r);

// One standard deviation s = closingStatDev / productionSigma. False (s untouched)
// when productionSigma is not positive: then s is undefined.
bool standardDeviation(const ClosingSums& r, long double productionSigma, long double& s);

// The fixed percentages: below mean + z·s for z = -5..5, and within mean ± z·s for
// z = 0.5..5.0. They are used as listed, no distribution function is evaluated.
long double probabilityBelow(int z);
long double probabilityWithin(int halfSteps);

struct ProbabilityTables {
    std::vector<std::string> rangeRows;    // 11 rows, z = -5..5
    std::vector<std::string> intervalRows; // 10 rows, z = 0.5..5.0
};

// The rows for the sums r and chain.productionSigma. With productionSigma 0 there
// are none; the chain's message list then says why.
ProbabilityTables probabilityTables(Chain& chain, const ClosingSums& r, const NumberFormat& format);
// The same for the last distance resolved (chain.result).
ProbabilityTables probabilityTables(Chain& chain, const NumberFormat& format);

inline constexpr std::string_view kNoSigmaMessage = "Sigma = 0 : keine Wahrscheinlichkeit";

// Percentage of the classic closing tolerance taken by one element: 12 integer
// places and " %", or ten blanks when the closing tolerance is 0.
std::string elementShare(const Element& element, const ClosingSums& r, const NumberFormat& format);

// caption ("Schließmaß") + ": " + mean + " +/- " + statDev + " " + at ("bei") +
// "  +/- " + sigma + " Sigma"; caption and at come from the language tables. The
// lengths print with the chain's decimals (lengthFormat), sigma with the
// configured ones (2 decimals shifted by the decimals setting).
std::string statisticsHeading(const ClosingSums& r, long double productionSigma, std::string_view caption,
                              std::string_view at, const NumberFormat& lengthFormat,
                              const NumberFormat& numberFormat);

// The element table editor shows limits only for a nonzero statistical tolerance;
// otherwise it adds toleranceWord + " = 0 ? !" to the messages. True when valid.
bool checkTolerance(Chain& chain, const ClosingSums& r, std::string_view toleranceWord);
bool checkTolerance(Chain& chain, std::string_view toleranceWord); // for chain.result

} // namespace zam1
