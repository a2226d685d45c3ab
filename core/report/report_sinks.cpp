// The report devices: where the lines go and what happens when a report is done.
#include "core/report/report_sinks.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/config/program_start.h"
#include "core/lang/language.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/platform/file_messages.h"
#include "core/platform/path_parts.h"
#include "core/platform/prompter.h"
#include "core/report/output_channel.h"
#include "core/report/output_settings.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr int kTemporaryNames = 10;
constexpr std::string_view kPageEndLine = "\f\r\n";

bool executable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// A configured program: a path, or a name looked up on PATH.
bool programExists(const std::string& program) {
    if (program.empty()) return false;
    if (program.find('/') != std::string::npos) return executable(program);
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
    while (true) {
        const std::size_t colon = dirs.find(':');
        const std::string dir(dirs.substr(0, colon));
        if (executable((dir.empty() ? std::string(".") : dir) + "/" + program)) return true;
        if (colon == std::string_view::npos) return false;
        dirs.remove_prefix(colon + 1);
    }
}

// Starts the configured editor or browser on `file`; a missing program is said, not fatal.
bool startConfigured(SinkContext& c, const std::string& program, const std::string& file) {
    if (!programExists(program)) {
        c.ports.prompter.showError(utf8ToOem(program) + " not found");
        return true;
    }
    if (c.ports.desktop.startProgram(program, {file})) return true;
    c.ports.prompter.showError(programStartFailure(c.texts.main, program, {file}));
    return false;
}

std::string projectBase(const SinkContext& c) {
    return c.project.baseName.empty() ? std::string(kShortName) : c.project.baseName;
}

std::string outwinPath(const SinkContext& c) { return pathIn(c.settings.workFolder, "outwin.txt"); }

// Screen, editor: a temporary file that the desktop shows or the editor gets a copy of.
class ScreenSink final : public ReportSink {
public:
    bool open(SinkContext& c) override { return reserveTemporary(c); }
    std::string_view formFeed() const override { return kPageEndLine; }
    bool commit(SinkContext& c, const std::string& bytes) override { return commitTarget(c, bytes); }
    bool finish(SinkContext& c, const std::string& bytes) override {
        // The text window reads the file before it returns; the file goes right after.
        c.ports.desktop.showTextFile(m_target, c.fileName);
        if (c.settings.copyScreenToClipboard) c.ports.desktop.copyToClipboard(oemToUtf8(bytes));
        return true;
    }
};

class TextProgramSink final : public ReportSink {
public:
    bool open(SinkContext& c) override { return reserveTemporary(c); }
    bool commit(SinkContext& c, const std::string& bytes) override { return commitTarget(c, bytes); }
    bool finish(SinkContext& c, const std::string& bytes) override {
        const std::string outwin = outwinPath(c);
        if (!writeWindowsCopy(c, outwin, bytes)) return false;
        m_lastOutput = outwin;
        return startConfigured(c, c.settings.textProgram, outwin);
    }
};

// "Datei" from a save dialog (or the export's given file), and the fixed "OUTDOS.TXT".
class TextFileSink final : public ReportSink {
public:
    enum class Kind { Chosen, Named, DosFile };
    explicit TextFileSink(Kind kind, std::string_view path = {}) : m_kind(kind) { m_target = path; }

    bool open(SinkContext& c) override {
        if (m_kind == Kind::Chosen) return saveDialog(c, "txt", m_target);
        if (m_kind == Kind::DosFile) m_target = pathIn(c.settings.workFolder, "OUTDOS.TXT");
        return true;
    }
    bool commit(SinkContext& c, const std::string& bytes) override {
        m_lastOutput = m_target;
        return commitTarget(c, bytes);
    }
    bool finish(SinkContext& c, const std::string& bytes) override {
        if (m_kind != Kind::Chosen) return true;
        if (!writeWindowsCopy(c, outwinPath(c), bytes)) return false;
        const MainTexts& t = c.texts.main;
        c.ports.prompter.showNote(utf8ToOem(m_target) + " " + t.andWindowsFile + " outwin.txt " + t.filesCreated + ".");
        return true;
    }

private:
    Kind m_kind;
};

// The DOS printer port "LPT" + n: the device file /dev/lp(n-1), written page by page.
class PrinterPortSink final : public ReportSink {
public:
    ~PrinterPortSink() override {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool open(SinkContext& c) override {
        if (!c.ports.prompter.askYesNo(c.texts.main.pauseAfterPage, m_pause)) return false;
        const int port = c.settings.printerPort >= 1 ? c.settings.printerPort : 1;
        m_target = "/dev/lp" + intText(port - 1);
        m_fd = ::open(m_target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0) {
            reportCreateError(c, ioFailure(errno, false), m_target);
            return false;
        }
        // A printer set-up sequence goes out before the report.
        std::string setup;
        if (readWholeFile(pathIn(c.settings.workFolder, "TEXT.HXP"), setup) == kIoOk && !writeAllBytes(m_fd, setup)) {
            reportWriteError(c, ioFailure(errno, false), m_target);
            return false;
        }
        return true;
    }
    std::string_view formFeed() const override { return "\f"; }
    bool pageDone(SinkContext& c, std::string& bytes) override {
        if (m_fd < 0) return false;
        if (writeAllBytes(m_fd, bytes)) {
            bytes.clear();
            return true;
        }
        reportWriteError(c, ioFailure(errno, false), m_target);
        return false;
    }
    bool pausesBeforePage() const override { return m_pause; }
    bool isPrinted() const override { return true; }
    bool commit(SinkContext& c, const std::string& bytes) override {
        std::string rest = bytes;
        return pageDone(c, rest);
    }
    bool finish(SinkContext& c, const std::string&) override {
        c.ports.prompter.showStatus(c.texts.main.printingWait);
        return true;
    }

private:
    int m_fd = -1;
    bool m_pause = false;
};

// The desktop's printer: a temporary file handed to the print dialog.
class DesktopPrinterSink final : public ReportSink {
public:
    bool open(SinkContext& c) override { return reserveTemporary(c); }
    std::string_view formFeed() const override { return kPageEndLine; }
    bool isPrinted() const override { return true; }
    bool commit(SinkContext& c, const std::string& bytes) override { return commitTarget(c, bytes); }
    bool finish(SinkContext& c, const std::string&) override { return c.ports.desktop.printTextFile(m_target); }
};

// A PDF file: the pages as the printer gets them, laid out by the desktop, which
// alone can render fonts. The lines go to a temporary text file first.
class PdfSink final : public ReportSink {
public:
    bool open(SinkContext& c) override {
        // The report's default name, as a PDF file.
        const std::string suggested = withoutExtension(c.fileName) + ".pdf";
        return saveDialog(c, "pdf", m_pdfPath, suggested) && reserveTemporary(c);
    }
    std::string_view formFeed() const override { return kPageEndLine; }
    bool isPrinted() const override { return true; }
    bool commit(SinkContext& c, const std::string& bytes) override { return commitTarget(c, bytes); }
    bool finish(SinkContext& c, const std::string&) override {
        PageLayout layout;
        layout.linesPerPage = c.settings.linesPerPage;
        layout.title = oemToUtf8(c.project.baseName.empty() ? std::string(kProgramTitle) : c.project.baseName);
        const PdfResult result = c.ports.desktop.writePdf(m_target, m_pdfPath, layout);
        const MainTexts& t = c.texts.main;
        if (result == PdfResult::Unavailable) {
            c.ports.prompter.showError(t.pdfUnavailable);
            return false;
        }
        if (result == PdfResult::Failed) {
            c.ports.prompter.showError(t.pdfFailed + "  " + utf8ToOem(m_pdfPath));
            return false;
        }
        m_lastOutput = m_pdfPath;
        return true;
    }

private:
    std::string m_pdfPath;
};

// Tab-separated text for spreadsheets: a numbered file in the work folder (or
// one from a save dialog) and its Windows copy; device 9 writes the copy only.
class SpreadsheetSink final : public ReportSink {
public:
    explicit SpreadsheetSink(bool projectText) : m_projectText(projectText) {}
    LineFormat format() const override { return LineFormat::Spreadsheet; }
    bool open(SinkContext& c) override {
        if (m_projectText) {
            m_target = projectBase(c) + ".txt";
            return true;
        }
        if (c.settings.spreadsheetSaveDialog) return saveDialog(c, "txt", m_target);
        m_target = pathIn(c.settings.workFolder, projectBase(c) + "$$$" + intText(c.outputCounter + 1) + ".txt");
        return true;
    }
    bool commit(SinkContext& c, const std::string& bytes) override {
        if (m_projectText) {
            m_lastOutput = m_target;
            return writeWindowsCopy(c, m_target, bytes);
        }
        if (!commitTarget(c, bytes)) return false;
        ++c.outputCounter;
        m_lastOutput = pathIn(c.settings.workFolder, projectBase(c) + "$$" + intText(c.outputCounter) + ".txt");
        return writeWindowsCopy(c, m_lastOutput, bytes);
    }

private:
    bool m_projectText;
};

// "KORVANT.htm" for the configured browser, or a file from a save dialog.
class HtmlSink final : public ReportSink {
public:
    LineFormat format() const override { return LineFormat::Html; }
    bool open(SinkContext& c) override {
        if (c.settings.htmlBrowser.empty()) return saveDialog(c, "htm", m_target);
        m_target = pathIn(c.settings.workFolder, "KORVANT.htm");
        return true;
    }
    bool commit(SinkContext& c, const std::string& bytes) override {
        m_lastOutput = m_target;
        return commitTarget(c, bytes);
    }
    bool finish(SinkContext& c, const std::string&) override {
        if (c.settings.htmlBrowser.empty()) return true;
        return startConfigured(c, c.settings.htmlBrowser, m_target);
    }
};

} // namespace

ReportSink::~ReportSink() {
    if (m_temporary && !m_target.empty()) std::remove(m_target.c_str());
}

bool ReportSink::reserveTemporary(SinkContext& c) {
    // The first of the names that can be created anew; a name in use by another
    // run is never taken over.
    const std::string& folder = c.settings.workFolder;
    int result = kIoAccessDenied;
    for (int n = 1; n <= kTemporaryNames; ++n) {
        const std::string candidate = pathIn(folder, "$OUT" + intText(n) + ".TMP");
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            ::close(fd);
            m_target = candidate;
            m_temporary = true;
            return true;
        }
        result = ioFailure(errno, false);
    }
    reportCreateError(c, result, pathIn(folder, "$OUT1.TMP"));
    return false;
}

bool ReportSink::saveDialog(SinkContext& c, std::string_view extension, std::string& path,
                            const std::string& suggested) {
    const FileChoice choice{suggested.empty() ? c.fileName : suggested, "*." + std::string(extension),
                            c.settings.saveFolder, std::string(extension), false};
    return c.ports.prompter.chooseSaveFile(choice, path);
}

bool ReportSink::commitTarget(SinkContext& c, std::string_view bytes) {
    return commitFile(m_target, bytes, c.ports.prompter, c.ports.error);
}

bool ReportSink::writeWindowsCopy(SinkContext& c, const std::string& path, const std::string& bytes) {
    return commitFile(path, oemToAnsi(bytes), c.ports.prompter, c.ports.error);
}

void reportCreateError(SinkContext& c, int ioResult, const std::string& path) {
    c.ports.prompter.showError(withSystemReason(createErrorText(ioResult) + "  " + utf8ToOem(path), lastIoError()));
    c.ports.error.set();
}

void reportWriteError(SinkContext& c, int ioResult, const std::string& path) {
    c.ports.prompter.showError(withSystemReason(
        writeErrorText(ioResult) + " (I/O-Error " + intText(ioResult) + ")  " + utf8ToOem(path), lastIoError()));
    c.ports.error.set();
}

std::unique_ptr<ReportSink> makeReportSink(ReportDevice device) {
    switch (device) {
    case kReportTextPrinter: return std::make_unique<PrinterPortSink>();
    case kReportFile: return std::make_unique<TextFileSink>(TextFileSink::Kind::Chosen);
    case kReportWindowsPrinter: return std::make_unique<DesktopPrinterSink>();
    case kReportTextProgram: return std::make_unique<TextProgramSink>();
    case kReportSpreadsheet: return std::make_unique<SpreadsheetSink>(false);
    case kReportHtml: return std::make_unique<HtmlSink>();
    case kReportDosFile: return std::make_unique<TextFileSink>(TextFileSink::Kind::DosFile);
    case kReportProjectText: return std::make_unique<SpreadsheetSink>(true);
    case kReportPdf: return std::make_unique<PdfSink>();
    default: return std::make_unique<ScreenSink>();
    }
}

std::unique_ptr<ReportSink> makeNamedFileSink(std::string_view path) {
    return std::make_unique<TextFileSink>(TextFileSink::Kind::Named, path);
}

} // namespace zam1
