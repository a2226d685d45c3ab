#pragma once
// The analysis written out: a plain text report in the style of the program's
// reports (a heading line, separator lines, one block per closing dimension),
// and JSON with every figure for other programs (fields in the README, schema in
// tests/analysis/analysis.schema.json).

#include <iosfwd>
#include <string>
#include <string_view>

namespace zam1 {

struct AnalysisResult;

void writeAnalysisReport(const AnalysisResult& result, std::string_view projectName, std::ostream& out);

std::string analysisJson(const AnalysisResult& result, std::string_view projectName);

} // namespace zam1
