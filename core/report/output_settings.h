#pragma once
// What the output channel takes from the configuration, and what it tells about
// the project in page headers and report heads. Kept apart from the whole
// configuration so that tests and the batch mode can set exactly what they need.

#include <array>
#include <string>

#include "core/platform/path_parts.h"

#include "core/text/number_format.h"

namespace zam1 {

struct Configuration;

// Output devices of the channel, by their numbers.
enum ReportDevice : int {
    kReportAsk = 0,           // ask (when configured) or use the default
    kReportScreen = 1,        // "Bildschirm": text window
    kReportTextPrinter = 2,   // "Textdrucker": printer port
    kReportFile = 3,          // "Datei"
    kReportWindowsPrinter = 4,
    kReportTextProgram = 5,   // external text program
    kReportSpreadsheet = 6,   // tab-separated text for spreadsheets
    kReportHtml = 7,
    kReportDosFile = 8,       // "OUTDOS.TXT"
    kReportProjectText = 9,   // project name + ".txt", as device 6
    kReportPdf = 10,          // a PDF file with the printer's pages
};
inline constexpr int kLastReportDevice = 10;
inline constexpr int kReportMenuDevices = 7; // the device menu offers 1..7, then the PDF file

struct OutputSettings {
    ReportDevice defaultDevice = kReportScreen;  // used when the device menu is not shown
    bool askDevice = false;              // show the device menu before each report
    int separatorStyle = 2;              // 1 "*", 2 box lines, 3 blanks, 4 none
    int linesPerPage = 66;
    bool headerEveryPage = true;         // false: page header on the first page only
    bool pageFrame = true;               // false: pages end with a form feed alone
    int topMarginLines = 0;              // empty lines above each page header
    int printerPort = 1;                 // LPT1..LPT4 -> /dev/lp0../dev/lp3
    NumberFormat numbers;                // configured decimals and decimal comma
    bool plusMinusCharacter = true;      // " ± " instead of "+/-"
    int dateCode = 1;                    // date form of headers and report heads
    int indexStyle = 0;                  // change listing: 1 numbers, otherwise letters
    bool copyScreenToClipboard = false;  // screen device: copy the report to the clipboard
    bool spreadsheetSaveDialog = false;  // spreadsheet device: ask for the file name
    std::string workFolder;              // temporary and fixed-name report files; empty: current folder
    // Where the save dialogs start: the configured temporary folder, which stays.
    // The work folder may be the program's private one, removed at its end.
    std::string saveFolder;
    std::string textProgram = "xdg-open";
    std::string htmlBrowser = "xdg-open";
    std::string messageFolder;           // where the message file lies; empty: current folder
};

// The settings as the configuration holds them.
OutputSettings outputSettingsFrom(const Configuration& config);

// What page headers, the HTML skeleton and report heads say about the project.
struct ProjectHeading {
    std::string fileName;       // the project file with folder and extension, or as typed
    std::string baseName;       // the name without folder and extension
    bool fromCommandLine = false;
    std::array<std::string, 4> descriptionLines; // three title lines and one more, may be empty
};

// folder + "/" + name; the name alone when the folder is empty.

} // namespace zam1
