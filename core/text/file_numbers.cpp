#include "core/text/file_numbers.h"

#include <algorithm>
#include <cmath>

namespace zam1 {
namespace {

constexpr long double kPowersOfTen[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L, 1e10L, 1e11L};

// Whole numbers are recognised without the math library: the files hold
// thousands of numbers and this is on the path of every one.
bool isWholeNumber(long double value) {
    if (!(std::fabs(value) < 9e17L)) return std::fabs(value) >= 9e17L; // huge values are whole
    const long double nearest = static_cast<long double>(static_cast<long long>(value + (value < 0 ? -0.5L : 0.5L)));
    return std::fabs(value - nearest) < 1e-10L;
}

// More configured decimals than three give a short number more; fewer never
// take away one it needs: a text height of 2.5 written as "3" would read back
// as another height, and every later save would cut the next digit (0.85, 0.8, 1).
int shortDecimals(int decimals, const NumberFormat& format) {
    return format.decimals <= 3 ? decimals : std::min(decimals + format.decimals - 3, 10);
}

} // namespace

std::string realLineText(long double value, const NumberFormat& format) {
    if (!std::isfinite(value)) return fixedText(value, 0, 0, false);
    if (value >= 1 || !isWholeNumber(value)) {
        const int decimals = format.decimals == 3 ? 7 : std::clamp(format.decimals + 4, 0, 10);
        return fixedText(value, 0, decimals, format.decimalComma);
    }
    return shortNumberText(value, format);
}

std::string shortNumberText(long double value, const NumberFormat& format) {
    const long double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-5L)) return std::isnan(value) ? fixedText(value, 0, 0, false) : "0";
    if (!std::isfinite(value)) return fixedText(value, 0, 0, false);
    const int k = static_cast<int>(std::trunc(std::log10(magnitude)));
    int d = k >= 3 ? 0 : (k >= 0 ? 3 - k : 2 - k);
    // The guard digit decides which decimals are trailing zeros. The tiny nudge
    // keeps a value read from "0.3" (0.29999... in binary) from losing its zeros.
    const long double scaled = magnitude * kPowersOfTen[d + 1] * (1 + 1e-13L);
    if (scaled < 9e17L) {
        auto digits = static_cast<long long>(std::trunc(scaled)) / 10;
        while (d > 0 && digits % 10 == 0) {
            digits /= 10;
            --d;
        }
    }
    return fixedText(value, 0, shortDecimals(d, format), format.decimalComma);
}

} // namespace zam1
