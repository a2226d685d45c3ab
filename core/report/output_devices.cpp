// Where a report goes on each device, and what happens when it is finished.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/platform/file_messages.h"
#include "core/lang/language.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/report/output_channel.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr int kTemporaryNames = 10;

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

// "$OUT1.TMP" .. "$OUT10.TMP" in the work folder: the first that can be created
// anew. A name in use by another run is never taken over.
int reserveTemporaryFile(const std::string& folder, std::string& path) {
    int result = kIoAccessDenied;
    for (int n = 1; n <= kTemporaryNames; ++n) {
        const std::string candidate = pathIn(folder, "$OUT" + intText(n) + ".TMP");
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            ::close(fd);
            path = candidate;
            return kIoOk;
        }
        result = ioResultFromErrno(errno, false);
    }
    return result;
}

} // namespace

bool OutputChannel::openOutput(int device, std::string_view fileName) {
    releaseTarget();
    m_buffer.clear();
    m_midLine = m_tableOpen = m_headerPending = m_pauseAfterPage = m_namedFile = false;
    m_lineCount = 0;
    m_page = 1;
    if (!chooseDevice(device)) {
        m_ports.error.set();
        return false;
    }
    m_device = device;
    m_fileName = fileName;
    if (m_fileName.find('.') == std::string::npos) m_fileName += ".txt";
    if (!prepareTarget(m_fileName)) {
        m_ports.error.set();
        return false;
    }
    m_state = State::Open;
    if (isHtml()) writeHtmlSkeleton();
    if (isSpreadsheet()) writeSpreadsheetHeader();
    // The paged devices start with a page header, as every later page does.
    m_headerPending = m_settings.pageFrame && !isHtml() && !isSpreadsheet();
    return true;
}

bool OutputChannel::openNamedFile(std::string_view path) {
    releaseTarget();
    m_buffer.clear();
    m_midLine = m_tableOpen = m_headerPending = m_pauseAfterPage = false;
    m_lineCount = 0;
    m_page = 1;
    m_device = kReportFile;
    m_namedFile = true;
    m_fileName = path;
    m_target = path;
    m_state = State::Open;
    return true;
}

bool OutputChannel::chooseDevice(int& device) {
    if (device == kReportAsk && m_settings.askDevice) {
        const MainTexts& t = m_texts.main;
        const std::vector<std::string> names = {t.deviceScreen,         t.deviceTextPrinter, t.deviceFile,
                                                t.deviceWindowsPrinter, t.deviceTextProgram, t.deviceSpreadsheet,
                                                t.deviceHtml};
        int choice = m_settings.defaultDevice >= 1 && m_settings.defaultDevice <= kReportMenuDevices ? m_settings.defaultDevice : 1;
        if (!m_ports.prompter.chooseDevice(t.outputTo, names, choice)) return false;
        device = choice;
    } else if (device == kReportAsk) {
        device = m_settings.defaultDevice;
    }
    if (device < 1 || device > kLastReportDevice) device = kReportScreen;
    return true;
}

bool OutputChannel::prepareTarget(std::string_view fileName) {
    m_target.clear();
    m_targetIsTemporary = false;
    const std::string& work = m_settings.workFolder;
    const std::string base = m_project.baseName.empty() ? std::string(kShortName) : m_project.baseName;
    const auto saveDialog = [&](std::string_view extension) {
        const FileChoice choice{std::string(fileName), "*." + std::string(extension), work, std::string(extension)};
        return m_ports.prompter.chooseSaveFile(choice, m_target);
    };
    switch (m_device) {
    case kReportScreen:
    case kReportWindowsPrinter:
    case kReportTextProgram: {
        const int io = reserveTemporaryFile(work, m_target);
        if (io != kIoOk) {
            reportCreateError(io, pathIn(work, "$OUT1.TMP"));
            return false;
        }
        m_targetIsTemporary = true;
        return true;
    }
    case kReportTextPrinter: {
        if (!m_ports.prompter.askYesNo(m_texts.main.pauseAfterPage, m_pauseAfterPage)) return false;
        return openPrinterPort();
    }
    case kReportFile: return saveDialog("txt");
    case kReportSpreadsheet:
        if (m_settings.spreadsheetSaveDialog) return saveDialog("txt");
        m_target = pathIn(work, base + "$$$" + intText(m_outputCounter + 1) + ".txt");
        return true;
    case kReportHtml:
        if (m_settings.htmlBrowser.empty()) return saveDialog("htm");
        m_target = pathIn(work, "KORVANT.htm");
        return true;
    case kReportDosFile: m_target = pathIn(work, "OUTDOS.TXT"); return true;
    default: m_target = base + ".txt"; return true;
    }
}

bool OutputChannel::openPrinterPort() {
    const int port = m_settings.printerPort >= 1 ? m_settings.printerPort : 1;
    m_target = "/dev/lp" + intText(port - 1);
    m_portFd = ::open(m_target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (m_portFd < 0) {
        reportCreateError(ioResultFromErrno(errno, false), m_target);
        return false;
    }
    // A printer set-up sequence goes out before the report.
    std::string setup;
    if (readWholeFile(pathIn(m_settings.workFolder, "TEXT.HXP"), setup) == kIoOk && !writeAllBytes(m_portFd, setup)) {
        reportWriteError(ioResultFromErrno(errno, false), m_target);
        return false;
    }
    return true;
}

bool OutputChannel::flushPrinterPort() {
    if (m_portFd < 0) return false;
    if (writeAllBytes(m_portFd, m_buffer)) {
        m_buffer.clear();
        return true;
    }
    reportWriteError(ioResultFromErrno(errno, false), m_target);
    abort();
    return false;
}

void OutputChannel::reportCreateError(int ioResult, const std::string& path) {
    m_ports.prompter.showError(createErrorText(ioResult) + "  " + utf8ToOem(path));
    m_ports.error.set();
}

void OutputChannel::reportWriteError(int ioResult, const std::string& path) {
    m_ports.prompter.showError(writeErrorText(ioResult) + " (I/O-Error " + intText(ioResult) + ")  " + utf8ToOem(path));
    m_ports.error.set();
}

bool OutputChannel::writeWindowsCopy(const std::string& path) {
    return commitFile(path, oemToAnsi(m_buffer), m_ports.prompter, m_ports.error);
}

bool OutputChannel::commitTarget() {
    switch (m_device) {
    case kReportTextPrinter: return flushPrinterPort();
    case kReportSpreadsheet: {
        if (!commitFile(m_target, m_buffer, m_ports.prompter, m_ports.error)) return false;
        ++m_outputCounter;
        const std::string base = m_project.baseName.empty() ? std::string(kShortName) : m_project.baseName;
        m_lastOutputFile = pathIn(m_settings.workFolder, base + "$$" + intText(m_outputCounter) + ".txt");
        return writeWindowsCopy(m_lastOutputFile);
    }
    case kReportProjectText: m_lastOutputFile = m_target; return writeWindowsCopy(m_target);
    default:
        if (!m_targetIsTemporary) m_lastOutputFile = m_target;
        return commitFile(m_target, m_buffer, m_ports.prompter, m_ports.error);
    }
}

bool OutputChannel::runEndAction() {
    Desktop& desktop = m_ports.desktop;
    const MainTexts& t = m_texts.main;
    const std::string outwin = pathIn(m_settings.workFolder, "outwin.txt");
    switch (m_device) {
    case kReportScreen:
        // The text window reads the file before it returns; the file goes right after.
        desktop.showTextFile(m_target, m_fileName);
        if (m_settings.copyScreenToClipboard) desktop.copyToClipboard(oemToUtf8(m_buffer));
        return true;
    case kReportTextPrinter: m_ports.prompter.showStatus(t.printingWait); return true;
    case kReportFile:
        if (!writeWindowsCopy(outwin)) return false;
        m_ports.prompter.showNote(utf8ToOem(m_target) + " " + t.andWindowsFile + " outwin.txt " + t.filesCreated + ".");
        return true;
    case kReportWindowsPrinter: return desktop.printTextFile(m_target);
    case kReportTextProgram:
        if (!writeWindowsCopy(outwin)) return false;
        m_lastOutputFile = outwin;
        if (!programExists(m_settings.textProgram)) {
            m_ports.prompter.showError(utf8ToOem(m_settings.textProgram) + " not found");
            return true;
        }
        return desktop.startProgram(m_settings.textProgram, {outwin});
    case kReportHtml:
        if (m_settings.htmlBrowser.empty()) return true;
        if (!programExists(m_settings.htmlBrowser)) {
            m_ports.prompter.showError(utf8ToOem(m_settings.htmlBrowser) + " not found");
            return true;
        }
        return desktop.startProgram(m_settings.htmlBrowser, {m_target});
    default: return true;
    }
}

bool OutputChannel::closeOutput() {
    if (m_state == State::Aborted) {
        m_state = State::Closed;
        return false;
    }
    if (!isOpen()) return false;
    if (m_midLine) writeLine({});
    if (isHtml()) {
        closeTable();
        putLine("</BODY>");
        putLine("</HTML>");
    }
    bool ok = commitTarget();
    if (ok && !m_namedFile) ok = runEndAction();
    if (!ok) m_ports.error.set();
    releaseTarget();
    m_state = State::Closed;
    return ok;
}

void OutputChannel::releaseTarget() {
    if (m_portFd >= 0) {
        ::close(m_portFd);
        m_portFd = -1;
    }
    if (m_targetIsTemporary && !m_target.empty()) std::remove(m_target.c_str());
    m_targetIsTemporary = false;
    if (m_state == State::Open) m_state = State::Closed;
}

} // namespace zam1
