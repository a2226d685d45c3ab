#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/platform/file_messages.h"
#include "core/text/file_numbers.h"
#include "core/files/project_file.h"
#include "core/model/chain.h"
#include "core/platform/prompter.h"
#include "core/records/documentation.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

// Builds the file line by line; every line ends in CR LF.
class LineWriter {
public:
    LineWriter(const NumberFormat& format, std::size_t expectedBytes) : m_format(format) {
        m_out.reserve(expectedBytes);
    }

    void text(std::string_view line) {
        m_out += line;
        m_out += "\r\n";
    }
    // A text that must stay on its one line: a line break in it would shift every
    // later line of the file.
    void singleLine(std::string_view line) {
        for (char c : line) m_out += (c == '\r' || c == '\n') ? ' ' : c;
        m_out += "\r\n";
    }
    void integer(long long value) { text(intText(value)); }
    void real(long double value) { text(realLineText(value, m_format)); }
    void dashes(int count) { text(std::string(static_cast<std::size_t>(count), '-')); }
    // One field of a field line; the bar that ends it may not appear inside it.
    void field(std::string_view value) {
        for (char c : value) m_out += (c == '|' || c == '\r' || c == '\n') ? ' ' : c;
        m_out += '|';
    }
    void shortField(long double value) { field(shortNumberText(value, m_format)); }
    void endLine() { m_out += "\r\n"; }

    std::string take() { return std::move(m_out); }

private:
    NumberFormat m_format;
    std::string m_out;
};

// A description keeps its line breaks as "|" so that it stays on one file line;
// CR LF, CR and LF all count as one break.
std::string oneLineDescription(std::string_view description) {
    std::string out;
    out.reserve(description.size());
    for (std::size_t i = 0; i < description.size(); ++i) {
        const char c = description[i];
        if (c == '\r' && i + 1 < description.size() && description[i + 1] == '\n') ++i;
        out += (c == '\r' || c == '\n') ? '|' : c;
    }
    return out;
}

void writeHeader(LineWriter& w, const ProjectTexts& texts, const ProjectFileOptions& options) {
    w.dashes(65);
    w.text(std::string("ZAM1 - Toleranzrechnung   #") + "Projektdatei");
    w.text(std::string("Version ") + ZAM1_VERSION + "    " + "ZAM1 Projekt");
    w.singleLine("Benutzer: " + utf8ToOem(options.userName).substr(0, 60));
    w.dashes(65);
    for (const auto& line : texts.remarkLines) w.singleLine(line);
}

void writeElements(LineWriter& w, const Chain& chain) {
    w.integer(chain.elementCount());
    w.text("Elements");
    w.dashes(8);
    for (int n = 1; n <= chain.elementCount(); ++n) {
        const Element& e = chain.element(n);
        w.integer(e.predecessor);
        w.text(e.positive != 0 ? "+" : "-");
        w.real(e.distance);
        w.real(e.upperDev);
        w.real(e.lowerDev);
        w.singleLine(e.isoLetters);
        w.integer(e.isoGrade);
        w.singleLine(e.text);
        w.dashes(11);
    }
}

void writeClosingDimensions(LineWriter& w, const Chain& chain) {
    w.text("Closing Dimensions");
    w.integer(chain.closingCount());
    w.dashes(18);
    for (int k = 1; k <= chain.closingCount(); ++k) {
        const ClosingDimension& c = chain.closing(k);
        w.integer(c.fromElement);
        w.integer(c.toElement);
        w.singleLine(c.text);
        w.singleLine(c.remark);
        w.text("----------- ");
    }
}

void writeDocumentation(LineWriter& w, const Documentation& docs) {
    w.text("\x8E" "NDERUNGEN"); // "ÄNDERUNGEN" in the OEM code page
    const int changeCount = std::clamp(docs.changeCount, 0, kMaxChanges);
    w.integer(changeCount);
    w.dashes(20);
    for (int i = 0; i < changeCount; ++i) {
        const ChangeRecord& r = docs.changes[static_cast<std::size_t>(i)];
        w.singleLine(r.changeId);
        w.singleLine(r.changeDate);
        w.singleLine(r.changeEditor);
        w.text(oneLineDescription(r.changeDescription));
        w.dashes(14);
    }
    const DrawingInfo& info = docs.drawing;
    for (const auto* entry : {&info.checkedDate, &info.checkedName, &info.standardsDate, &info.standardsName,
                              &info.approvalDate, &info.approvalName}) {
        w.field(*entry);
    }
    const int rowCount = std::clamp(info.textRowCount, 0, kMaxTextRows);
    w.field(intText(rowCount));
    w.field("");
    w.endLine();
    w.singleLine(info.drawnDate);
    w.singleLine(info.replaces);
    w.singleLine(info.replacedBy);
    w.singleLine(info.drawnName);
    for (int i = 0; i < rowCount; ++i) {
        const DrawingTextRow& row = info.textRows[static_cast<std::size_t>(i)];
        w.shortField(row.x);
        w.shortField(row.y);
        w.shortField(row.h);
        w.shortField(row.phi);
        w.field(row.text);
        w.field("");
        w.endLine();
    }
    w.text("Dokumente");
    w.integer(kDocumentSlots);
    w.dashes(20);
    for (const DocumentSlot& slot : docs.documents) {
        w.singleLine(slot.programPath);
        w.singleLine(slot.documentPath);
        w.dashes(14);
    }
}

} // namespace

std::string projectFileText(const Chain& chain, const ProjectTexts& texts, const Documentation& docs,
                            const ProjectFileOptions& options) {
    // Room for every line at its longest, so the text is never moved while it grows.
    const auto expected = 4096 + static_cast<std::size_t>(chain.elementCount()) * 200 +
                          static_cast<std::size_t>(chain.closingCount()) * 100 + kMaxChanges * 320;
    LineWriter w(options.format, expected);
    writeHeader(w, texts, options);
    writeElements(w, chain);
    writeClosingDimensions(w, chain);
    w.real(chain.productionSigma);
    writeDocumentation(w, docs);
    w.singleLine(texts.drawingName);
    w.singleLine(texts.drawingNumber);
    w.singleLine(texts.drawingName2);
    for (int n = 1; n <= chain.elementCount(); ++n) w.singleLine(chain.element(n).remark);
    w.integer(chain.decimals);
    return w.take();
}

bool writeProjectFile(const std::string& path, const Chain& chain, const ProjectTexts& texts,
                      const Documentation& docs, const ProjectFileOptions& options, Prompter& prompter,
                      ErrorFlag& error) {
    if (!commitFile(path, projectFileText(chain, texts, docs, options), prompter, error)) return false;
    prompter.showStatus(utf8ToOem(path) + " " + zam1::texts().messages.saved);
    return true;
}

} // namespace zam1

namespace zam1 {

ProjectFileOptions projectFileOptions(const ProgramState& state) {
    ProjectFileOptions options;
    options.format = state.config.numberFormat();
    if (const char* user = std::getenv("USER")) options.userName = user;
    return options;
}

bool writeProjectFile(ProgramState& state, const std::string& path) {
    if (!writeProjectFile(path, state.chain, state.projectTexts, state.documentation, projectFileOptions(state),
                          *state.prompter, state.error)) {
        return false;
    }
    state.file.filesOfThisRun.insert(normalPath(path));
    state.file.stampsOfThisRun[normalPath(path)] = fileStamp(path);
    return true;
}

} // namespace zam1
