#include "core/report/change_listing.h"

#include <string>
#include <string_view>

#include "core/session/program_identity.h"
#include "core/lang/language.h"
#include "core/records/documentation.h"
#include "core/report/output_channel.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr int kIndexNumbers = 1; // index style "1,2,3..."; every other style uses letters

std::string indexText(int i, int style) {
    if (style == kIndexNumbers) return intText(i);
    return std::string(1, static_cast<char>('a' + i - 1));
}

// A description may hold line breaks; each of its lines becomes a line of the listing.
void writeDescription(OutputChannel& out, std::string_view text) {
    while (true) {
        const std::size_t end = text.find_first_of("\r\n");
        out.writeLine(" " + std::string(text.substr(0, end)));
        if (end == std::string_view::npos) return;
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        text.remove_prefix(next);
        if (text.empty()) return;
    }
}

bool listChanges(const Documentation& docs, OutputChannel& out, ReportDevice device) {
    out.setTitle(out.texts().main.changeLog);
    const bool opened = out.openOutput(device, out.project().baseName + ".TXT");
    if (opened) {
        if (out.device() != kReportScreen) {
            out.writePageHeader();
        } else {
            out.cancelPendingHeader();
        }
        writeChangeListing(out, docs);
    }
    const bool ok = opened && out.closeOutput();
    out.setTitle(kProgramTitle);
    return ok;
}

} // namespace

void writeChangeListing(OutputChannel& out, const Documentation& docs) {
    const MainTexts& t = out.texts().main;
    const DrawingInfo& d = docs.drawing;
    out.emptyLine();
    out.writeLine(t.createdOn + d.drawnDate.str() + "     " + t.createdBy + ": " + d.drawnName.str());
    if (!d.replaces.empty()) {
        out.emptyLine();
        out.writeLine(t.replaces + ": " + textLeft(d.replaces.view(), 15));
    }
    if (!d.replacedBy.empty()) {
        out.emptyLine();
        out.writeLine(t.replacedBy + ": " + textLeft(d.replacedBy.view(), 15));
    }
    out.emptyLine();
    out.writeLine("  " + textLeft(t.index, 6) + "  " + textLeft(t.date, 10) + "   " + textLeft(t.drawn, 6) + "   " +
                  textLeft(t.change, 20));
    out.doubleLine();
    const int style = out.settings().indexStyle;
    for (int i = 1; i <= docs.changeCount && i <= kMaxChanges; ++i) {
        const ChangeRecord& c = docs.changes[static_cast<std::size_t>(i - 1)];
        out.writeLine("  " + indexText(i, style) + "     " + textLeft(c.changeDate.view(), 10) + "   " +
                      textLeft(c.changeEditor.view(), 6) + "   " + textLeft(c.changeId.view(), 20));
        writeDescription(out, c.changeDescription.view());
        out.thinLine();
    }
}

bool showChanges(const Documentation& docs, OutputChannel& out) { return listChanges(docs, out, kReportScreen); }

bool printChanges(const Documentation& docs, OutputChannel& out) { return listChanges(docs, out, kReportAsk); }

} // namespace zam1
