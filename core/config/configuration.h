#pragma once
// The settings of the program, as the positional file "zam1.cfg" holds them. One
// field per setting, named after what it means. A new Configuration holds the
// defaults of a program without a configuration file; they stand with the rows of
// the file in config_rows.cpp. Rows 62, 63 and 66 of the file belong to options
// this program does not have and are not kept.

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
    int colour = 0;
};

struct Configuration {
    Configuration();

    std::array<CadLayer, 5> layers{};
    ShortString<32> cadTextStyle{};
    long double cadTextWidthFactor{};
    long double cadTextAngle{};
    std::string cadDirectory;
    std::string dbfDirectory;
    int helpLevel{};                 // "Hilfegrad" 0, 1, 2
    int printerPort{};               // LPT1..LPT4
    int printerType{};
    int printDensity{};
    char hardcopyRotated{};          // 'J' or 'N'
    int decimals{};                  // "Dezimalstellen" of reports and files
    int printThicknessVertical{};
    bool colourGraphics{};           // "Farbgrafik"
    long double graphicsAspectCorrection{};
    int graphicsMode{};
    int graphicsDriver{};
    int graphicsWidth{};             // pixels; screen width - 9 unless configured
    int graphicsHeight{};            // pixels; screen height - 91 unless configured
    std::string tempDirectory;
    int hardcopyPrinterPort{};
    std::string ediDirectory;
    std::string pltDirectory;        // help pictures, help texts, message file
    int separatorStyle{};            // 1 "***", 2 "---", 3 blanks, 4 none
    int linesPerPage{};
    long double zoomFactor{};
    long double panFactor{};
    std::string korvantDirectory;
    int backgroundColour{};
    int windowsPrintMode{};          // 1 mono, 2 colour
    bool layerMonochrome{};
    long double graphicsTextWidthFactor{};
    ShortString<60> graphicsTextStyle{};
    std::array<int, 16> layerColours16to31{};
    std::string textProgram;
    int databaseMode{};
    std::string externalDatabase;
    int screendumpOriginX{};
    int screendumpOriginY{};
    long double screendumpScale{};
    bool screendumpBorder{};
    // Plot command lines; line 1 is "PENDRAW-Kommandozeile", plotCommandCount 1..5 are in use.
    int plotCommandCount{};
    std::array<std::string, 5> plotCommands;
    bool archiveMode{};              // "Archive Flag ?"
    int dateCode{};                  // 1 DD.MM.YYYY, 2 MM/DD/YYYY, 3 YYYY/MM/DD, 4 DD/MM/YYYY
    int headerSpaceLines{};
    int textDevice{};                // default report device 1..9
    bool askTextDevice{};            // "Text Device Window ?"
    bool smallOnlineWindow{};
    bool enterDiagramLimits{};
    int decimalSeparator{};          // "Dot=1 Komma=2"
    std::string dataDirectory;       // "Default Data Directory"; the start directory by default
    long double textHeightFactor{};
    int inputWindowScale{};          // percent
    std::string htmlBrowser;
    long double printScaleVertical{};
    std::array<int, 6> lineThickness0to5{};
    bool graphicPrintoutDialog{};
    std::array<int, 4> textWindow{}; // left, top, width, height
    int englishUnits{};              // 0 metric, 1 English
    int printHeaderMode{};           // 1 every page, 2 page 1 only
    ShortString<60> printFont{};
    int printFontSize{};
    int printFontStyle{};
    int graphicsFontStyle{};         // "Text Style Graphics"
    int paperOrientation{};          // 1 portrait, 2 landscape
    bool edit3d{};
    std::array<long double, 3> default3d{};
    int indexStyle{};                // 0 "a,b,c...", 1 "1,2,3...", 2 "A,B,C...", 3 "......"
    int spreadsheetNumberFormat{};   // 1 "English x.xx", 2 "German x,xx"
    std::string approvalText;        // label of the fourth title-block row
    int cadDecimals{};               // "Decimals DXF,TXT"
    int cadTextMode{};
    std::array<int, 16> lineThickness16to31{};
    int specialCharacters{};         // 0 "²  µ  °", 1 "2 u  deg"
    int helpWindowScale{};           // percent
    int angleOutput{};               // 1 decimal degrees, 2 degrees, minutes, seconds
    long double dimensionFactor{};
    int reserved{};
    int language{};                  // language index; 0: none chosen
    int resultGraphic{};             // 0 "egal" .. 5 "Zeichnung"
    bool hideProgramTitle{};
    bool hideFileName{};
    bool hideDate{};
    bool hideLogo{};

    // The number settings every report and the project file use.
    NumberFormat numberFormat() const { return {decimals, decimalSeparator == 2}; }
};

} // namespace zam1
