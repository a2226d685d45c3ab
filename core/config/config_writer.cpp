#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/lang/language.h"
#include "core/platform/error_flag.h"
#include "core/platform/path_parts.h"
#include "core/config/config_file.h"
#include "core/platform/file_messages.h"
#include "core/text/file_numbers.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

// Builds the file; labels and every other text go out in the OEM code page.
class ConfigWriter {
public:
    explicit ConfigWriter(const Configuration& c) : m_format{c.decimals, false} {}

    void line(std::string_view text) {
        m_out += text;
        m_out += "\r\n";
    }
    void label(std::string_view utf8) { line(utf8ToOem(utf8)); }
    void fileName(const std::string& utf8) { line(utf8ToOem(utf8)); }
    void integer(long long v) { line(intText(v)); }
    void real(long double v) { line(realLineText(v, m_format)); }
    void shortReal(long double v) { line(shortNumberText(v, m_format)); }
    void boolean(bool v) { line(v ? "TRUE" : "FALSE"); }

    std::string take() { return std::move(m_out); }

private:
    NumberFormat m_format; // always the point: the comma is for what the user sees
    std::string m_out;
};

void writeCadAndPrinter(ConfigWriter& w, const Configuration& c) {
    for (const CadLayer& layer : c.layers) {
        w.label("Layer");
        w.line(layer.name);
        w.label("Farbe");
        w.integer(layer.colour);
    }
    w.label("Textstil CAD");
    w.line(c.cadTextStyle);
    w.label("Textbreitenfaktor CAD");
    w.shortReal(c.cadTextWidthFactor);
    w.label("Textwinkel");
    w.shortReal(c.cadTextAngle);
    w.label("CAD Ordner");
    w.fileName(c.cadDirectory);
    w.label("DBF Ordner");
    w.fileName(c.dbfDirectory);
    w.label("Hilfegrad");
    w.integer(c.helpLevel);
    w.label("Druckerschnittstelle");
    w.integer(c.printerPort);
    w.label("Druckertyp");
    w.integer(c.printerType);
    w.label("Druckdichte");
    w.integer(c.printDensity);
    w.label("Hardcopy um 90° gedreht ?");
    w.line(std::string(1, c.hardcopyRotated));
    w.label("Dezimalstellen");
    w.integer(c.decimals);
    w.label("Druckdicke vertikal");
    w.integer(c.printThicknessVertical);
}

void writeGraphicsAndFolders(ConfigWriter& w, const Configuration& c) {
    w.label("Farbgrafik");
    w.boolean(c.colourGraphics);
    w.label("GrafikKorrekturFaktor horizontal");
    w.shortReal(c.graphicsAspectCorrection);
    w.label("Grafik-Mode");
    w.integer(c.graphicsMode);
    w.label("Grafik-Treiber");
    w.integer(c.graphicsDriver);
    w.label("Auflösung horizontal");
    w.integer(c.graphicsWidth);
    w.label("Auflösung vertikal");
    w.integer(c.graphicsHeight);
    w.label("Ordner für temporäre Dateien");
    w.fileName(c.tempDirectory);
    w.label("Druckerschnittstelle Hardcopy");
    w.integer(c.hardcopyPrinterPort);
    w.label("EDI Ordner");
    w.fileName(c.ediDirectory);
    w.label("PLT Ordner");
    w.fileName(c.pltDirectory);
    w.label("Mode für Textausdruck 1:* 2:-");
    w.integer(c.separatorStyle);
    w.label("Zeilen pro Seite für Drucker");
    w.integer(c.linesPerPage);
    w.label("Zoomfaktor");
    w.real(c.zoomFactor);
    w.label("Pan-Faktor");
    w.real(c.panFactor);
    w.label("KORVANT-Programmverzeichnis");
    w.fileName(c.korvantDirectory);
    w.label("PENDRAW-Kommandozeile");
    w.fileName(c.plotCommands[0]);
    w.label("Hintergrundfarbe");
    w.integer(c.backgroundColour);
    w.label("Windows-Druckmodus (1=mono 2=color)");
    w.integer(c.windowsPrintMode);
    w.label("Layer Monochrom");
    w.boolean(c.layerMonochrome);
}

void writeLayersAndPrograms(ConfigWriter& w, const Configuration& c) {
    w.label("Textbreitenfaktor Grafik");
    w.real(c.graphicsTextWidthFactor);
    w.label("Textstil Grafik");
    w.line(c.graphicsTextStyle);
    for (int i = 0; i < 16; ++i) {
        w.label("Color Layer " + intText(16 + i));
        w.integer(c.layerColours16to31[static_cast<std::size_t>(i)]);
    }
    w.label("Textprogramm");
    w.fileName(c.textProgram);
    w.label("Datenbank mode");
    w.integer(c.databaseMode);
    w.label("externe Datenbank");
    w.fileName(c.externalDatabase);
    w.label("Windows Screendump Origin X");
    w.integer(c.screendumpOriginX);
    w.label("Windows Screendump Origin Y");
    w.integer(c.screendumpOriginY);
    w.label("Windows Screendump Scale");
    w.real(c.screendumpScale);
    w.label("Windows Screendump Border ?");
    w.boolean(c.screendumpBorder);
    w.label("Reserve 1 ?"); // options this program does not have
    w.boolean(false);
    w.label("Reserve 2 ?");
    w.boolean(false);
    const int count = std::clamp(c.plotCommandCount, 1, 5);
    w.label("PENDRAW Command lines (n, line 2 .. line n)");
    w.integer(count);
    for (int i = 1; i < count; ++i) w.fileName(c.plotCommands[static_cast<std::size_t>(i)]);
    w.label("Archive Flag ?");
    w.boolean(c.archiveMode);
    w.label("Reserve 3 ?");
    w.boolean(false);
}

void writeDevicesAndUnits(ConfigWriter& w, const Configuration& c) {
    w.label("Date Code");
    w.integer(c.dateCode);
    w.label("Header Space Lines");
    w.integer(c.headerSpaceLines);
    w.label("Text Device");
    w.integer(c.textDevice);
    w.label("Text Device Window ?");
    w.boolean(c.askTextDevice);
    w.label("Small Online Window ?");
    w.boolean(c.smallOnlineWindow);
    w.label("Enter Diagram Limits ?");
    w.boolean(c.enterDiagramLimits);
    w.label("Dot=1 Komma=2");
    w.integer(c.decimalSeparator);
    w.label("Default Data Directory");
    w.fileName(c.dataDirectory);
    w.label("Text Height Factor");
    w.real(c.textHeightFactor);
    w.label("Input Window Scale %");
    w.integer(c.inputWindowScale);
    w.label("HTML Browser");
    w.fileName(c.htmlBrowser);
    w.label("Print Scale Vertical");
    w.real(c.printScaleVertical);
    w.label("Line thickness Layer 0..5");
    for (int width : c.lineThickness0to5) w.integer(width);
    w.label("Graphic Printout Dialog Box ?");
    w.boolean(c.graphicPrintoutDialog);
    w.label("Text window left/top/width/height");
    std::string window;
    for (int v : c.textWindow) window += intText(v) + "|";
    w.line(window);
}

void writePrintingAndDrawing(ConfigWriter& w, const Configuration& c) {
    w.label("Metric Units=0,  English units=1");
    w.integer(c.englishUnits);
    w.label("printout with header=1, header page 1 only=2");
    w.integer(c.printHeaderMode);
    w.label("Text Font Printout");
    w.line(c.printFont);
    w.label("Text Size Printout");
    w.integer(c.printFontSize);
    w.label("Text Style Printout");
    w.integer(c.printFontStyle);
    w.label("Text Style Graphics");
    w.integer(c.graphicsFontStyle);
    w.label("Printer: Portrait=1, Landscape=2");
    w.integer(c.paperOrientation);
    w.label("Edit 3D x,y,z ?");
    w.boolean(c.edit3d);
    w.label("3D - Default x,y,z");
    for (long double v : c.default3d) w.real(v);
    w.integer(c.indexStyle);
    w.integer(c.spreadsheetNumberFormat);
    w.line(c.approvalText);
    w.label("Decimals DXF,TXT");
    w.integer(c.cadDecimals);
    w.label("CAD Text Mode");
    w.integer(c.cadTextMode);
    w.label("Strichstärke Layer 16..31");
    for (int width : c.lineThickness16to31) w.integer(width);
    w.integer(c.specialCharacters);
    w.integer(c.helpWindowScale);
    w.integer(c.angleOutput);
    w.real(c.dimensionFactor);
    w.integer(c.reserved);
    w.integer(c.language);
    w.integer(c.resultGraphic);
    for (bool hide : {c.hideProgramTitle, c.hideFileName, c.hideDate, c.hideLogo}) w.boolean(hide);
}

// Writes safely; while it fails the user is told why and may try again or give up.
bool commitWithRetry(const std::string& path, const std::string& bytes, const MainTexts& texts, Prompter& prompter,
                     ErrorFlag& error) {
    for (;;) {
        // The per-user folder does not exist before the first write; a failure
        // to make it shows as the write's own error.
        std::error_code ignored;
        std::filesystem::create_directories(folderOf(path), ignored);
        const int io = writeFileSafely(path, bytes);
        if (io == kIoOk) return true;
        const std::string question = withSystemReason(
            retryCreateText(io) + "  " + utf8ToOem(path) + "  " + texts.retryQuestion, lastIoError());
        if (prompter.askYesNoCancel(question) != Answer::Yes) {
            error.set();
            return false;
        }
    }
}

} // namespace

std::string configurationText(const Configuration& c) {
    ConfigWriter w(c);
    w.line("zam1 Konfiguration");
    w.line(std::string("Version ") + ZAM1_VERSION);
    writeCadAndPrinter(w, c);
    writeGraphicsAndFolders(w, c);
    writeLayersAndPrograms(w, c);
    writeDevicesAndUnits(w, c);
    writePrintingAndDrawing(w, c);
    return w.take();
}

std::string settingsFilePath(const std::string& folder, std::string_view extension) {
    return pathIn(folder, "zam1." + std::string(extension));
}

std::string fallbackConfigurationFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg != '\0') return std::string(xdg) + "/korvant";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/korvant";
}

std::string configurationFolder(const std::string& startDirectory, const std::string& fallbackFolder) {
    if (fileExists(settingsFilePath(startDirectory, "cfg"))) return startDirectory;
    // Also when neither has one: a project opened from a file manager starts in
    // the user's home folder, which must not fill up with the program's files.
    return fallbackFolder;
}

bool writeConfiguration(const std::string& folder, const Configuration& config, const MainTexts& texts,
                        Prompter& prompter, ErrorFlag& error) {
    return commitWithRetry(settingsFilePath(folder, "cfg"), configurationText(config), texts, prompter, error);
}

void readRecentFiles(const std::string& folder, std::array<std::string, 4>& files) {
    files = {};
    std::string bytes;
    if (readWholeFile(settingsFilePath(folder, "cff"), bytes, 1u << 20) != kIoOk) return;
    std::size_t pos = bytes.find('\n'); // line 1 names the session's data directory
    for (std::string& file : files) {
        if (pos == std::string::npos) return;
        const std::size_t start = pos + 1;
        pos = bytes.find('\n', start);
        std::string_view line = std::string_view(bytes).substr(start, (pos == std::string::npos ? bytes.size() : pos) - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        file = oemToUtf8(line);
    }
}

bool writeRecentFiles(const std::string& folder, const std::string& dataDirectory,
                      const std::array<std::string, 4>& files, const MainTexts& texts, Prompter& prompter,
                      ErrorFlag& error) {
    std::string bytes = "zam1 Session " + utf8ToOem(dataDirectory) + "\r\n";
    for (const std::string& file : files) bytes += utf8ToOem(file) + "\r\n";
    return commitWithRetry(settingsFilePath(folder, "cff"), bytes, texts, prompter, error);
}

} // namespace zam1
