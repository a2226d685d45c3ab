#pragma once
// "wzam1 project.zm1 --analyse [--method wc|rss|mc] [--samples N] [--seed S]
// [--json FILE|-] [--report FILE.pdf|FILE.html]": the analysis of every closing
// dimension, without a window; --report writes the sign-off report as well.

#include <iosfwd>
#include <string>
#include <vector>

namespace zam1 {

class ExportPainter;
struct AnalysisData;
struct ProgramState;

inline constexpr const char* kAnalyseSwitch = "--analyse";

// `arguments` are the command line's: the project, "--analyse", the options.
// Settings come from the project's sidecar file, the options override them. The
// text report (or with "--json -" the JSON) goes to `out`. Exit code: 0 every
// required limit holds, 3 one does not, 4 none fails but Monte Carlo leaves one
// undecided (the sample is too small), 1 the project or the sidecar cannot be
// read or the JSON file not written, 2 unusable arguments or no project before
// "--analyse" (with a usage line), a
// JSON file or report that is the project or its sidecar (nothing written), or closing
// dimensions that could not be calculated while no limit fails. A sign-off
// report that cannot be made or written ends the run with 1 (a file that was
// there stays); its PDF needs `painter`.
int runBatchAnalysis(ProgramState& state, const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err, ExportPainter* painter = nullptr);

// True when the arguments ask the analysis for a PDF sign-off report, which only an ExportPainter makes.
bool analysisNeedsPainter(const std::vector<std::string>& arguments);

// The project of a batch analysis or allocation and its settings file
// (project.zm1.json): the project read as named, its numbers checked, the
// settings file's notes on `err`. False, with the reason on `err`, when either
// cannot be used; the run then ends with exit code 1.
bool readProjectForAnalysis(ProgramState& state, const std::string& projectPath, AnalysisData& data,
                            std::ostream& err);

} // namespace zam1
