#pragma once
// The analysis written out: a plain text report in the style of the program's
// reports (a heading line, separator lines, one block per closing dimension),
// and JSON with every figure for other programs (fields in the README, schema in
// tests/analysis/analysis.schema.json).

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/report/output_settings.h"

namespace zam1 {

struct AnalysisResult;
struct ReportTexts;

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
