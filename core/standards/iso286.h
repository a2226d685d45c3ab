#pragma once
// ISO 286 tolerance codes ("h7", "H 7", "js6", "ZC9") turned into the deviations of
// a nominal size. Deviations are in micrometres; callers multiply by 0.001 for
// millimetres. Messages are fixed German texts in CP850 and do not follow the
// language switch.

#include <optional>
#include <string>
#include <string_view>

namespace zam1 {

// The fundamental-deviation letters in their fixed order, positions 1..28.
inline constexpr std::string_view kShaftLetters[28] = {
    "a", "b", "c", "cd", "d", "e", "ef", "f", "fg", "g", "h", "j",  "js", "k",
    "m", "n", "p", "r",  "s", "t", "u",  "v", "x",  "y", "z", "za", "zb", "zc"};
inline constexpr std::string_view kHoleLetters[28] = {
    "A", "B", "C", "CD", "D", "E", "EF", "F", "FG", "G", "H", "J",  "JS", "K",
    "M", "N", "P", "R",  "S", "T", "U",  "V", "X",  "Y", "Z", "ZA", "ZB", "ZC"};

// The current positions in the two letter lists (0 = none, else 1..28) that the
// step commands "<w", ">w", "<B", ">B" move from. They live for the whole run:
// the program keeps one instance and hands it to every evaluation.
struct IsoStepPositions {
    int shaft = 0;
    int hole = 0;
};

enum class IsoMessageKind {
    None,
    Hint,   // the deviations are valid; the grade lies outside the usual ones
    Error,  // the code is not defined here; both deviations are 0
};

struct IsoDeviationResult {
    long double upperUm = 0;
    long double lowerUm = 0;
    std::string message;  // CP850, empty when kind is None
    IsoMessageKind kind = IsoMessageKind::None;

    bool isError() const { return kind == IsoMessageKind::Error; }
};

struct IsoCodeParts {
    std::string letters;
    int grade = 0;  // 0: no valid grade found
};

// Splits a code text into its letters and its grade: "h7", "h 7", "js12", "js 7".
// A text that fits none of these forms gives two blanks and grade 0.
IsoCodeParts SplitIsoCode(std::string_view code);

// Deviations of letters + grade at a nominal size. `letters` is rewritten to the
// letter that was evaluated: the stepped letter after a step command, the first
// character where a single-letter rule applies ("hx" -> "h"). Empty letters give
// nothing (no evaluation, the caller keeps its values).
std::optional<IsoDeviationResult> IsoDeviations(std::string& letters, int grade, long double nominalMm,
                                                IsoStepPositions& positions);

struct IsoEvaluation : IsoDeviationResult {
    std::string letters;  // as IsoDeviations left them
    int grade = 0;
};

// Evaluates the code text of an element cell. An empty text or a single blank
// gives nothing. Otherwise `code` is rewritten to its normal form, letters + one
// blank + grade ("h7" -> "h 7"), or cleared when it holds no valid grade, and the
// deviations follow. The normal form is written even when the deviations are then
// refused, so the cell shows what was understood.
std::optional<IsoEvaluation> EvaluateIsoCode(std::string& code, long double nominalMm,
                                             IsoStepPositions& positions);

} // namespace zam1
