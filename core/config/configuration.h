#pragma once
// The settings of the program, as the positional file "zam1.cfg" holds them. One
// field per setting, named after what it means; the defaults are those of a
// program without a configuration file. Rows 62, 63 and 66 of the file belong to
// options this program does not have and are not kept.

#include <array>
#include <string>

#include "core/text/number_format.h"
#include "core/text/short_string.h"

namespace zam1 {

// The plot command the program knows when nothing else is configured.
inline constexpr const char* kDefaultPlotCommand = "C:\\PENDRAW\\WPENDRAW PENDRAW.DXF /M1.0";
// Programs that show a file: here the desktop's default application.
inline constexpr const char* kDefaultViewerProgram = "xdg-open";

struct CadLayer {
    ShortString<32> name;
    int colour = 2;
};

struct Configuration {
    std::array<CadLayer, 5> layers{{{"1", 2}, {"2", 2}, {"3", 2}, {"4", 3}, {"5", 1}}};
    ShortString<32> cadTextStyle{"TXT8"};
    long double cadTextWidthFactor = 1.0L;
    long double cadTextAngle = 0;
    std::string cadDirectory;
    std::string dbfDirectory;
    int helpLevel = 1;                  // "Hilfegrad" 0, 1, 2
    int printerPort = 1;                // LPT1..LPT4
    int printerType = 3;
    int printDensity = 1;
    char hardcopyRotated = 'J';         // 'J' or 'N'
    int decimals = 3;                   // "Dezimalstellen" of reports and files
    int printThicknessVertical = 1;
    bool colourGraphics = true;         // "Farbgrafik"
    long double graphicsAspectCorrection = 1.0L;
    int graphicsMode = 0;
    int graphicsDriver = 0;
    int graphicsWidth = 0;              // pixels; screen width - 9 unless configured
    int graphicsHeight = 0;             // pixels; screen height - 91 unless configured
    std::string tempDirectory;
    int hardcopyPrinterPort = 1;
    std::string ediDirectory;
    std::string pltDirectory;           // help pictures, help texts, message file
    int separatorStyle = 2;             // 1 "***", 2 "---", 3 blanks, 4 none
    int linesPerPage = 66;
    long double zoomFactor = 1.02L;
    long double panFactor = 0.01L;
    std::string korvantDirectory;
    int backgroundColour = 1;
    int windowsPrintMode = 1;           // 1 mono, 2 colour
    bool layerMonochrome = false;
    long double graphicsTextWidthFactor = 0.8L;
    ShortString<60> graphicsTextStyle{"Arial"};
    std::array<int, 16> layerColours16to31{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    std::string textProgram{kDefaultViewerProgram};
    int databaseMode = 1;
    std::string externalDatabase{kDefaultViewerProgram};
    int screendumpOriginX = 0;
    int screendumpOriginY = 0;
    long double screendumpScale = 1.0L;
    bool screendumpBorder = false;
    // Plot command lines; line 1 is "PENDRAW-Kommandozeile", plotCommandCount 1..5 are in use.
    int plotCommandCount = 1;
    std::array<std::string, 5> plotCommands{kDefaultPlotCommand, kDefaultPlotCommand, kDefaultPlotCommand,
                                            kDefaultPlotCommand, kDefaultPlotCommand};
    bool archiveMode = false;           // "Archive Flag ?"
    int dateCode = 1;                   // 1 DD.MM.YYYY, 2 MM/DD/YYYY, 3 YYYY/MM/DD, 4 DD/MM/YYYY
    int headerSpaceLines = 0;
    int textDevice = 1;                 // default report device 1..9
    bool askTextDevice = false;         // "Text Device Window ?"
    bool smallOnlineWindow = false;
    bool enterDiagramLimits = false;
    int decimalSeparator = 1;           // "Dot=1 Komma=2"
    std::string dataDirectory;          // "Default Data Directory"; the start directory by default
    long double textHeightFactor = 1.0L;
    int inputWindowScale = 102;         // percent
    std::string htmlBrowser{kDefaultViewerProgram};
    long double printScaleVertical = 1.0L;
    std::array<int, 6> lineThickness0to5{3, 1, 1, 1, 2, 3};
    bool graphicPrintoutDialog = true;
    std::array<int, 4> textWindow{10, 40, 700, 440}; // left, top, width, height
    int englishUnits = 0;               // 0 metric, 1 English
    int printHeaderMode = 1;            // 1 every page, 2 page 1 only
    ShortString<60> printFont{"Courier New"};
    int printFontSize = 10;
    int printFontStyle = 0;
    int graphicsFontStyle = 0;          // "Text Style Graphics"
    int paperOrientation = 2;           // 1 portrait, 2 landscape
    bool edit3d = true;
    std::array<long double, 3> default3d{0, 0, 0};
    int indexStyle = 0;                 // 0 "a,b,c...", 1 "1,2,3...", 2 "A,B,C...", 3 "......"
    int spreadsheetNumberFormat = 2;    // 1 "English x.xx", 2 "German x,xx"
    std::string approvalText;           // label of the fourth title-block row
    int cadDecimals = 6;                // "Decimals DXF,TXT"
    int cadTextMode = 1;
    std::array<int, 16> lineThickness16to31{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int specialCharacters = 0;          // 0 "²  µ  °", 1 "2 u  deg"
    int helpWindowScale = 100;          // percent
    int angleOutput = 2;                // 1 decimal degrees, 2 degrees, minutes, seconds
    long double dimensionFactor = 1.0L;
    int reserved = 0;
    int language = 0;                   // language index; 0: none chosen
    int resultGraphic = 0;              // 0 "egal" .. 5 "Zeichnung"
    bool hideProgramTitle = false;
    bool hideFileName = false;
    bool hideDate = false;
    bool hideLogo = false;

    // The number settings every report and the project file use.
    NumberFormat numberFormat() const { return {decimals, decimalSeparator == 2}; }
};

} // namespace zam1
