#include "core/analysis/input_check.h"

#include <charconv>
#include <cmath>

#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/standards/element_iso.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

std::string lengthRange(const LanguageTexts& texts) {
    return texts.main.validRange + fixedText(-kMaxLength, 0, 0, false) + " .. " + fixedText(kMaxLength, 0, 0, false) +
           " !";
}

// A number that is already in the chain, tiny and huge ones with their exponent.
std::string shown(long double value) {
    if (!std::isfinite(value)) return fixedText(value, 0, 0, false);
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, r.ptr);
}

} // namespace

std::string fieldName(int element, std::string_view field, const LanguageTexts& texts) {
    if (element <= 0) return std::string(field);
    return texts.report.elementNo + " " + intText(element) + ", " + std::string(field);
}

std::string notANumberText(std::string_view field, std::string_view typed, const LanguageTexts& texts) {
    return std::string(field) + ": " + texts.main.invalidInput + "\"" + std::string(typed) + "\" !";
}

std::string beyondLimitText(std::string_view field, std::string_view typed, const LanguageTexts& texts) {
    return std::string(field) + ": \"" + std::string(typed) + "\" - " + lengthRange(texts);
}

std::string lengthRefusalText(LengthReading reading, std::string_view field, std::string_view typed,
                              const LanguageTexts& texts) {
    return reading == LengthReading::OutOfRange ? beyondLimitText(field, typed, texts)
                                                : notANumberText(field, typed, texts);
}

std::string elementProblemText(const Chain& chain, const ElementInputProblem& problem, const LanguageTexts& texts) {
    using Kind = ElementInputProblem::Kind;
    const Element& e = chain.element(problem.element);
    const MainTexts& m = texts.main;
    switch (problem.kind) {
    case Kind::Nominal: return beyondLimitText(fieldName(problem.element, m.nominalSize, texts), shown(e.distance), texts);
    case Kind::Upper: return beyondLimitText(fieldName(problem.element, m.upperTolerance, texts), shown(e.upperDev), texts);
    case Kind::Lower: return beyondLimitText(fieldName(problem.element, m.lowerTolerance, texts), shown(e.lowerDev), texts);
    case Kind::UpperBelowLower: break;
    }
    return texts.report.elementNo + " " + intText(problem.element) + ": " + m.upperTolerance + " " +
           shown(e.upperDev) + " < " + m.lowerTolerance + " " + shown(e.lowerDev) + " !";
}

std::vector<std::string> analysisInputProblems(const Chain& chain, const LanguageTexts& texts) {
    std::vector<std::string> problems;
    if (!productionSigmaUsable(chain.productionSigma)) {
        problems.push_back(texts.report.productionSigma + " " + shown(chain.productionSigma) + " - " +
                           texts.main.validRange + "0, " + autoNumber(kMinProductionSigma) + " .. " +
                           autoNumber(kMaxProductionSigma) + " !");
    }
    for (const ElementInputProblem& p : elementInputProblems(chain)) problems.push_back(elementProblemText(chain, p, texts));
    for (const ElementIsoProblem& p : isoCodeProblems(chain)) {
        problems.push_back(fieldName(p.element, texts.main.isoTolerance, texts) + " \"" + p.code + "\": " + p.message);
    }
    return problems;
}

} // namespace zam1
