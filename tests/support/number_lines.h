#pragma once
// Two files of lines alike up to how their numbers are written: a line that
// reads as a number in both stands for its value ("1.0000" and "1.0" are the
// same setting), any other line must be the same text.

#include <string>
#include <string_view>

#include "core/text/number_format.h"

namespace zam1::test {

inline bool sameLineByLine(std::string_view a, std::string_view b) {
    while (!a.empty() || !b.empty()) {
        const std::size_t ea = a.find('\n');
        const std::size_t eb = b.find('\n');
        std::string_view la = a.substr(0, ea);
        std::string_view lb = b.substr(0, eb);
        if (!la.empty() && la.back() == '\r') la.remove_suffix(1);
        if (!lb.empty() && lb.back() == '\r') lb.remove_suffix(1);
        long double va = 0;
        long double vb = 0;
        const bool numbers = parseNumber(la, va) && parseNumber(lb, vb);
        if (numbers ? va != vb : la != lb) return false;
        if ((ea == std::string_view::npos) != (eb == std::string_view::npos)) return false;
        if (ea == std::string_view::npos) return true;
        a.remove_prefix(ea + 1);
        b.remove_prefix(eb + 1);
    }
    return true;
}

} // namespace zam1::test
