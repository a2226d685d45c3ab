// "wzam1 --iso": the printed lines, the exit codes, and the usage message for
// arguments it cannot use.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/standards/iso_lookup.h"

namespace zam1 {
namespace {

TEST(IsoLookup, PrintsDeviationsAndFits) {
    const struct {
        std::vector<std::string> args;
        const char* out;
        int exitCode;
    } cases[] = {
        {{"H7", "25"}, "H 7\t+0.0210\t0.0000\n", 0},
        {{"js 6", "40"}, "js 6\t+0.0080\t-0.0080\n", 0},
        {{"  h7 ", "25,0"}, "h 7\t0.0000\t-0.0210\n", 0},  // blanks and a decimal comma are fine
        {{"js1", "2"}, "js 1\t+0.0004\t-0.0004\n", 0},
        {{"a7", "5"}, "a 7\t-0.2700\t-0.2820\ta9..a13\n", 0},  // a hint is no error
        {{"h19", "25"}, "h 19\t0.0000\t0.0000\tToleranzgrad 19 nicht definiert f\xC3\xBCr Lage h\n", 1},
        {{"h", "25"}, "h\t0.0000\t0.0000\tung\xC3\xBCltige ISO-Toleranz\n", 1},
        {{"H7", "3151"}, "H 7\t0.0000\t0.0000\tUndefinierter Nennmassbereich\n", 1},
        {{"H7/g6", "25"}, "H 7\t+0.0210\t0.0000\ng 6\t-0.0070\t-0.0200\nfit\t+0.0410\t+0.0070\n", 0},
        {{"H7 / p6", "25"}, "H 7\t+0.0210\t0.0000\np 6\t+0.0350\t+0.0220\nfit\t-0.0010\t-0.0350\n", 0},
        {{"H7/t6", "20"}, "H 7\t+0.0210\t0.0000\nt 6\t0.0000\t0.0000\tt ist nur im Bereich > 24 mm definiert\n", 1},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runIsoLookup(c.args, out, err), c.exitCode) << c.args[0];
        EXPECT_EQ(out.str(), c.out) << c.args[0];
        EXPECT_EQ(err.str(), "") << c.args[0];
    }
}

TEST(IsoLookup, UnusableArgumentsGetOneUsageLine) {
    const std::vector<std::vector<std::string>> cases = {
        {},           {"H7"},         {"js", "6", "40"}, {"", "25"},      {"   ", "25"},    {"H7", ""},
        {"H7", "abc"}, {"H7", "25mm"}, {"H7", "nan"},    {"H7", "-25"},   {"g6/H7", "25"}, {"H7/", "25"},
        {"H7/g6/h6", "25"},
    };
    for (const auto& args : cases) {
        std::ostringstream out;
        std::ostringstream err;
        const std::string what = args.empty() ? "(none)" : args[0];
        EXPECT_EQ(runIsoLookup(args, out, err), 2) << what;
        EXPECT_EQ(out.str(), "") << what;
        const std::string message = err.str();
        EXPECT_EQ(message.rfind("wzam1 --iso: ", 0), 0u) << what;
        EXPECT_NE(message.find("Usage: wzam1 --iso CODE SIZE"), std::string::npos) << what;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << what;
    }
}

} // namespace
} // namespace zam1
