#include <algorithm>
#include <cmath>
#include <limits>

#include "core/text/ascii_case.h"
#include "core/config/config_file.h"
#include "core/platform/file_io.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::size_t kMaxConfigurationBytes = 1u << 20;

int integerOrZero(std::string_view text) {
    long long value = 0;
    if (!parseInteger(text, value)) return 0;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return 0;
    return static_cast<int>(value);
}

// Hands out the lines of the file; past its end every line reads as empty, as a
// reader of the original layout saw it between the points where it may stop.
class ValueLines {
public:
    explicit ValueLines(std::string_view data) : m_data(data) {}

    bool atEnd() const { return m_pos >= m_data.size(); }

    std::string_view line() {
        if (atEnd()) return {};
        const std::size_t end = m_data.find('\n', m_pos);
        const std::size_t stop = end == std::string_view::npos ? m_data.size() : end;
        std::string_view l = m_data.substr(m_pos, stop - m_pos);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        m_pos = end == std::string_view::npos ? m_data.size() : end + 1;
        return l;
    }
    void skip() { line(); }
    std::string text() { return std::string(line()); }
    std::string fileName() { return oemToUtf8(line()); }
    int integer() { return integerOrZero(line()); }
    long double real() {
        const long double value = numberOrZero(line());
        return std::isfinite(value) ? value : 0.0L;
    }
    bool boolean() { return asciiUpper(line()) == "TRUE"; }
    char letter() {
        const std::string_view l = line();
        return l.empty() ? 'N' : l.front();
    }


private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

void orDefault(int& value, bool useDefault, int fallback) {
    if (useDefault) value = fallback;
}
void orDefault(long double& value, bool useDefault, long double fallback) {
    if (useDefault) value = fallback;
}

// Reads the rows in file order. Each part ends at a row after which the file
// may end; a part returns false when reading stops there.
class ConfigParser {
public:
    ConfigParser(std::string_view bytes, Configuration& config) : m_in(bytes), c(config) {}

    // Returns the number of the last row read before stopping (107 when complete).
    int run() {
        m_in.skip(); // "zam1 Konfiguration"
        m_in.skip(); // "Version 11.1"
        if (!cadAndPrinter()) return m_lastRow;
        if (!graphicsAndFolders()) return m_lastRow;
        if (!plotAndScreen()) return m_lastRow;
        if (!layersAndPrograms()) return m_lastRow;
        if (!plotLinesAndDates()) return m_lastRow;
        if (!devicesAndUnits()) return m_lastRow;
        printing();
        drawing();
        return 107;
    }

private:
    bool stopsAfter(int row) {
        m_lastRow = row;
        return m_in.atEnd();
    }

    bool cadAndPrinter() { // rows 1 to 17
        for (CadLayer& layer : c.layers) {
            m_in.skip();
            layer.name = m_in.line();
            m_in.skip();
            layer.colour = m_in.integer();
        }
        m_in.skip();
        c.cadTextStyle = m_in.line();
        m_in.skip();
        c.cadTextWidthFactor = m_in.real();
        orDefault(c.cadTextWidthFactor, c.cadTextWidthFactor == 0, 1.0L);
        m_in.skip();
        c.cadTextAngle = m_in.real();
        m_in.skip();
        c.cadDirectory = m_in.fileName();
        m_in.skip();
        c.dbfDirectory = m_in.fileName();
        m_in.skip();
        c.helpLevel = m_in.integer();
        m_in.skip();
        c.printerPort = m_in.integer();
        orDefault(c.printerPort, c.printerPort == 0, 1);
        if (stopsAfter(12)) return false;
        m_in.skip();
        c.printerType = m_in.integer();
        if (stopsAfter(13)) return false;
        m_in.skip();
        c.printDensity = m_in.integer();
        m_in.skip();
        c.hardcopyRotated = m_in.letter();
        m_in.skip();
        c.decimals = m_in.integer();
        orDefault(c.decimals, c.decimals < 1 || c.decimals > 9, 3);
        m_in.skip();
        c.printThicknessVertical = m_in.integer();
        orDefault(c.printThicknessVertical, c.printThicknessVertical == 0 || c.printThicknessVertical > 4, 1);
        return !stopsAfter(17);
    }

    bool graphicsAndFolders() { // rows 18 to 25
        m_in.skip();
        c.colourGraphics = m_in.boolean();
        m_in.skip();
        c.graphicsAspectCorrection = m_in.real();
        orDefault(c.graphicsAspectCorrection, c.graphicsAspectCorrection == 0, 1.0L);
        m_in.skip();
        c.graphicsMode = m_in.integer();
        m_in.skip();
        c.graphicsDriver = m_in.integer();
        m_in.skip();
        c.graphicsWidth = m_in.integer(); // the screen rule follows at the end
        m_in.skip();
        c.graphicsHeight = m_in.integer();
        m_in.skip();
        c.tempDirectory = m_in.fileName();
        m_in.skip();
        c.hardcopyPrinterPort = m_in.integer();
        orDefault(c.hardcopyPrinterPort, c.hardcopyPrinterPort == 0, 1);
        return !stopsAfter(25);
    }

    bool plotAndScreen() { // rows 26 to 36
        m_in.skip();
        c.ediDirectory = m_in.fileName();
        m_in.skip();
        c.pltDirectory = m_in.fileName();
        m_in.skip();
        c.separatorStyle = m_in.integer();
        orDefault(c.separatorStyle, c.separatorStyle == 0, 1);
        m_in.skip();
        c.linesPerPage = m_in.integer();
        orDefault(c.linesPerPage, c.linesPerPage < 5, 66);
        m_in.skip();
        c.zoomFactor = m_in.real();
        orDefault(c.zoomFactor, c.zoomFactor == 0, 1.02L);
        m_in.skip();
        c.panFactor = m_in.real();
        orDefault(c.panFactor, c.panFactor == 0, 0.01L);
        m_in.skip();
        c.korvantDirectory = m_in.fileName();
        if (stopsAfter(32)) return false;
        m_in.skip();
        const std::string plot = m_in.fileName();
        if (!plot.empty()) c.plotCommands[0] = plot;
        if (stopsAfter(33)) return false;
        m_in.skip();
        c.backgroundColour = m_in.integer();
        if (stopsAfter(34)) return false;
        m_in.skip();
        c.windowsPrintMode = m_in.integer();
        orDefault(c.windowsPrintMode, c.windowsPrintMode == 0, 1);
        if (stopsAfter(35)) return false;
        m_in.skip();
        c.layerMonochrome = m_in.boolean();
        return !stopsAfter(36);
    }

    bool layersAndPrograms() { // rows 37 to 61
        m_in.skip();
        c.graphicsTextWidthFactor = m_in.real();
        orDefault(c.graphicsTextWidthFactor, c.graphicsTextWidthFactor == 0, 0.8L);
        m_in.skip();
        c.graphicsTextStyle = m_in.line();
        if (stopsAfter(38)) return false;
        for (int& colour : c.layerColours16to31) {
            m_in.skip();
            colour = m_in.integer();
            orDefault(colour, colour == 0, 1);
        }
        if (stopsAfter(54)) return false;
        m_in.skip();
        c.textProgram = m_in.fileName();
        m_in.skip();
        c.databaseMode = m_in.integer();
        m_in.skip();
        c.externalDatabase = m_in.fileName();
        if (stopsAfter(57)) return false;
        m_in.skip();
        c.screendumpOriginX = m_in.integer();
        m_in.skip();
        c.screendumpOriginY = m_in.integer();
        m_in.skip();
        c.screendumpScale = m_in.real();
        if (c.screendumpScale == 0) {
            c.screendumpScale = 1.0L;
            c.printScaleVertical = 1.0L;
        }
        m_in.skip();
        c.screendumpBorder = m_in.boolean();
        return !stopsAfter(61);
    }

    bool plotLinesAndDates() { // rows 62 to 68
        for (int unused = 0; unused < 2; ++unused) {
            m_in.skip();
            m_in.skip();
        }
        if (stopsAfter(63)) return false;
        m_in.skip();
        const int count = m_in.integer();
        // Lines beyond the fifth are read past so that the later rows keep their places.
        for (int line = 2; line <= count && !m_in.atEnd(); ++line) {
            const std::string command = m_in.fileName();
            if (line <= 5) c.plotCommands[static_cast<std::size_t>(line - 1)] = command;
        }
        c.plotCommandCount = count < 1 ? 1 : (count > 5 ? 5 : count);
        m_in.skip();
        c.archiveMode = m_in.boolean();
        if (stopsAfter(65)) return false;
        m_in.skip();
        m_in.skip();
        if (stopsAfter(66)) return false;
        m_in.skip();
        c.dateCode = m_in.integer();
        orDefault(c.dateCode, c.dateCode == 0 || c.dateCode > 4, 1);
        if (stopsAfter(67)) return false;
        m_in.skip();
        c.headerSpaceLines = m_in.integer();
        orDefault(c.headerSpaceLines, c.headerSpaceLines < 0 || c.headerSpaceLines > 30, 0);
        return !stopsAfter(68);
    }

    bool devicesAndUnits() { // rows 69 to 77
        m_in.skip();
        c.textDevice = m_in.integer();
        orDefault(c.textDevice, c.textDevice == 0 || c.textDevice > 9, 1);
        m_in.skip();
        c.askTextDevice = m_in.boolean();
        if (stopsAfter(70)) return false;
        m_in.skip();
        c.smallOnlineWindow = m_in.boolean();
        if (stopsAfter(71)) return false;
        m_in.skip();
        c.enterDiagramLimits = m_in.boolean();
        m_in.skip();
        c.decimalSeparator = m_in.integer();
        orDefault(c.decimalSeparator, c.decimalSeparator == 0 || c.decimalSeparator > 2, 1);
        m_in.skip();
        const std::string data = m_in.fileName();
        if (!data.empty()) c.dataDirectory = data;
        if (stopsAfter(74)) return false;
        m_in.skip();
        c.textHeightFactor = m_in.real();
        orDefault(c.textHeightFactor, c.textHeightFactor < 0.1L, 1.0L);
        if (stopsAfter(75)) return false;
        m_in.skip();
        c.inputWindowScale = m_in.integer();
        orDefault(c.inputWindowScale, c.inputWindowScale < 10 || c.inputWindowScale > 1000, 100);
        m_in.skip();
        c.htmlBrowser = m_in.fileName();
        return !stopsAfter(77);
    }

    void printing(); // rows 78 to 90
    void drawing();  // rows 91 to 107

    ValueLines m_in;
    Configuration& c;
    int m_lastRow = 0;
};

void ConfigParser::printing() {
    m_in.skip();
    c.printScaleVertical = m_in.real();
    orDefault(c.printScaleVertical, c.printScaleVertical < 0.0001L, c.screendumpScale);
    m_in.skip();
    for (int& width : c.lineThickness0to5) {
        width = m_in.integer();
        orDefault(width, width < 1 || width > 255, 1);
    }
    m_in.skip();
    c.graphicPrintoutDialog = m_in.boolean();
    m_in.skip();
    const std::string_view window = m_in.line();
    std::array<int, 4> values{};
    std::size_t from = 0;
    for (int& v : values) {
        if (from > window.size()) break;
        const std::size_t bar = std::min(window.find('|', from), window.size());
        v = integerOrZero(window.substr(from, bar - from));
        from = bar + 1;
    }
    if (values[2] != 0 && values[3] != 0) c.textWindow = values;
    m_in.skip();
    c.englishUnits = m_in.integer();
    m_in.skip();
    c.printHeaderMode = m_in.integer();
    orDefault(c.printHeaderMode, c.printHeaderMode == 0 || c.printHeaderMode > 2, 1);
    m_in.skip();
    c.printFont = m_in.line();
    if (c.printFont.empty()) c.printFont = "Courier New";
    m_in.skip();
    c.printFontSize = m_in.integer();
    orDefault(c.printFontSize, c.printFontSize == 0, 10);
    m_in.skip();
    c.printFontStyle = m_in.integer();
    m_in.skip();
    c.graphicsFontStyle = m_in.integer();
    m_in.skip();
    c.paperOrientation = m_in.integer();
    m_in.skip();
    c.edit3d = asciiUpper(m_in.line()) != "FALSE";
    m_in.skip();
    for (long double& v : c.default3d) v = m_in.real();
}

void ConfigParser::drawing() {
    c.indexStyle = m_in.integer();
    c.spreadsheetNumberFormat = m_in.integer();
    orDefault(c.spreadsheetNumberFormat, c.spreadsheetNumberFormat == 0, 2);
    c.approvalText = m_in.text();
    m_in.skip();
    c.cadDecimals = m_in.integer();
    orDefault(c.cadDecimals, c.cadDecimals < 1 || c.cadDecimals > 32, 6);
    m_in.skip();
    c.cadTextMode = m_in.integer();
    orDefault(c.cadTextMode, c.cadTextMode == 0, 1);
    m_in.skip();
    for (int& width : c.lineThickness16to31) width = m_in.integer();
    c.specialCharacters = m_in.integer();
    c.helpWindowScale = m_in.integer();
    orDefault(c.helpWindowScale, c.helpWindowScale < 10 || c.helpWindowScale > 1000, 100);
    c.angleOutput = m_in.integer();
    orDefault(c.angleOutput, c.angleOutput == 0 || c.angleOutput > 2, 2);
    c.dimensionFactor = m_in.real();
    orDefault(c.dimensionFactor, c.dimensionFactor == 0, 1.0L);
    c.reserved = m_in.integer();
    c.language = m_in.integer();
    c.resultGraphic = m_in.integer();
    for (bool* hide : {&c.hideProgramTitle, &c.hideFileName, &c.hideDate, &c.hideLogo}) *hide = m_in.boolean();
}

void applyScreenRules(Configuration& c, const ScreenInfo& screen) {
    if (c.graphicsWidth == 0 || c.graphicsWidth == -1) c.graphicsWidth = screen.width - 9;
    if (c.graphicsHeight == 0 || c.graphicsHeight == -1) c.graphicsHeight = screen.height - 91;
}

} // namespace

Configuration defaultConfiguration(const ScreenInfo& screen, const std::string& startDirectory) {
    Configuration c;
    c.dataDirectory = startDirectory;
    applyScreenRules(c, screen);
    return c;
}

void parseConfiguration(std::string_view bytes, Configuration& config, const ScreenInfo& screen,
                        const std::string& startDirectory) {
    const int lastRow = ConfigParser(bytes, config).run();
    if (lastRow <= 36) {
        // Files of that age knew one text width and style for CAD and screen.
        config.graphicsTextWidthFactor = config.cadTextWidthFactor;
        config.graphicsTextStyle = "Arial";
    }
    if (config.dataDirectory.empty()) config.dataDirectory = startDirectory;
    applyScreenRules(config, screen);
}

bool readConfiguration(const std::string& folder, Configuration& config, const ScreenInfo& screen,
                       const std::string& startDirectory) {
    config = defaultConfiguration(screen, startDirectory);
    std::string bytes;
    if (readWholeFile(settingsFilePath(folder, "cfg"), bytes, kMaxConfigurationBytes) != kIoOk) {
        config.textWindow[3] = screen.height - 80;
        if (screen.mainWindowHeight > 0) {
            const double ratio = static_cast<double>(screen.mainWindowHeight) / (screen.mainClientHeight + 46);
            config.inputWindowScale = static_cast<int>(std::lround((ratio + 0.009) * (screen.dpiY / 96.0) * 100));
        }
        return false;
    }
    parseConfiguration(bytes, config, screen, startDirectory);
    return true;
}

} // namespace zam1
