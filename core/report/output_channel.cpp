#include "core/report/output_channel.h"

#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/platform/clock.h"
#include "core/records/documentation.h"
#include "core/report/separators.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::string_view kMargin = "       "; // seven blanks on the text devices
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kWrapAbove = 72;
constexpr std::size_t kWrapPiece = 64;

} // namespace

OutputChannel::OutputChannel(const OutputSettings& settings, const LanguageTexts& texts, OutputPorts ports)
    : m_settings(settings), m_texts(texts), m_ports(ports), m_title(kProgramTitle),
      m_thin(separatorLine(settings.separatorStyle, Separator::Thin)),
      m_double(separatorLine(settings.separatorStyle, Separator::Double)) {
    if (m_settings.linesPerPage < 5) m_settings.linesPerPage = 66;
}

OutputChannel::~OutputChannel() { releaseTarget(); }

std::string OutputChannel::todayText() const { return dateText(m_ports.clock.now(), m_settings.dateCode); }

std::string OutputChannel::timeText() const {
    const DateTime now = m_ports.clock.now();
    return intZero(now.hour, 2) + ":" + intZero(now.minute, 2);
}

std::string OutputChannel::htmlText(std::string_view oem) { return escapeHtml(oemToAnsi(oem)); }

std::string OutputChannel::escapeHtml(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (const char c : ansi) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

bool OutputChannel::isSeparator(std::string_view text) const {
    if (text == kSuppressedLine || text == m_thin || text == m_double) return true;
    // The frame lines of a page header count as separators where there are no pages.
    return text.size() == static_cast<std::size_t>(kSeparatorWidth) &&
           (text == separatorLine(m_settings.separatorStyle, Separator::FrameTop) ||
            text == separatorLine(m_settings.separatorStyle, Separator::FrameBottom) ||
            text == separatorLine(m_settings.separatorStyle, Separator::FrameMiddle));
}

void OutputChannel::put(std::string_view bytes) { m_buffer.append(bytes); }

void OutputChannel::putLine(std::string_view bytes) {
    m_buffer.append(bytes);
    m_buffer.append(kLineEnd);
}

void OutputChannel::thinLine() { writeLine(m_thin); }
void OutputChannel::doubleLine() { writeLine(m_double); }

// Counts the line about to be written on a paged device and ends the page first
// when it is full. False when the report was aborted on the way.
bool OutputChannel::beginLine() {
    if (m_headerPending) {
        m_headerPending = false;
        writePageHeader();
        if (!isOpen()) return false;
        ++m_lineCount;
        putLine(kMargin);
    }
    ++m_lineCount;
    if (m_lineCount >= m_settings.linesPerPage) {
        endPage();
        if (!isOpen()) return false;
        ++m_lineCount;
    }
    return true;
}

void OutputChannel::endPage() {
    if (!m_settings.pageFrame) {
        formFeed();
        m_lineCount = 0;
        ++m_page;
        return;
    }
    pageBreak();
    if (!m_headerPending || !isOpen()) return;
    m_headerPending = false;
    writePageHeader();
    if (!isOpen()) return;
    ++m_lineCount;
    putLine(kMargin);
}

void OutputChannel::formFeed() { put(m_sink->formFeed()); }

void OutputChannel::writeLine(std::string_view text) {
    if (!isOpen()) return;
    if (m_midLine) {
        m_midLine = false;
        putLine(isHtml() ? htmlText(text) : std::string(text));
        return;
    }
    if (isSpreadsheet()) {
        if (!isSeparator(text)) putLine(text);
        return;
    }
    if (isHtml()) {
        closeTable();
        ++m_lineCount;
        if (!isSeparator(text)) putLine("<br>" + htmlText(text));
        return;
    }
    if (text == kSuppressedLine || !beginLine()) return;
    put(kMargin);
    putLine(text);
}

void OutputChannel::writePart(std::string_view text) {
    if (!isOpen()) return;
    if (m_midLine) {
        put(isHtml() ? htmlText(text) : std::string(text));
        return;
    }
    if (isSpreadsheet()) {
        if (isSeparator(text)) return;
    } else if (isHtml()) {
        closeTable();
        ++m_lineCount;
        if (isSeparator(text)) return;
        put("<br>" + htmlText(text));
        m_midLine = true;
        return;
    } else {
        if (text == kSuppressedLine || !beginLine()) return;
        put(kMargin);
    }
    put(text);
    m_midLine = true;
}

void OutputChannel::writeRow(std::string_view text) {
    if (!isOpen()) return;
    if (!isHtml()) {
        writeLine(text);
        return;
    }
    if (m_midLine) writeLine({});
    if (!m_tableOpen) {
        putLine("<TABLE BORDER = \"2\" WIDTH= \"100%\">");
        m_tableOpen = true;
    }
    putLine("<TR><TD>" + htmlText(text) + "</TD></TR>");
}

void OutputChannel::writeWrapped(std::string_view text) {
    if (text.size() <= kWrapAbove || isSpreadsheet() || isHtml()) {
        writeRow(text);
        return;
    }
    while (text.size() > kWrapPiece) {
        const std::size_t blank = text.substr(0, kWrapPiece).rfind(' ');
        const std::size_t cut = (blank == std::string_view::npos || blank == 0) ? kWrapPiece : blank + 1;
        writeRow(text.substr(0, cut));
        text.remove_prefix(cut);
    }
    if (!text.empty()) writeRow(text);
}

void OutputChannel::pageBreak() {
    if (!isOpen()) return;
    if (m_midLine) writeLine({});
    if (isHtml()) {
        closeTable();
        return;
    }
    if (isSpreadsheet()) return;
    if (m_settings.separatorStyle == 4 && m_lineCount < m_settings.linesPerPage / 2) return;
    formFeed();
    m_lineCount = 0;
    ++m_page;
    SinkContext context = sinkContext();
    if (!m_sink->pageDone(context, m_buffer)) {
        abort();
        return;
    }
    if (m_settings.headerEveryPage && m_settings.pageFrame) m_headerPending = true;
}

void OutputChannel::writeMarkup(std::string_view html) {
    if (isOpen() && isHtml()) putLine(html);
}

void OutputChannel::closeTable() {
    if (!m_tableOpen) return;
    m_tableOpen = false;
    putLine("</TABLE>");
}

void OutputChannel::abort() {
    releaseTarget();
    m_state = State::Aborted;
    m_ports.error.set();
}

} // namespace zam1
