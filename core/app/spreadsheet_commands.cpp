#include "core/app/spreadsheet_commands.h"

#include <cerrno>
#include <fcntl.h>
#include <ostream>
#include <unistd.h>

#include "core/config/program_start.h"
#include "core/exchange/csv.h"
#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/exchange/xlsx_writer.h"
#include "core/files/overview.h"
#include "core/files/save_project.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/platform/file_messages.h"
#include "core/platform/path_parts.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/text/ascii_case.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

// The program a printout is handed to: it prints on the default printer and ends.
constexpr const char* kPrintProgram = "libreoffice";

const ExchangeTexts& words(const ProgramState& state) { return exchangeTexts(state.config.language); }

// Elements only, or elements and closing dimensions with their calculated values.
std::vector<Worksheet> projectSheets(ProgramState& state, bool withClosings) {
    std::vector<Worksheet> sheets{elementSheet(state.chain, state.texts, words(state))};
    if (withClosings) {
        state.chain.messages.clear();
        deriveElementValues(state.chain);
        sheets.push_back(closingSheet(state.chain, solveAllClosings(state.chain), state.texts, words(state)));
    }
    return sheets;
}

void showCalculationMessages(ProgramState& state) {
    const MessageList& messages = state.chain.messages;
    if (messages.empty()) return;
    std::string text = state.texts.main.calculationWarnings;
    for (int i = 0; i < messages.count(); ++i) text += "\n" + std::string(messages.at(i));
    state.prompter->showNote(text);
}

bool isCsv(const std::string& path) { return asciiLower(fileNamePart(path)).ends_with(".csv"); }

void showWriteFailure(ProgramState& state, const std::string& path, int result, int error) {
    state.prompter->showError(withSystemReason(
        utf8ToOem(path) + "\n" + writeErrorText(result) + "\n" + utf8ToOem(words(state).writeFailed), error));
    state.error.set();
}

int writeCsvFile(const ProgramState& state, const std::string& path, const Worksheet& sheet) {
    const CsvFormat format = csvFormat(state.config.decimalSeparator);
    return writeFileSafely(path, [&](std::ostream& out) { writeCsv(out, sheet, format); });
}

// Writes the sheets to `path` in the format its extension names; a failure is
// shown. CSV holds one table a file: a second sheet goes to resultsCsvPath.
bool writeSheets(ProgramState& state, const std::string& path, const std::vector<Worksheet>& sheets) {
    std::string written = path;
    int result = kIoOk;
    if (!isCsv(path)) {
        result = writeXlsx(path, sheets);
    } else {
        for (std::size_t i = 0; i < sheets.size() && result == kIoOk; ++i) {
            written = i == 0 ? path : resultsCsvPath(path, state.config.language);
            result = writeCsvFile(state, written, sheets[i]);
        }
        if (result == kIoOk) written = path + (sheets.size() > 1 ? ", " + std::string(fileNamePart(written)) : "");
    }
    if (result != kIoOk) {
        showWriteFailure(state, written, result, lastIoError());
        return false;
    }
    state.prompter->showStatus(utf8ToOem(written + " " + std::string(words(state).written)));
    return true;
}

// A workbook in the temporary folder under a name no file has yet: "<name>.xlsx",
// else "<name>-2.xlsx", "<name>-3.xlsx" ... The name is taken by creating the
// file exclusively, so a workbook the user keeps there is never written over.
// Empty (the failure shown) when none can be created.
std::string freshWorkbook(ProgramState& state, const std::string& name) {
    const std::string folder = state.config.tempDirectory;
    int error = 0;
    for (int n = 1; n <= 1000; ++n) {
        const std::string path = pathIn(folder, name + (n == 1 ? std::string() : "-" + intText(n)) + ".xlsx");
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        error = errno;
        if (error != EEXIST) break;
    }
    const std::string wanted = pathIn(folder, name + ".xlsx");
    showWriteFailure(state, wanted, ioFailure(error, false), error);
    return {};
}

// The project into a fresh workbook in the temporary folder (named after the
// project, "zam1" for one without a name). Empty when nothing was written; a
// workbook that could not be written leaves no empty file behind.
std::string temporaryWorkbook(ProgramState& state) {
    const std::string project = currentProjectPath(state);
    const std::string path = freshWorkbook(state, project.empty() ? std::string("zam1") : baseNameOf(project));
    if (path.empty()) return {};
    if (!writeSheets(state, path, projectSheets(state, true))) {
        ::unlink(path.c_str());
        return {};
    }
    return path;
}

bool startProgram(ProgramState& state, const std::string& program, const std::vector<std::string>& arguments) {
    if (state.desktop->startProgram(program, arguments)) return true;
    if (program == kDefaultViewerProgram) {
        state.prompter->showError(programStartFailure(state.texts.main, program, arguments));
    } else {
        state.prompter->showError(utf8ToOem(std::string(words(state).cannotStart) + ": " + program));
    }
    state.error.set();
    return false;
}

bool exportChosen(ProgramState& state, bool withClosings) {
    state.error.clear();
    FileChoice choice;
    choice.title = utf8ToOem(words(state).exportTitle);
    choice.filter = "Excel|*.xlsx|CSV|*.csv";
    choice.folder = state.file.dataDirectory;
    choice.defaultExtension = "xlsx";
    std::string path;
    if (!state.prompter->chooseSaveFile(choice, path) || path.empty()) {
        state.error.set();
        return false;
    }
    // Any other extension would be a workbook under a misleading name, or a project file overwritten.
    const std::string name = asciiLower(fileNamePart(path));
    if (!name.ends_with(".csv") && !name.ends_with(".xlsx")) path += ".xlsx";
    const std::vector<Worksheet> sheets = projectSheets(state, withClosings);
    if (!writeSheets(state, path, sheets)) return false;
    if (withClosings) showCalculationMessages(state);
    return true;
}

} // namespace

bool startSpreadsheet(ProgramState& state) {
    state.error.clear();
    const std::string path = temporaryWorkbook(state);
    if (path.empty()) return false;
    showCalculationMessages(state);
    startProgram(state, kDefaultViewerProgram, {path});
    return true;
}

bool exportSpreadsheet(ProgramState& state) { return exportChosen(state, true); }

std::string resultsCsvPath(const std::string& elementsPath, int language) {
    const std::string_view name = fileNamePart(elementsPath);
    const std::string stem = elementsPath.substr(0, elementsPath.size() - name.size()) + baseNameOf(elementsPath);
    return stem + std::string(exchangeTexts(language).resultsFileSuffix) + ".csv";
}

bool exportElementTableSpreadsheet(ProgramState& state) { return exportChosen(state, false); }

bool printSpreadsheet(ProgramState& state) {
    state.error.clear();
    const std::string path = temporaryWorkbook(state);
    if (path.empty()) return false;
    return startProgram(state, kPrintProgram, {"-p", path});
}

bool startOverviewSpreadsheet(ProgramState& state, const std::vector<OverviewRow>& rows) {
    state.error.clear();
    const std::string path = freshWorkbook(state, "zam1-overview");
    if (path.empty()) return false;
    if (!writeSheets(state, path, {overviewSheet(rows, words(state))})) {
        ::unlink(path.c_str());
        return false;
    }
    startProgram(state, kDefaultViewerProgram, {path});
    return true;
}

bool importSpreadsheet(ProgramState& state, ImportPreview& preview) {
    state.error.clear();
    const ExchangeTexts& w = words(state);
    FileChoice choice;
    choice.title = utf8ToOem(w.importTitle);
    choice.filter = "Excel, CSV|*.xlsx *.csv|Excel|*.xlsx|CSV|*.csv";
    choice.folder = state.file.dataDirectory;
    choice.defaultExtension = "xlsx";
    std::string path;
    if (!state.prompter->chooseOpenFile(choice, path) || path.empty()) {
        state.error.set();
        return false;
    }
    std::string bytes;
    if (const int result = readWholeFile(path, bytes, 64u << 20); result != kIoOk) {
        state.prompter->showError(withSystemReason(
            utf8ToOem(path + "\n" + std::string(w.unreadableFile)) + "\n" + writeErrorText(result), lastIoError()));
        state.error.set();
        return false;
    }
    const ElementImport imported = readElementTable(bytes, fileNamePart(path), w);
    if (imported.problem) {
        state.prompter->showError(utf8ToOem(std::string(fileNamePart(path)) + "\n" +
                                            importProblemText(*imported.problem, elementHeadings(state.texts), w)));
        state.error.set();
        return false;
    }
    const ElementTableChanges changes = compareElements(state.chain, imported.elements);
    if (changes.empty()) {
        state.prompter->showNote(utf8ToOem(w.nothingChanges));
        return false;
    }
    if (!preview.confirmImport(std::string(fileNamePart(path)), changes)) {
        state.error.set();
        return false;
    }
    applyElementImport(state.chain, imported.elements);
    state.file.modified = true;
    return true;
}

} // namespace zam1
