#pragma once
// Where the lines of a report go, one class per kind of device: text files
// (screen, file, editor, DOS file), printers (printer port, desktop printer, PDF),
// spreadsheet text and HTML. The output channel formats the lines; a sink knows
// its target, how a page ends on it, and what happens when the report is done.
// The device numbers and the sink of each live in one table (makeReportSink).

#include <memory>
#include <string>
#include <string_view>

namespace zam1 {

enum ReportDevice : int;
struct LanguageTexts;
struct OutputPorts;
struct OutputSettings;
struct ProjectHeading;

// How the channel shapes lines for a device.
enum class LineFormat {
    Paged,        // margin, page headers, page breaks
    Spreadsheet,  // no separators, no margin, no pages
    Html,         // "<br>" lines and tables in the Windows code page
};

// What a sink may use while it opens, commits and finishes.
struct SinkContext {
    const OutputSettings& settings;
    const LanguageTexts& texts;
    OutputPorts& ports;
    const ProjectHeading& project;
    const std::string& fileName;  // the report's default file name
    int& outputCounter;           // spreadsheet outputs of this channel so far
};

class ReportSink {
public:
    virtual ~ReportSink();
    ReportSink() = default;
    ReportSink(const ReportSink&) = delete;
    ReportSink& operator=(const ReportSink&) = delete;

    virtual LineFormat format() const { return LineFormat::Paged; }
    // Chooses and creates the target. False when a dialog was cancelled or the
    // target could not be created (the message is shown).
    virtual bool open(SinkContext& c) = 0;
    // What ends a page on this device.
    virtual std::string_view formFeed() const { return {}; }
    // A finished page; the printer port sends it at once and empties `bytes`.
    // False on a write error (the message is shown).
    virtual bool pageDone(SinkContext& c, std::string& bytes) {
        (void)c;
        (void)bytes;
        return true;
    }
    // The text printer asks before each page when the user wanted a pause.
    virtual bool pausesBeforePage() const { return false; }
    // Printed output: the main report asks whether each result starts a new page.
    virtual bool isPrinted() const { return false; }
    // Writes the whole report to the target. False on failure (message shown).
    virtual bool commit(SinkContext& c, const std::string& bytes) = 0;
    // The device's end action after the commit: show, print, start a program.
    virtual bool finish(SinkContext& c, const std::string& bytes) {
        (void)c;
        (void)bytes;
        return true;
    }

    // The file the lines go to (the HTML comment and the spreadsheet header name it).
    const std::string& target() const { return m_target; }
    // The file a user keeps from this output; empty when none.
    const std::string& lastOutputFile() const { return m_lastOutput; }

protected:
    // "$OUT1.TMP" .. "$OUT10.TMP" in the work folder, removed with the sink.
    bool reserveTemporary(SinkContext& c);
    // The save dialog on the report's default name, or on `suggested`.
    bool saveDialog(SinkContext& c, std::string_view extension, std::string& path, const std::string& suggested = {});
    bool commitTarget(SinkContext& c, std::string_view bytes);
    // A Windows-code-page copy of the report.
    bool writeWindowsCopy(SinkContext& c, const std::string& path, const std::string& bytes);

    std::string m_target;
    std::string m_lastOutput;
    bool m_temporary = false;
};

// The sink of a device number (1..9 and the PDF file); an unknown number gets the screen.
std::unique_ptr<ReportSink> makeReportSink(ReportDevice device);
// Device "Datei" on exactly this file, with no end action: the export form of the main report.
std::unique_ptr<ReportSink> makeNamedFileSink(std::string_view path);

// Shared by the sinks and the channel: the file-layer messages of a failed create or write.
void reportCreateError(SinkContext& c, int ioResult, const std::string& path);
void reportWriteError(SinkContext& c, int ioResult, const std::string& path);

} // namespace zam1
