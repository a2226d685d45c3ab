#pragma once
// The sign-off report as a file: HTML written by the core, PDF laid out by the
// toolkit (an ExportPainter); the file's extension chooses. The command line
// ("--analyse --report FILE") and the Monte Carlo dialog both come here.

#include <optional>
#include <string>
#include <string_view>

namespace zam1 {

class ExportPainter;
struct AnalysisData;
struct ProgramState;
struct SignoffDocument;
struct SignoffHeading;

enum class SignoffFormat { Html, Pdf };

// By the extension, in any case: ".html" or ".pdf"; anything else is none.
std::optional<SignoffFormat> signoffFormatOf(std::string_view path);

// The project at `projectPath` as the page headers show it, with today's date
// from the state's clock.
SignoffHeading signoffHeading(const ProgramState& state, const std::string& projectPath);

// The document as the bytes of a file of `format`; false when the painter
// (needed for PDF; may be null) could not make it.
bool signoffBytes(const SignoffDocument& document, SignoffFormat format, ExportPainter* painter, std::string& bytes);

// The Monte Carlo dialog's "save the sign-off report": analyses the current
// project with `data` (the dialog's settings, which need not be saved yet),
// asks for the file (PDF or HTML; another name gets ".pdf"), and writes it
// safely. False, with the error flag set, when cancelled, when the chain holds
// numbers the analysis refuses, or when the file could not be made or written
// (the message shown says why; a file that was there stays as it was).
bool saveSignoffReport(ProgramState& state, const AnalysisData& data, ExportPainter* painter);

} // namespace zam1
