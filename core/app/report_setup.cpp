#include "core/app/report_setup.h"

#include "core/files/save_project.h"
#include "core/platform/path_parts.h"
#include "core/records/documentation.h"
#include "core/report/output_channel.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"

namespace zam1 {

std::string projectBaseName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    if (path.size() >= 2 && path[1] == ':') path.remove_prefix(2);
    return withoutExtension(path);
}

ProjectHeading currentProjectHeading(const ProgramState& state) {
    return projectHeading(state.projectTexts, currentProjectPath(state), state.file.commandLineProject);
}

namespace {

OutputSettings commandOutputSettings(const ProgramState& state) {
    OutputSettings settings = outputSettingsFrom(state.config);
    settings.workFolder = temporaryFolder(state);
    return settings;
}

} // namespace

CommandChannel::CommandChannel(ProgramState& state)
    : out(commandOutputSettings(state), state.texts, {*state.prompter, *state.desktop, clockOf(state), state.error}) {
    out.setProject(currentProjectHeading(state));
}

ProjectHeading projectHeading(const ProjectTexts& t, const std::string& path, bool fromCommandLine) {
    ProjectHeading h;
    h.fileName = utf8ToOem(path);
    h.baseName = projectBaseName(path);
    h.fromCommandLine = fromCommandLine;
    for (std::size_t i = 0; i < 3; ++i) h.descriptionLines[i] = t.remarkLines[i].str();
    std::string drawing = t.drawingNumber.str();
    if (!drawing.empty() && !t.drawingName.empty()) drawing += "  ";
    h.descriptionLines[3] = drawing + t.drawingName.str();
    return h;
}

} // namespace zam1
