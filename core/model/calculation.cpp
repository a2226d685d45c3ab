#include "core/model/calculation.h"

#include <array>

#include "core/model/chain.h"
#include "core/model/resolution.h"

namespace zam1 {
namespace {

constexpr std::array<long double, 11> kBelow = {
    0.00003L, 0.00317L, 0.14L, 2.28L, 15.9L, 50.0L, 84.1L, 97.72L, 99.86L, 99.99683L, 99.99997L};

constexpr std::array<long double, 10> kWithin = {
    38.3L, 68.26L, 86.64L, 95.44L, 98.76L, 99.73L, 99.95L, 99.9937L, 99.99932L, 99.99994L};

} // namespace

long double classicTolerance(const ClosingSums& r) { return r.closingMax - r.closingMin; }
long double statisticalMax(const ClosingSums& r) { return r.closingMean + r.closingStatDev; }
long double statisticalMin(const ClosingSums& r) { return r.closingMean - r.closingStatDev; }
long double statisticalTolerance(const ClosingSums& r) { return 2 * r.closingStatDev; }

void switchToStatistical(ClosingSums& r) {
    r.closingUpperDev = r.closingStatDev;
    r.closingLowerDev = -r.closingStatDev;
    r.closingMax = r.closingMean + r.closingStatDev;
    r.closingMin = r.closingMean - r.closingStatDev;
}

bool standardDeviation(const ClosingSums& r, long double productionSigma, long double& s) {
    if (!(productionSigma > 0)) return false;
    s = r.closingStatDev / productionSigma;
    return true;
}

long double probabilityBelow(int z) { return kBelow.at(static_cast<std::size_t>(z + 5)); }
long double probabilityWithin(int halfSteps) { return kWithin.at(static_cast<std::size_t>(halfSteps - 1)); }

ProbabilityTables probabilityTables(Chain& chain, const NumberFormat& format) {
    return probabilityTables(chain, chain.result, format);
}

ProbabilityTables probabilityTables(Chain& chain, const ClosingSums& r, const NumberFormat& format) {
    ProbabilityTables t;
    long double s = 0;
    if (!standardDeviation(r, chain.productionSigma, s)) {
        addMessage(chain, kNoSigmaMessage);
        return t;
    }
    const auto num = [&](long double v, int n, int d) { return fixedNumber(v, n, d, format); };
    t.rangeRows.reserve(11);
    for (int i = 1; i <= 11; ++i) {
        const int z = i - 6;
        const long double x = r.closingMean + s * z;
        const long double p = probabilityBelow(z);
        t.rangeRows.push_back(" " + num(z, 2, 1) + "    X < " + num(x, 5, 3) + "    " + num(p, 2, 5) +
                              " %      X > " + num(x, 5, 3) + "   " + num(100 - p, 2, 5) + " %");
    }
    t.intervalRows.reserve(10);
    for (int i = 1; i <= 10; ++i) {
        const long double z = i * 0.5L;
        const long double p = probabilityWithin(i);
        t.intervalRows.push_back(" " + num(z, 2, 1) + "    " + num(r.closingMean - s * z, 5, 3) + " < X < " +
                                 num(r.closingMean + s * z, 5, 3) + "      " + num(p, 3, 5) + " %   " +
                                 num(100 - p, 3, 5) + " %");
    }
    return t;
}

std::string elementShare(const Element& element, const ClosingSums& r, const NumberFormat& format) {
    const long double tolerance = classicTolerance(r);
    if (tolerance == 0) return std::string(10, ' ');
    return fixedNumber((element.upperDev - element.lowerDev) / tolerance * 100, 12, 0, format) + " %";
}

std::string statisticsHeading(const ClosingSums& r, long double productionSigma, std::string_view caption,
                              std::string_view at, const NumberFormat& lengthFormat,
                              const NumberFormat& numberFormat) {
    std::string line(caption);
    line += ": " + lengthField(r.closingMean, 4, lengthFormat) + " +/- " + lengthField(r.closingStatDev, 2, lengthFormat);
    line += " ";
    line += at;
    line += "  +/- " + fixedNumber(productionSigma, 2, 2, numberFormat) + " Sigma";
    return line;
}

bool checkTolerance(Chain& chain, std::string_view toleranceWord) {
    return checkTolerance(chain, chain.result, toleranceWord);
}

bool checkTolerance(Chain& chain, const ClosingSums& r, std::string_view toleranceWord) {
    if (r.closingStatDev != 0) return true;
    std::string message(toleranceWord);
    message += " = 0 ? !";
    addMessage(chain, message);
    return false;
}

} // namespace zam1
