#pragma once
// The main report: the element list, the closing dimensions by the classic and
// by the Gaussian method, and (standard form) the probability tables of every
// closing dimension. The excerpt leaves the tables out; the export form is the
// excerpt written straight into a named file.

#include <string>

namespace zam1 {

class Chain;
class OutputChannel;

inline constexpr const char* kStandardReportFile = "zam1std.txt";
inline constexpr const char* kExcerptReportFile = "zam1ausz.txt";

// Writes the report to the open channel. Empty element texts are replaced by
// dots in the chain itself, as the element table shows them afterwards.
void writeMainReport(Chain& chain, OutputChannel& out, bool statistics, bool newPage);

// Open the channel (device 0: ask or default), write, close. On the printers the
// user is asked whether the closing dimensions start on a new page. False when
// nothing was written.
bool writeStandardReport(Chain& chain, OutputChannel& out, int device = 0);
bool writeExcerptReport(Chain& chain, OutputChannel& out, int device = 0);
bool writeExportReport(Chain& chain, OutputChannel& out, const std::string& path);

} // namespace zam1
