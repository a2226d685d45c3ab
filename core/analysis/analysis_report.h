#pragma once
// The analysis written out: a plain text report in the style of the program's
// reports (a heading line, separator lines, one block per closing dimension),
// and JSON with every figure for other programs (fields in the README, schema in
// tests/analysis/analysis.schema.json).

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "core/report/output_settings.h"

namespace zam1 {

struct AnalysisResult;
struct ReportTexts;
struct ClosingAnalysis;
enum class Verdict;
enum class WorstCaseSide;

// The words of the report and the JSON: "holds", "undecided", "fails"; the
// variance the statistical figures come from ("production sigma" or "declared
// distributions"); worst case against one limit ("holds", "partly beyond", "all
// beyond", "-" where the limit is not required).
std::string_view verdictName(Verdict v);
// The report's last line on the whole project ("All required limits hold.").
std::string_view verdictSentence(Verdict v);
std::string_view varianceName(const ClosingAnalysis& c);
std::string_view worstCaseSideName(const std::optional<long double>& limit, WorstCaseSide side);

// `texts` give the warning beside measured values that do not look normal
// (stored code page); none: the German one.
void writeAnalysisReport(const AnalysisResult& result, std::string_view projectName, std::ostream& out,
                         const ReportTexts* texts = nullptr);

class OutputChannel;

inline constexpr const char* kAnalysisReportFile = "zam1mc.txt";

// The same report through the output channel, so that it goes to every report
// device (screen, printers, text, spreadsheet, HTML) with its page frame: opens
// the channel on `device` (kReportAsk asks or takes the default), writes, closes. False
// when nothing was written.
bool reportAnalysis(const AnalysisResult& result, std::string_view projectName, OutputChannel& out,
                    ReportDevice device = kReportAsk, const ReportTexts* texts = nullptr);

std::string analysisJson(const AnalysisResult& result, std::string_view projectName);

} // namespace zam1
