#pragma once
// The one output channel of the text reports. A report opens it on a device,
// writes lines, and closes it; the channel adds margins, page frames and page
// breaks on the text devices, drops separators on the spreadsheet and HTML
// devices, turns lines into HTML, and at the end hands the finished file to the
// desktop (text window, printer, editor, browser) or just leaves it written.
//
// Lines are collected in memory and the file is committed once at the end, so a
// report that fails or is cancelled half-way leaves no half-written file behind.
// Only the printer port is written page by page.
//
// Texts come in the stored code page (CP850); the HTML device converts them to
// Windows-1252 and escapes what would be markup.

#include <memory>
#include <string>
#include <string_view>

#include "core/report/output_settings.h"
#include "core/report/report_sinks.h"

namespace zam1 {

class Clock;
class Desktop;
class ErrorFlag;
class MessageList;
class Prompter;
struct LanguageTexts;

struct OutputPorts {
    Prompter& prompter;
    Desktop& desktop;
    const Clock& clock;
    ErrorFlag& error;
};

class OutputChannel {
public:
    OutputChannel(const OutputSettings& settings, const LanguageTexts& texts, OutputPorts ports);
    ~OutputChannel();
    OutputChannel(const OutputChannel&) = delete;
    OutputChannel& operator=(const OutputChannel&) = delete;

    void setProject(ProjectHeading heading) { m_project = std::move(heading); }
    // The title of the page header; the program title unless a report sets its own.
    void setTitle(std::string_view title) { m_title = title; }

    // Device 0 asks (when configured) or takes the default. `fileName` is the
    // report's default file; a name without "." gets ".txt". False when a dialog
    // was cancelled or the file could not be created (error flag set, message shown).
    bool openOutput(ReportDevice device, std::string_view fileName);
    // Device "Datei" on exactly this file, without questions and without the end
    // action: the export form of the main report.
    bool openNamedFile(std::string_view path);

    void writeLine(std::string_view text);
    void writePart(std::string_view text);
    void writeRow(std::string_view text);
    void writeWrapped(std::string_view text);
    void pageBreak();
    void writePageHeader();
    // For a report that writes its own first header, or none on this device.
    void cancelPendingHeader() { m_headerPending = false; }
    void writeMessages(const MessageList& messages);
    // Finishes the page and the HTML, commits the file and runs the device's end
    // action. False when anything failed or the report was aborted on the way.
    bool closeOutput();
    // Drops what the open report wrote (a question was cancelled); sets the error flag.
    void abortOutput() { abort(); }

    void emptyLine() { writeLine({}); }
    void thinLine();
    void doubleLine();

    // Raw HTML for the report table (HTML device only; ignored elsewhere).
    void writeMarkup(std::string_view html);
    void closeTable();
    // Converts a cell text for HTML: Windows code page, markup characters escaped.
    static std::string htmlText(std::string_view oem);
    // Escapes &, <, > and " in a text that is already in the Windows code page.
    static std::string escapeHtml(std::string_view ansi);

    bool isOpen() const { return m_state == State::Open; }
    ReportDevice device() const { return m_device; }
    bool isSpreadsheet() const { return m_format == LineFormat::Spreadsheet; }
    bool isHtml() const { return m_format == LineFormat::Html; }
    // A printer or the PDF file: the main report asks whether each result starts a new page.
    bool isPrinted() const { return m_sink && m_sink->isPrinted(); }
    // The file of the last output (for devices that keep one).
    const std::string& lastOutputFile() const { return m_lastOutputFile; }
    // What the open report has collected so far.
    const std::string& contents() const { return m_buffer; }

    const OutputSettings& settings() const { return m_settings; }
    const LanguageTexts& texts() const { return m_texts; }
    const ProjectHeading& project() const { return m_project; }
    Prompter& prompter() { return m_ports.prompter; }
    ErrorFlag& error() { return m_ports.error; }
    std::string todayText() const;
    std::string timeText() const;

private:
    enum class State { Closed, Open, Aborted };

    // output_channel.cpp
    bool isSeparator(std::string_view text) const;
    bool beginLine();
    void endPage();
    void formFeed();
    void put(std::string_view bytes);
    void putLine(std::string_view bytes);
    void abort();
    // page_frame.cpp
    void putHeaderLine(std::string_view text);
    std::string framedRow() const;
    void writeHtmlSkeleton();
    void writeSpreadsheetHeader();
    // output_devices.cpp
    bool chooseDevice(ReportDevice& device);
    void reset();
    bool startOutput();
    SinkContext sinkContext();
    void releaseTarget();

    OutputSettings m_settings;
    const LanguageTexts& m_texts;
    OutputPorts m_ports;
    ProjectHeading m_project;
    std::string m_title;
    std::string m_thin;            // the separators of the configured style
    std::string m_double;

    State m_state = State::Closed;
    ReportDevice m_device = kReportAsk;
    LineFormat m_format = LineFormat::Paged;
    std::unique_ptr<ReportSink> m_sink; // where the lines of the open report go
    bool m_namedFile = false;      // export form: no end action
    std::string m_fileName;        // the report's default file name
    std::string m_buffer;          // what the report wrote so far
    bool m_midLine = false;        // writePart left the line open
    bool m_tableOpen = false;      // HTML table opened by writeRow
    bool m_headerPending = false;  // the next line starts with the page header
    int m_lineCount = 0;
    int m_page = 1;
    int m_outputCounter = 0;       // spreadsheet outputs of this run
    std::string m_lastOutputFile;
};

} // namespace zam1
