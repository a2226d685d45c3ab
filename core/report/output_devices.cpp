// Opening the channel on a device and closing it: the device choice, the sink
// that the device's lines go to, and the end of a report.
#include <array>

#include "core/lang/language.h"
#include "core/platform/prompter.h"
#include "core/report/output_channel.h"
#include "core/report/report_sinks.h"
#include "core/session/program_state.h"

namespace zam1 {
namespace {

// The device menu in its order: the seven of old, then the PDF file.
constexpr std::array<ReportDevice, 8> kMenuDevices = {kReportScreen,         kReportTextPrinter, kReportFile,
                                             kReportWindowsPrinter, kReportTextProgram, kReportSpreadsheet,
                                             kReportHtml,           kReportPdf};

} // namespace

SinkContext OutputChannel::sinkContext() {
    return SinkContext{m_settings, m_texts, m_ports, m_project, m_fileName, m_outputCounter};
}

void OutputChannel::reset() {
    releaseTarget();
    m_buffer.clear();
    m_midLine = m_tableOpen = m_headerPending = m_namedFile = false;
    m_lineCount = 0;
    m_page = 1;
}

bool OutputChannel::openOutput(ReportDevice device, std::string_view fileName) {
    reset();
    if (!chooseDevice(device)) {
        m_ports.error.set();
        return false;
    }
    m_device = device;
    m_fileName = fileName;
    if (m_fileName.find('.') == std::string::npos) m_fileName += ".txt";
    m_sink = makeReportSink(device);
    return startOutput();
}

bool OutputChannel::openNamedFile(std::string_view path) {
    reset();
    m_device = kReportFile;
    m_namedFile = true;
    m_fileName = path;
    m_sink = makeNamedFileSink(path);
    if (!startOutput()) return false;
    // The export form has no page frame of its own.
    m_headerPending = false;
    return true;
}

bool OutputChannel::startOutput() {
    m_format = m_sink->format();
    SinkContext context = sinkContext();
    if (!m_sink->open(context)) {
        m_sink.reset();
        m_ports.error.set();
        return false;
    }
    m_state = State::Open;
    if (isHtml()) writeHtmlSkeleton();
    if (isSpreadsheet()) writeSpreadsheetHeader();
    // The paged devices start with a page header, as every later page does.
    m_headerPending = m_settings.pageFrame && m_format == LineFormat::Paged;
    return true;
}

bool OutputChannel::chooseDevice(ReportDevice& device) {
    if (device == kReportAsk && m_settings.askDevice) {
        const MainTexts& t = m_texts.main;
        const std::vector<std::string> names = {t.deviceScreen,         t.deviceTextPrinter, t.deviceFile,
                                                t.deviceWindowsPrinter, t.deviceTextProgram, t.deviceSpreadsheet,
                                                t.deviceHtml,           t.devicePdf};
        int choice = 1;
        for (std::size_t i = 0; i < kMenuDevices.size(); ++i) {
            if (kMenuDevices[i] == m_settings.defaultDevice) choice = static_cast<int>(i) + 1;
        }
        if (!m_ports.prompter.chooseDevice(t.outputTo, names, choice)) return false;
        device = choice >= 1 && choice <= static_cast<int>(kMenuDevices.size())
                     ? kMenuDevices[static_cast<std::size_t>(choice - 1)]
                     : kReportScreen;
    } else if (device == kReportAsk) {
        device = m_settings.defaultDevice;
    }
    if (device < 1 || device > kLastReportDevice) device = kReportScreen;
    return true;
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
    SinkContext context = sinkContext();
    bool ok = m_sink->commit(context, m_buffer);
    if (ok && !m_namedFile) ok = m_sink->finish(context, m_buffer);
    if (!m_sink->lastOutputFile().empty()) m_lastOutputFile = m_sink->lastOutputFile();
    if (!ok) m_ports.error.set();
    releaseTarget();
    m_state = State::Closed;
    return ok;
}

void OutputChannel::releaseTarget() {
    // The sink closes its port and removes its temporary file.
    m_sink.reset();
    if (m_state == State::Open) m_state = State::Closed;
}

} // namespace zam1
