#include "core/standards/iso286.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/standards/iso286_tables.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

using iso286::Letter;

// Fixed texts, CP850 ("\x81" is ü).
constexpr std::string_view kInvalidCode = "ung\x81ltige ISO-Toleranz";
constexpr std::string_view kUnknownLetter = "unbekannte Toleranzlage";
constexpr std::string_view kUndefinedSize = "Undefinierter Nennmassbereich";
constexpr std::string_view kUnknownCommand = "unknown command character !";
constexpr std::string_view kNotDefinedFor = "nicht definiert f\x81r Lage";
constexpr std::string_view kOnlyInRange = "ist nur im Bereich";

// Where a letter's table or ISO's definition ends.
enum class Limit { None, UpTo500, UpTo10, Above14, Above18, Above24 };

// How the fundamental deviation F of a letter is found.
enum class Kind {
    ShaftUpper,  // a..g: upper = -table
    ShaftLower,  // m..zc: lower = +table
    ShaftH,
    ShaftJ,
    ShaftK,
    HoleLower,   // A..G: lower = +table
    HoleH,
    HoleJ,
    Symmetric,   // js, JS
    HoleK,
    HoleM,
    HoleN,
    HoleP,       // P..ZC: upper = -table, Δ added for the fine grades up to 500 mm
};

struct Rule {
    std::string_view letters;
    Kind kind;
    Letter column = Letter::a;       // table of the letter, where the kind uses one
    Limit before = Limit::None;      // size limits tested before the grade
    Limit before2 = Limit::None;
    int minGrade = 1;
    int maxGrade = 18;
    Limit after = Limit::None;       // size limit tested after the grade
    bool gradeInLimitText = false;   // the limit message names the grade as well
    int hintMin = 0;                 // grades without hint; 0 = always without
    int hintMax = 0;
    std::string_view hint = {};
};

// clang-format off
constexpr Rule kRules[] = {
    {"a",  Kind::ShaftUpper, Letter::a,  Limit::UpTo500, Limit::None, 1, 18, Limit::None,    false, 9, 13, "a9..a13"},
    {"b",  Kind::ShaftUpper, Letter::b,  Limit::UpTo500, Limit::None, 1, 18, Limit::None,    false, 8, 13, "b8..b13"},
    {"c",  Kind::ShaftUpper, Letter::c,  Limit::UpTo500, Limit::None, 1, 18, Limit::None,    false, 8, 12, "c8..c12"},
    {"cd", Kind::ShaftUpper, Letter::cd, Limit::UpTo500, Limit::None, 1, 18, Limit::UpTo10,  false, 5, 10, "cd 5 .. cd 10"},
    {"d",  Kind::ShaftUpper, Letter::d,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 5, 13, "d5..d13"},
    {"e",  Kind::ShaftUpper, Letter::e,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 5, 10, "e5..e10"},
    {"ef", Kind::ShaftUpper, Letter::ef, Limit::UpTo500, Limit::None, 1, 18, Limit::UpTo10,  false, 3, 10, "ef 3 .. ef 10"},
    {"f",  Kind::ShaftUpper, Letter::f,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 3, 10, "f3..f10"},
    {"fg", Kind::ShaftUpper, Letter::fg, Limit::UpTo500, Limit::None, 1, 18, Limit::UpTo10,  false, 3, 10, "fg 3 .. fg 10"},
    {"g",  Kind::ShaftUpper, Letter::g,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 3, 10, "g3..g10"},
    {"h",  Kind::ShaftH},
    {"j",  Kind::ShaftJ,     Letter::a,  Limit::UpTo500, Limit::None, 5, 8},
    {"js", Kind::Symmetric},
    {"k",  Kind::ShaftK,     Letter::k},
    {"m",  Kind::ShaftLower, Letter::m,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 3, 9,  "m3..m9"},
    {"n",  Kind::ShaftLower, Letter::n,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 3, 9,  "n3..n9"},
    {"p",  Kind::ShaftLower, Letter::p,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 3, 10, "p3..p10"},
    {"r",  Kind::ShaftLower, Letter::r,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 3, 10, "r3..r10"},
    {"s",  Kind::ShaftLower, Letter::s,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 3, 10, "s3..s10"},
    {"t",  Kind::ShaftLower, Letter::t,  Limit::None,    Limit::None, 1, 18, Limit::Above24, false, 5, 9,  "t5..t9"},
    {"u",  Kind::ShaftLower, Letter::u,  Limit::None,    Limit::None, 1, 18, Limit::None,    false, 5, 9,  "u5..u9"},
    {"v",  Kind::ShaftLower, Letter::v,  Limit::UpTo500, Limit::None, 1, 18, Limit::Above14, false, 5, 8,  "v5..v8"},
    {"x",  Kind::ShaftLower, Letter::x,  Limit::UpTo500, Limit::None, 1, 18, Limit::None,    false, 5, 11, "x5..x11"},
    {"y",  Kind::ShaftLower, Letter::y,  Limit::UpTo500, Limit::None, 1, 18, Limit::Above18, false, 5, 10, "y5..y10"},
    {"z",  Kind::ShaftLower, Letter::z,  Limit::UpTo500, Limit::None, 1, 18, Limit::None,    false, 6, 11, "z6..z11"},
    {"za", Kind::ShaftLower, Letter::za, Limit::UpTo500, Limit::None, 6, 11},
    {"zb", Kind::ShaftLower, Letter::zb, Limit::UpTo500, Limit::None, 7, 11},
    {"zc", Kind::ShaftLower, Letter::zc, Limit::UpTo500, Limit::None, 7, 11},

    {"A",  Kind::HoleLower,  Letter::a,  Limit::UpTo500, Limit::None,    9, 13},
    {"B",  Kind::HoleLower,  Letter::b,  Limit::UpTo500, Limit::None,    8, 13},
    {"C",  Kind::HoleLower,  Letter::c,  Limit::UpTo500, Limit::None,    8, 13},
    {"CD", Kind::HoleLower,  Letter::cd, Limit::UpTo500, Limit::None,    6, 10, Limit::UpTo10, false},
    {"D",  Kind::HoleLower,  Letter::d,  Limit::None,    Limit::None,    6, 13},
    {"E",  Kind::HoleLower,  Letter::e,  Limit::None,    Limit::None,    5, 10},
    {"EF", Kind::HoleLower,  Letter::ef, Limit::UpTo500, Limit::None,    3, 10, Limit::UpTo10, true},
    {"F",  Kind::HoleLower,  Letter::f,  Limit::None,    Limit::None,    3, 10},
    {"FG", Kind::HoleLower,  Letter::fg, Limit::UpTo500, Limit::None,    3, 10, Limit::UpTo10, true},
    {"G",  Kind::HoleLower,  Letter::g,  Limit::None,    Limit::None,    3, 10},
    {"H",  Kind::HoleH},
    {"J",  Kind::HoleJ,      Letter::a,  Limit::UpTo500, Limit::None,    6, 8},
    {"JS", Kind::Symmetric},
    {"K",  Kind::HoleK,      Letter::k},
    {"M",  Kind::HoleM,      Letter::m},
    {"N",  Kind::HoleN,      Letter::n},
    {"P",  Kind::HoleP,      Letter::p},
    {"R",  Kind::HoleP,      Letter::r},
    {"S",  Kind::HoleP,      Letter::s},
    {"T",  Kind::HoleP,      Letter::t,  Limit::Above24, Limit::None},
    {"U",  Kind::HoleP,      Letter::u},
    {"V",  Kind::HoleP,      Letter::v,  Limit::UpTo500, Limit::Above14, 1, 18, Limit::None, true},
    {"X",  Kind::HoleP,      Letter::x,  Limit::UpTo500, Limit::None},
    {"Y",  Kind::HoleP,      Letter::y,  Limit::UpTo500, Limit::Above18, 1, 18, Limit::None, true},
    {"Z",  Kind::HoleP,      Letter::z,  Limit::UpTo500, Limit::None},
    {"ZA", Kind::HoleP,      Letter::za, Limit::UpTo500, Limit::None},
    {"ZB", Kind::HoleP,      Letter::zb, Limit::UpTo500, Limit::None},
    {"ZC", Kind::HoleP,      Letter::zc, Limit::UpTo500, Limit::None},
};
// clang-format on

constexpr std::string_view kLetterPairs[] = {"cd", "ef", "fg", "js", "is", "za", "zb", "zc",
                                             "CD", "EF", "FG", "JS", "IS", "ZA", "ZB", "ZC"};

// The nominal size classified into the three range sets. `classified` is
// |trunc(d - 0.001)|: a size on a range limit, or up to 0.001 mm above it, goes
// to the lower range, so a typed 30 stays in 18..30 whatever the float makes of it.
struct Size {
    long double magnitude;
    int classified;
    int main;
    int intermediateI;
    int intermediateII;

    int rangeIn(iso286::RangeSet set) const {
        switch (set) {
        case iso286::RangeSet::Main: return main;
        case iso286::RangeSet::IntermediateI: return intermediateI;
        case iso286::RangeSet::IntermediateII: return intermediateII;
        }
        return main;
    }
};

std::optional<Size> classify(long double nominalMm) {
    const long double s = std::fabs(std::trunc(nominalMm - 0.001L));
    if (!(s < iso286::kLastLimit)) return std::nullopt;  // also NaN and infinities
    const int classified = static_cast<int>(s);
    return Size{std::fabs(nominalMm), classified, iso286::rangeOf(iso286::RangeSet::Main, classified),
                iso286::rangeOf(iso286::RangeSet::IntermediateI, classified),
                iso286::rangeOf(iso286::RangeSet::IntermediateII, classified)};
}

// A limit holds only when the size's magnitude and its range agree. The two differ
// within 0.001 mm above a limit and for negative sizes; going by the magnitude
// alone there would read a table row where ISO has no value (t at 24.0005 mm) or
// run past the end of a table.
bool within(Limit limit, const Size& size) {
    switch (limit) {
    case Limit::None: return true;
    case Limit::UpTo500: return size.magnitude <= 500 && size.classified < 500;
    case Limit::UpTo10: return size.magnitude <= 10 && size.classified < 10;
    case Limit::Above14: return size.magnitude > 14 && size.classified >= 14;
    case Limit::Above18: return size.magnitude > 18 && size.classified >= 18;
    case Limit::Above24: return size.magnitude > 24 && size.classified >= 24;
    }
    return false;
}

std::string gradeMessage(std::string_view letters, int grade) {
    return "Toleranzgrad " + intText(grade) + " " + std::string(kNotDefinedFor) + " " + std::string(letters);
}

std::string limitMessage(Limit limit, std::string_view letters, int grade, bool withGrade) {
    std::string head(letters);
    head += " ";
    if (withGrade) head += intText(grade) + " ";
    head += kOnlyInRange;
    switch (limit) {
    case Limit::UpTo500: return "d>500 " + std::string(kNotDefinedFor) + " " + std::string(letters);
    case Limit::UpTo10: return head + " 1 bis 10 mm definiert";
    case Limit::Above24: return std::string(letters) + " " + std::string(kOnlyInRange) + " > 24 mm definiert";
    case Limit::Above14: return head + (withGrade ? " > 14 mm definiert" : " > 14 bis 500 mm definiert");
    case Limit::Above18: return head + (withGrade ? " > 18 mm definiert" : " > 18 bis 500 mm definiert");
    case Limit::None: break;
    }
    return {};
}

const Rule* findRule(std::string_view letters) {
    for (const Rule& rule : kRules) {
        if (rule.letters == letters) return &rule;
    }
    return nullptr;
}

// Step 1: a step command moves through a letter list; any other letters only
// record where they stand in the lists. Returns false on an unknown list.
bool applyStepCommand(std::string& letters, IsoStepPositions& positions) {
    if (letters[0] != '<' && letters[0] != '>') {
        for (int i = 0; i < 28; ++i) {
            if (kShaftLetters[i] == letters) positions.shaft = i + 1;
            if (kHoleLetters[i] == letters) positions.hole = i + 1;
        }
        return true;
    }
    const char list = letters.size() > 1 ? letters[1] : '\0';
    int* position = list == 'w' ? &positions.shaft : list == 'B' ? &positions.hole : nullptr;
    if (position == nullptr) return false;
    *position = std::clamp(*position + (letters[0] == '<' ? -1 : 1), 1, 28);
    letters = std::string(list == 'w' ? kShaftLetters[*position - 1] : kHoleLetters[*position - 1]);
    return true;
}

// Step 3: the pairs first, else the first character alone; "i" is read as "j".
const Rule* dispatch(std::string& letters) {
    if (std::find(std::begin(kLetterPairs), std::end(kLetterPairs), letters) != std::end(kLetterPairs)) {
        if (letters == "is") return findRule("js");
        if (letters == "IS") return findRule("JS");
        return findRule(letters);
    }
    letters.resize(1);
    if (letters == "i") return findRule("j");
    if (letters == "I") return findRule("J");
    return findRule(letters);
}

long double tableValue(Letter column, const Size& size) {
    return iso286::fundamental(column, size.rangeIn(iso286::rangeSetOf(column))).value();
}

// Upper deviation of the holes K..ZC, or nothing when the grade is refused there.
std::optional<long double> holeUpper(const Rule& rule, int grade, const Size& size) {
    const long double f = tableValue(rule.column, size);
    // Above 500 mm ISO adds no Δ. Decided by the range, so that the tolerance and
    // the rule always come from the same side of 500 mm.
    const bool above500 = size.classified >= 500;
    const auto withDelta = [&] { return -f + iso286::delta(grade, size.main); };
    switch (rule.kind) {
    case Kind::HoleK:
        if (above500 || grade >= 9) return 0.0L;
        if (grade >= 3) return withDelta();
        return std::nullopt;
    case Kind::HoleM:
        if (above500 || grade >= 9) return -f;
        // ISO 286-2 prints ES = -9 µm for M6 over 250 up to 315 mm, not the -20 + 9
        // that the general rule gives.
        if (grade == 6 && size.main == 11) return -9.0L;
        if (grade >= 3) return withDelta();
        return std::nullopt;
    case Kind::HoleN:
        if (above500) return -f;
        if (grade >= 3 && grade <= 8) return withDelta();
        if (grade >= 9 && grade <= 11) return -static_cast<long double>(iso286::holeNAbove8(size.main));
        return std::nullopt;
    case Kind::HoleP:
        if (above500 || grade >= 8) return -f;
        if (grade >= 3) return withDelta();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// Step 4: the deviations of an accepted letter, grade and size.
bool computeDeviations(const Rule& rule, int grade, const Size& size, IsoDeviationResult& r) {
    const long double it = iso286::standardTolerance(grade, size.main);
    switch (rule.kind) {
    case Kind::ShaftUpper: r.upperUm = -tableValue(rule.column, size); break;
    case Kind::ShaftH: r.upperUm = 0; break;
    case Kind::ShaftJ: r.upperUm = iso286::shaftJUpper(grade, size.main); break;
    case Kind::HoleJ: r.upperUm = iso286::holeJUpper(grade, size.main); break;
    case Kind::Symmetric:
        r.upperUm = it / 2;
        r.lowerUm = -it / 2;
        return true;
    case Kind::ShaftK:
        r.lowerUm = grade >= 4 && grade <= 7 ? tableValue(Letter::k, size) : 0.0L;
        r.upperUm = r.lowerUm + it;
        return true;
    case Kind::ShaftLower:
    case Kind::HoleLower:
        r.lowerUm = tableValue(rule.column, size);
        r.upperUm = r.lowerUm + it;
        return true;
    case Kind::HoleH:
        r.lowerUm = 0;
        r.upperUm = it;
        return true;
    case Kind::HoleK:
    case Kind::HoleM:
    case Kind::HoleN:
    case Kind::HoleP: {
        const auto upper = holeUpper(rule, grade, size);
        if (!upper) return false;
        r.upperUm = *upper;
        break;
    }
    }
    r.lowerUm = r.upperUm - it;
    return true;
}

void fail(IsoDeviationResult& r, std::string message) {
    r = IsoDeviationResult{};
    r.message = std::move(message);
    r.kind = IsoMessageKind::Error;
}

} // namespace

IsoCodeParts SplitIsoCode(std::string_view code) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const std::size_t n = code.size();
    if (n == 0) return {};
    std::size_t letterCount = 0;
    if (n > 2 && code[1] == ' ') {
        letterCount = 1;
    } else if (n > 3 && code[2] == ' ') {
        letterCount = 2;
    } else if (n > 1 && isDigit(code[1])) {
        letterCount = 1;
    } else if (n > 2 && isDigit(code[2])) {
        letterCount = 2;
    } else {
        return {"  ", 0};
    }
    const bool blank = code[letterCount] == ' ';
    const std::string_view rest = code.substr(letterCount + (blank ? 1 : 0));
    long long grade = 0;
    const bool readable = parseInteger(rest, grade) && grade >= std::numeric_limits<int>::min() &&
                          grade <= std::numeric_limits<int>::max();
    return {std::string(code.substr(0, letterCount)), readable ? static_cast<int>(grade) : 0};
}

std::optional<IsoDeviationResult> IsoDeviations(std::string& letters, int grade, long double nominalMm,
                                                IsoStepPositions& positions) {
    if (letters.empty()) return std::nullopt;
    IsoDeviationResult r;
    if (!applyStepCommand(letters, positions)) {
        fail(r, std::string(kUnknownCommand));
        return r;
    }
    const std::optional<Size> size = classify(nominalMm);
    if (!size) {
        fail(r, std::string(kUndefinedSize));
        return r;
    }
    const Rule* rule = dispatch(letters);
    if (rule == nullptr) {
        fail(r, std::string(kUnknownLetter));
        return r;
    }
    for (const Limit limit : {rule->before, rule->before2}) {
        if (!within(limit, *size)) {
            fail(r, limitMessage(limit, letters, grade, rule->gradeInLimitText));
            return r;
        }
    }
    if (grade < std::max(rule->minGrade, 1) || grade > std::min(rule->maxGrade, 18)) {
        fail(r, gradeMessage(letters, grade));
        return r;
    }
    if (!within(rule->after, *size)) {
        fail(r, limitMessage(rule->after, letters, grade, rule->gradeInLimitText));
        return r;
    }
    if (!computeDeviations(*rule, grade, *size, r)) {
        fail(r, gradeMessage(letters, grade));
        return r;
    }
    if (rule->hintMin != 0 && (grade < rule->hintMin || grade > rule->hintMax)) {
        r.message = std::string(rule->hint);
        r.kind = IsoMessageKind::Hint;
    }
    return r;
}

std::optional<IsoEvaluation> EvaluateIsoCode(std::string& code, long double nominalMm,
                                             IsoStepPositions& positions) {
    if (code.empty() || code == " ") return std::nullopt;
    const IsoCodeParts parts = SplitIsoCode(code);
    IsoEvaluation evaluation;
    evaluation.letters = parts.letters;
    evaluation.grade = parts.grade;
    if (parts.grade == 0) {
        code.clear();
        evaluation.message = std::string(kInvalidCode);
        evaluation.kind = IsoMessageKind::Error;
        return evaluation;
    }
    code = parts.letters + " " + intText(parts.grade);
    if (auto result = IsoDeviations(evaluation.letters, parts.grade, nominalMm, positions)) {
        static_cast<IsoDeviationResult&>(evaluation) = std::move(*result);
    }
    return evaluation;
}

} // namespace zam1
