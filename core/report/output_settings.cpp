#include "core/report/output_settings.h"

#include "core/config/configuration.h"

namespace zam1 {

OutputSettings outputSettingsFrom(const Configuration& config) {
    OutputSettings s;
    // A number that names no device shows the report on the screen.
    s.defaultDevice = config.textDevice >= 1 && config.textDevice <= kLastReportDevice
                          ? static_cast<ReportDevice>(config.textDevice)
                          : kReportScreen;
    s.askDevice = config.askTextDevice;
    s.separatorStyle = config.separatorStyle;
    s.linesPerPage = config.linesPerPage;
    s.headerEveryPage = config.printHeaderMode != 2;
    s.topMarginLines = config.headerSpaceLines;
    s.printerPort = config.printerPort;
    s.numbers = config.numberFormat();
    s.plusMinusCharacter = config.specialCharacters == 0;
    s.dateCode = config.dateCode;
    s.indexStyle = config.indexStyle;
    s.workFolder = config.tempDirectory;
    s.saveFolder = config.tempDirectory;
    s.textProgram = config.textProgram;
    s.htmlBrowser = config.htmlBrowser;
    s.messageFolder = config.pltDirectory;
    return s;
}

} // namespace zam1
