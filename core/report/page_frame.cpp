// The frame around a report: the page header of the paged devices, the HTML
// skeleton, the spreadsheet header, and the message section.
#include <algorithm>

#include "core/session/program_identity.h"
#include "core/lang/language.h"
#include "core/messages/message_file.h"
#include "core/model/records.h"
#include "core/platform/path_parts.h"
#include "core/platform/prompter.h"
#include "core/report/output_channel.h"
#include "core/report/separators.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr int kMessageWidth = 37; // spreadsheet message column

// Writes `text` into `row` from 1-based column `column`, never over the right frame side.
void place(std::string& row, int column, std::string_view text) {
    const auto from = static_cast<std::size_t>(column - 1);
    const std::size_t room = row.size() - 1 - from;
    row.replace(from, std::min(text.size(), room), text.substr(0, room));
}

std::string programAndVersion() {
    return std::string(kProgramTitle) + " " + std::string(kProgramVersion);
}

std::string commentText(std::string_view path) {
    // "--" would end the comment early.
    std::string out = OutputChannel::escapeHtml(utf8ToAnsi(path));
    for (std::size_t at = out.find("--"); at != std::string::npos; at = out.find("--", at)) out.replace(at, 2, "- ");
    return out;
}

} // namespace

void OutputChannel::putHeaderLine(std::string_view text) {
    if (text == kSuppressedLine) return;
    ++m_lineCount;
    put("       ");
    putLine(text);
}

std::string OutputChannel::framedRow() const {
    std::string row(kSeparatorWidth, ' ');
    row.front() = row.back() = frameSide(m_settings.separatorStyle);
    return row;
}

void OutputChannel::writePageHeader() {
    m_headerPending = false; // written now, by request or because it was due
    if (!isOpen() || isHtml() || isSpreadsheet()) return;
    if (m_sink->pausesBeforePage()) {
        bool go = false;
        if (!m_ports.prompter.askYesNo(m_texts.main.insertSheet, go) || !go) {
            abort();
            return;
        }
    }
    const int style = m_settings.separatorStyle;
    for (int i = 0; i < m_settings.topMarginLines; ++i) putHeaderLine({});
    putHeaderLine(separatorLine(style, Separator::FrameTop));

    std::string row = framedRow();
    place(row, 6, m_title);
    place(row, 64, "Bl." + intRight(m_page, 2));
    putHeaderLine(row);

    row = framedRow();
    place(row, 53, todayText());
    place(row, 64, timeText());
    putHeaderLine(row);

    row = framedRow();
    std::string_view name = m_project.fileName;
    if (name.size() + 6 >= static_cast<std::size_t>(kSeparatorWidth)) name = fileNamePart(name);
    place(row, 6, name);
    putHeaderLine(row);

    putHeaderLine(separatorLine(style, Separator::FrameMiddle));
    for (std::size_t i = 0; i < m_project.descriptionLines.size(); ++i) {
        if (i == 3 && m_project.descriptionLines[i].empty()) break;
        row = framedRow();
        place(row, 6, m_project.descriptionLines[i]);
        putHeaderLine(row);
    }
    putHeaderLine(separatorLine(style, Separator::FrameBottom));
}

void OutputChannel::writeHtmlSkeleton() {
    putLine("<!-- " + commentText(m_sink->target()) + " -->");
    putLine("<HTML>");
    putLine("<head><title>" + htmlText(programAndVersion()) + "</title></head>");
    putLine("<BODY BGCOLOR=\"C0C0C0\">");
    putLine("<hr>");
    putLine("<h4>" + htmlText(programAndVersion()) + "</h4>");
    putLine("<hr>");
    for (const std::string& line : m_project.descriptionLines) putLine("<h5>" + htmlText(line) + "</h5>");
    putLine("<hr>");
}

void OutputChannel::writeSpreadsheetHeader() {
    putLine(programAndVersion() + " " + todayText() + "\t" + timeText());
    putLine(utf8ToOem(m_sink->target()));
    for (std::size_t i = 0; i < 3; ++i) putLine(m_project.descriptionLines[i]);
    putLine(" ");
}

void OutputChannel::writeMessages(const MessageList& messages) {
    if (!isOpen() || messages.empty()) return;
    emptyLine();
    writeLine(m_texts.report.messagesHeading);
    if (!isSpreadsheet()) {
        doubleLine();
        emptyLine();
        thinLine();
    }
    const MessageFile file(messageFilePath(m_settings.messageFolder));
    for (int i = 0; i < messages.count(); ++i) {
        const std::string_view message = messages.at(i);
        const MessageExplanation e = file.explain(message, m_texts.main.noDescription);
        if (isSpreadsheet()) {
            writeLine(textLeft(message, kMessageWidth) + e.cause + "\t" + e.remedy);
            continue;
        }
        writeRow(message);
        writeWrapped(e.cause);
        writeWrapped(e.remedy);
        if (isHtml()) {
            closeTable();
            emptyLine();
        } else if (m_settings.separatorStyle != 4) {
            thinLine();
        }
    }
}

} // namespace zam1
