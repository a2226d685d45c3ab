#pragma once
// The two number forms of the project and configuration files. Both follow the
// configured decimals and, unless the caller forces the point, the comma setting.

#include <string>

#include "core/text/number_format.h"

namespace zam1 {

// A real line: fixed point with 7 decimals at the default of 3 configured
// decimals (decimals + 4, limited to 0..10, otherwise); whole numbers below 1
// (0, -1, -2, ...) in the short form. 12.5 -> "12.5000000", 0 -> "0", -3 -> "-3".
std::string realLineText(long double value, const NumberFormat& format);

// The short form: "0" below 1e-5, otherwise about three significant digits with
// trailing zero decimals dropped, shifted by the configured decimals.
// 12.3456 -> "12.35", 0.05 -> "0.05", 2500 -> "2500".
std::string shortNumberText(long double value, const NumberFormat& format);

} // namespace zam1
