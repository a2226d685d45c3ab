#include "core/app/signoff_commands.h"

#include <sstream>

#include "core/analysis/analysis.h"
#include "core/analysis/input_check.h"
#include "core/analysis/signoff_report.h"
#include "core/app/batch_export.h"
#include "core/app/report_setup.h"
#include "core/files/save_project.h"
#include "core/lang/language.h"
#include "core/model/resolution.h"
#include "core/platform/file_messages.h"
#include "core/platform/file_name_text.h"
#include "core/platform/path_parts.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/text/ascii_case.h"
#include "core/text/codepage.h"

namespace zam1 {

std::optional<SignoffFormat> signoffFormatOf(std::string_view path) {
    const std::string name = asciiLower(fileNamePart(path));
    if (name.size() > 5 && name.ends_with(".html")) return SignoffFormat::Html;
    if (name.size() > 4 && name.ends_with(".pdf")) return SignoffFormat::Pdf;
    return std::nullopt;
}

SignoffHeading signoffHeading(const ProgramState& state, const std::string& projectPath) {
    const ProjectHeading h = projectHeading(state.projectTexts, projectPath, false);
    SignoffHeading heading;
    heading.projectName = fileNameToUtf8(h.baseName);
    for (const std::string& line : h.descriptionLines) {
        if (line.find_first_not_of(' ') != std::string::npos) heading.lines.push_back(oemToUtf8(line));
    }
    heading.date = oemToUtf8(todayText(state));
    return heading;
}

bool signoffBytes(const SignoffDocument& document, SignoffFormat format, ExportPainter* painter, std::string& bytes) {
    if (format == SignoffFormat::Pdf) return painter != nullptr && painter->signoffPdf(document, bytes);
    std::ostringstream html;
    writeSignoffHtml(document, html);
    bytes = html.str();
    return true;
}

bool saveSignoffReport(ProgramState& state, const AnalysisData& data, ExportPainter* painter) {
    state.error.clear();
    const std::string title = state.texts.main.saveSignoffReport;
    if (const auto problems = analysisInputProblems(state.chain, state.texts); !problems.empty()) {
        state.prompter->showError(problems.front());
        state.error.set();
        return false;
    }
    const std::string project = currentProjectPath(state);
    FileChoice choice;
    choice.title = title;
    choice.filter = "PDF|*.pdf|HTML|*.html";
    choice.folder = project.empty() ? state.file.dataDirectory : folderOf(project);
    choice.defaultExtension = "pdf";
    std::string path;
    if (!state.prompter->chooseSaveFile(choice, path) || path.empty()) {
        state.error.set();
        return false;
    }
    // Any other name would be a PDF under a misleading name, or the project overwritten.
    if (!signoffFormatOf(path)) path += ".pdf";
    const SignoffFormat format = *signoffFormatOf(path);
    deriveElementValues(state.chain);
    const AnalysisResult result = analyseChain(state.chain, data, data.options);
    const SignoffDocument document = signoffDocument(result, state.chain, data, signoffHeading(state, project));
    std::string bytes;
    if (!signoffBytes(document, format, painter, bytes)) {
        state.prompter->showError(title + ": " + utf8ToOem(path));
        state.error.set();
        return false;
    }
    return commitFile(path, bytes, *state.prompter, state.error);
}

} // namespace zam1
