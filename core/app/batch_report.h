#pragma once
// "wzam1 project.zm1 /I": the standard report of a project as a text file, without
// a window and without a question.

#include <iosfwd>
#include <string>

namespace zam1 {

struct ProgramState;

// Reads the project, writes its standard report under the project's base name +
// ".txt" in the working directory, and returns the exit code: 0 when written, 1
// when the project could not be read or the report not written (nothing is then
// left behind), 2 when the report would be the project or its settings file
// (nothing written) or was written with closing dimensions that could not be
// calculated. Messages go to `err`; the calculation's warnings too, unless
// `quiet` ("/NOGUI") asks for silence. Questions and messages go through the
// state's prompter, which the command line has set to the batch prompter.
int runBatchReport(ProgramState& state, const std::string& projectPath, bool quiet, std::ostream& err);

} // namespace zam1
