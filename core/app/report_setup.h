#pragma once
// What the reports take from the program's state: the output settings of the
// configuration and what page headers say about the project.

#include <string>
#include <string_view>

#include "core/report/output_channel.h"
#include "core/report/output_settings.h"

namespace zam1 {

struct ProjectTexts;

// The project's name as the command line gives it: the part before the last
// ".", without folder and drive ("c:\work\test.zm1" and "work/test.zm1" give "test").
std::string projectBaseName(std::string_view path);

// The heading of the project at `path` (a file-system name): its name for the
// page header in the stored code page, its base name, and the description lines
// (the three remark lines, then drawing number and name).
ProjectHeading projectHeading(const ProjectTexts& texts, const std::string& path, bool fromCommandLine);

struct ProgramState;

// The heading of the program's current project.
ProjectHeading currentProjectHeading(const ProgramState& state);

// The output channel of a menu command: the configured output settings, the
// program's texts and ports, the current project in its page headers.
struct CommandChannel {
    explicit CommandChannel(ProgramState& state);
    OutputChannel out;
};

} // namespace zam1
