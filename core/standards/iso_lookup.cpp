#include "core/standards/iso_lookup.h"

#include <cmath>
#include <optional>
#include <ostream>
#include <string_view>

#include "core/standards/iso286.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::string_view kUsage =
    "Usage: wzam1 --iso CODE SIZE (CODE like H7, \"js 6\" or the fit H7/g6; SIZE in mm)";

int usage(std::ostream& err, std::string_view reason) {
    err << "wzam1 --iso: " << reason << ". " << kUsage << '\n';
    return 2;
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// Micrometres as signed millimetres with four decimals; zero carries no sign.
std::string signedMm(long double um) {
    std::string text = fixedText(um * 0.001L, 0, 4, false);
    if (text.find_first_of("123456789") == std::string::npos) return "0.0000";
    if (text.front() != '-') text.insert(0, 1, '+');
    return text;
}

bool isHoleCode(std::string_view code) { return !code.empty() && code.front() >= 'A' && code.front() <= 'Z'; }
bool isShaftCode(std::string_view code) { return !code.empty() && code.front() >= 'a' && code.front() <= 'z'; }

struct Line {
    IsoEvaluation evaluation;
    std::string shown;  // normal form, or the code as given when it has none
};

Line evaluate(std::string_view codeUtf8, long double nominalMm, IsoStepPositions& positions) {
    std::string code = utf8ToOem(codeUtf8);
    const std::string given = code;
    Line line;
    // The caller passes only trimmed, nonempty codes, so there is always a result.
    line.evaluation = EvaluateIsoCode(code, nominalMm, positions).value_or(IsoEvaluation{});
    line.shown = code.empty() ? given : code;
    return line;
}

void print(std::ostream& out, const Line& line) {
    out << oemToUtf8(line.shown) << '\t' << signedMm(line.evaluation.upperUm) << '\t'
        << signedMm(line.evaluation.lowerUm);
    if (!line.evaluation.message.empty()) out << '\t' << oemToUtf8(line.evaluation.message);
    out << '\n';
}

} // namespace

int runIsoLookup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return usage(err, "expected a code and a size");
    const std::string_view code = trimmed(args[0]);
    if (code.empty()) return usage(err, "the code is empty");
    long double nominalMm = 0;
    if (!parseNumber(args[1], nominalMm) || !std::isfinite(nominalMm)) {
        return usage(err, "the size \"" + args[1] + "\" is not a number");
    }
    if (nominalMm < 0) return usage(err, "the size must not be negative");

    IsoStepPositions positions;
    const std::size_t slash = code.find('/');
    if (slash == std::string_view::npos) {
        const Line line = evaluate(code, nominalMm, positions);
        print(out, line);
        return line.evaluation.isError() ? 1 : 0;
    }

    const std::string_view holeCode = trimmed(code.substr(0, slash));
    const std::string_view shaftCode = trimmed(code.substr(slash + 1));
    if (!isHoleCode(holeCode) || !isShaftCode(shaftCode) || shaftCode.find('/') != std::string_view::npos) {
        return usage(err, "a fit is written hole/shaft, as H7/g6");
    }
    const Line hole = evaluate(holeCode, nominalMm, positions);
    const Line shaft = evaluate(shaftCode, nominalMm, positions);
    print(out, hole);
    print(out, shaft);
    if (hole.evaluation.isError() || shaft.evaluation.isError()) return 1;
    const long double largest = hole.evaluation.upperUm - shaft.evaluation.lowerUm;
    const long double smallest = hole.evaluation.lowerUm - shaft.evaluation.upperUm;
    out << "fit\t" << signedMm(largest) << '\t' << signedMm(smallest) << '\n';
    return 0;
}

} // namespace zam1
