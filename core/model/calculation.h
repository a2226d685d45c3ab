#pragma once
// Completes a resolved distance: classic (worst case) and statistical limits, the
// probability tables of the statistics report, and the share of one element.

#include <string>
#include <string_view>
#include <vector>

#include "core/text/number_format.h"

namespace zam1 {

class Chain;
struct ClosingResult;
struct Element;

long double classicTolerance(const ClosingResult& r);
long double statisticalMax(const ClosingResult& r);
long double statisticalMin(const ClosingResult& r);
long double statisticalTolerance(const ClosingResult& r);

// Overwrites the classic limits with the statistical ones, so that a listing can
// show Gaussian closing dimensions in the columns of classic ones.
void switchToStatistical(ClosingResult& r);

// One standard deviation s = closingStatDev / productionSigma. False (s untouched)
// when productionSigma is not positive: then s is undefined.
bool standardDeviation(const ClosingResult& r, long double productionSigma, long double& s);

// The fixed percentages: below mean + z·s for z = -5..5, and within mean ± z·s for
// z = 0.5..5.0. They are used as listed, no distribution function is evaluated.
long double probabilityBelow(int z);
long double probabilityWithin(int halfSteps);

struct ProbabilityTables {
    std::vector<std::string> rangeRows;    // 11 rows, z = -5..5
    std::vector<std::string> intervalRows; // 10 rows, z = 0.5..5.0
};

// The rows for chain.result and chain.productionSigma. With productionSigma 0 there
// are none; the message list then says why.
ProbabilityTables probabilityTables(Chain& chain, const NumberFormat& format);

inline constexpr std::string_view kNoSigmaMessage = "Sigma = 0 : keine Wahrscheinlichkeit";

// Percentage of the classic closing tolerance taken by one element: 12 integer
// places and " %", or ten blanks when the closing tolerance is 0.
std::string elementShare(const Element& element, const ClosingResult& r, const NumberFormat& format);

// caption ("Schließmaß") + ": " + mean + " +/- " + statDev + " " + at ("bei") +
// "  +/- " + sigma + " Sigma"; caption and at come from the language tables.
std::string statisticsHeading(const ClosingResult& r, long double productionSigma, std::string_view caption,
                              std::string_view at, const NumberFormat& format);

// The element table editor shows limits only for a nonzero statistical tolerance;
// otherwise it adds toleranceWord + " = 0 ? !" to the messages. True when valid.
bool checkTolerance(Chain& chain, std::string_view toleranceWord);

} // namespace zam1
