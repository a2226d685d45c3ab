#pragma once
// The sign-off report: one document per project that an engineer attaches to a
// design review. For each closing dimension the required limits, the verdict
// with its 95 % intervals, the Monte Carlo histogram, the Pareto chart of the
// shares and the sensitivities; then every input of the run. The document is
// put together once (texts in UTF-8, charts as SVG) and written as HTML here
// or laid out on PDF pages by the toolkit, so both carry the same words.
//
// The HTML is one self-contained file: inline CSS and SVG, no scripts, no
// references to anything else; checked with tidy.

#include <iosfwd>
#include <string>
#include <vector>

namespace zam1 {

class Chain;
struct AnalysisData;
struct AnalysisResult;

// How a verdict looks (the colour of its mark).
enum class SignoffLook { Holds, Undecided, Fails, Neutral };

struct SignoffFact {
    std::string label;
    std::string value;
};

struct SignoffTable {
    std::vector<std::string> columns;
    std::vector<bool> numeric;  // per column: right-aligned
    std::vector<std::vector<std::string>> rows;
};

struct SignoffClosing {
    std::string heading;      // "Closing dimension 1: Axialspiel Ring (3 -> 7)"
    std::string verdict;      // "holds", "fails", "undecided", "no limits", "not calculated"
    SignoffLook look = SignoffLook::Neutral;
    std::vector<SignoffFact> facts;
    std::string histogramSvg;  // empty: no samples
    std::string histogramCaption;
    std::string paretoSvg;     // empty: no shares
    std::string paretoCaption;
    std::string sensitivityNote;
    SignoffTable sensitivities;  // empty rows: none
};

// What the document says about the project, in UTF-8.
struct SignoffHeading {
    std::string projectName;
    std::vector<std::string> lines;  // the description lines of the page headers, empty ones left out
    std::string date;
};

struct SignoffDocument {
    std::string title;     // "Sign-off report: <project>"
    std::string date;
    std::string program;   // title and version
    std::vector<SignoffFact> project;  // name, date, program, overall verdict
    std::vector<std::string> headerLines;
    std::string verdict;
    std::string verdictSentence;
    SignoffLook look = SignoffLook::Neutral;
    SignoffTable summary;            // one row per closing dimension: limits and verdict
    std::vector<SignoffClosing> closings;
    std::vector<SignoffFact> run;    // method, sigma, N, seed, program version
    SignoffTable elements;           // every element with its distribution
};

// At most this many elements of a closing dimension's ranked sensitivity list
// are shown; the rest save less and are counted in a line.
inline constexpr std::size_t kSignoffSensitivityRows = 20;

// The chain's working values must be those `result` was computed from.
SignoffDocument signoffDocument(const AnalysisResult& result, const Chain& chain, const AnalysisData& data,
                                const SignoffHeading& heading);

void writeSignoffHtml(const SignoffDocument& document, std::ostream& out);

} // namespace zam1
