#pragma once
// The main report: the element list, the closing dimensions by the classic and
// by the Gaussian method, and (standard form) the probability tables of every
// closing dimension. The excerpt leaves the tables out; the export form is the
// excerpt written straight into a named file.

#include <string>

#include "core/report/output_settings.h"

namespace zam1 {

class Chain;
class OutputChannel;

inline constexpr const char* kStandardReportFile = "zam1std.txt";
inline constexpr const char* kExcerptReportFile = "zam1ausz.txt";

// Writes the report to the open channel. Empty element texts are replaced by
// dots in the chain itself, as the element table shows them afterwards. A closing
// dimension whose structure cannot be resolved gets its ends and the structure
// error in place of numbers and no probability tables; the calculation's messages
// end the report. Returns the number of such closing dimensions.
int writeMainReport(Chain& chain, OutputChannel& out, bool statistics, bool newPage);

// Open the channel (kReportAsk: ask or default), write, close. On the printers the
// user is asked whether the closing dimensions start on a new page. False when
// nothing was written.
// `unresolved`, when given, receives the number of closing dimensions that could
// not be calculated.
bool writeStandardReport(Chain& chain, OutputChannel& out, ReportDevice device = kReportAsk,
                         int* unresolved = nullptr);
bool writeExcerptReport(Chain& chain, OutputChannel& out, ReportDevice device = kReportAsk);
bool writeExportReport(Chain& chain, OutputChannel& out, const std::string& path);

} // namespace zam1
