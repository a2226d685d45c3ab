#pragma once
// The language tables: every text the user sees that follows the language switch,
// one struct per table with one field per text. The texts are held in the code
// page they are shown in: the two menu tables in the Windows code page of their
// language (Windows-1252; Korean in code page 949), all other tables in the OEM
// code page CP850 like every other text of the program.
//
// Before any load every field holds its German text. loadLanguage() loads every
// table in turn; a table without the requested language keeps the texts it has.
// Code that shows a text reads the field when it builds the caption or message,
// so a switch takes effect for everything built after it.

#include <string>
#include <string_view>

namespace zam1 {

enum Language : int {
    kNoLanguage = 0, // the configuration default: no language ever chosen
    kGerman = 1,
    kEnglish = 2,
    kFrench = 3,
    kItalian = 4,
    kSwedish = 5,
    kPortuguese = 6,
    kRomanian = 7,
    kKorean = 8,
    kSpanish = 9,
};
inline constexpr int kLanguageCount = 9;

// Captions shared by the menus of the windows (languages 1 to 9).
struct CommonMenuTexts {
    std::string menu;               // "Menü"
    std::string fileMenu;
    std::string editMenu;
    std::string viewMenu;
    std::string cadMenu;
    std::string docuMenu;
    std::string spreadsheetMenu;
    std::string helpMenu;
    std::string fileNew;
    std::string fileOpen;
    std::string save;               // "&Speichern..."
    std::string saveAs;             // "Speichern &Unter..."
    std::string reset;              // "&Zurücksetzen"
    std::string ediFiles;           // "&EDI-Dateien..."
    std::string settings;           // "E&instellungen"
    std::string exit;               // "&Beenden"
    std::string info;               // "&Info"
    std::string print;
    std::string printSetup;
    std::string preview;            // "&Preview" in every language once a language is loaded
    std::string importWord;         // + " ZAM"
    std::string exportWord;         // + " ZAM"
    std::string undo;               // "&Rückgängig" (Ctrl+Z)
    std::string redo;               // "&Wiederherstellen" (Ctrl+Shift+Z)
    std::string editQuick;
    std::string editText;
    std::string editElements;
    std::string editClosing;
    std::string editSigma;
    std::string editDecimals;
    std::string viewStandard;
    std::string viewExcerpt;
    std::string viewErrorMessages;  // + " (" + count + ")"
    std::string viewDrawing;
    std::string cadDrawing;
    std::string drawingInfo;
    std::string showChanges;
    std::string printChanges;
    std::string newChange;
    std::string modifyChange;
    std::string deleteChange;
    std::string document;           // + " &1" .. " &5"
    std::string documentSetup;
    std::string startSpreadsheet;
    std::string exportSpreadsheet;
    std::string importSpreadsheet;
    std::string printSpreadsheet;
    std::string exportElementTable;
    std::string helpPicture;
    std::string errorMessages;
    std::string language;
    std::string history;
    std::string about;
    std::string homepage;
    std::string mail;
};

// Captions of the diagram and view commands (languages 1, 2, 3, 8).
struct ViewMenuTexts {
    std::string elements;           // "&Elemente"
    std::string overallGraphic;     // "&Gesamtgrafik "
    std::string group0;             // "Gruppe &0"
    std::string groups;             // "&Gruppen"
    std::string criticalDistances;  // "&Kritische Abstände"
    std::string chain;              // "Maß&kette"
    std::string chainToScale;       // "Maßkette (ma&ßstäblich)"
    std::string normalDistribution; // "Normal&verteilung"
    std::string zeroDistances;      // "&Null-Abstände"
    std::string openDxf;            // "Öffnen &DXF"
    std::string openZam;            // "Öffnen &ZAM"
    std::string crossReference;
    std::string crossReferences;
    std::string saveZam;            // "&Speichern ZAM"
    std::string saveTxt;            // "S&peichern TXT"
    std::string table;              // "T&abelle"
    std::string fit;                // "&Passung"
    std::string scheme;
    std::string printout;           // chain report: chain + " (" + printout + ")"
    std::string closingStatistics;
};

// Dialog captions, grid headings, prompts, questions and messages of the input
// and view functions (languages 1, 2, 3).
struct MainTexts {
    // project files and file commands
    std::string notZamFormat;       // "ist nicht im ZAM-Format"
    std::string errorAtElement;     // "Fehler bei Elementnummer"
    std::string lineWord;           // "Zeile"
    std::string workingCopyNote;    // "Die Eingabedaten werden automatisch in der Datei AKTUELL.ZAM zwischengespeichert"
    std::string saveFileQuestion;   // "Datei speichern (" + name + ") ?"
    std::string discardInput;       // "Bisherige Eingaben verwerfen ?"
    std::string alreadyExists;      // name + " " + "existiert bereits" + ".   " + "überschreiben" + " ?"
    std::string overwrite;
    std::string invalidFileName;    // "Ungültiger Dateiname"
    std::string archiveMode;
    std::string retryQuestion;
    std::string changedMeanwhile;   // name + " " + "wurde geändert. Überschreiben?"
    std::string extensionRequired;  // "Erweiterung .zm1 muß mit angegeben werden"
    std::string deletingTempFiles;  // "Lösche temporäre Dateien ..."
    std::string restoreWorkingCopy; // "Ungesicherte Eingaben wiederherstellen (" + working copy + ") ?"
    std::string workingCopyFailed;  // "Die Eingaben konnten nicht zwischengespeichert werden"
    // element table
    std::string elementNumber;      // "El.Nr."
    std::string predecessor;        // "Vorg.el."
    std::string nominalSize;        // "Nennmaß"
    std::string upperTolerance;     // "ob.Tol."
    std::string lowerTolerance;     // "unt.Tol."
    std::string isoTolerance;       // "ISO-Tol."
    std::string text;               // "Text"
    std::string classicMethod;      // "klassische Methode"
    std::string statisticalMethod;  // "statistische Methode"
    std::string maximumSize;        // "Größtmaß"
    std::string minimumSize;        // "Kleinstmaß"
    std::string tolerance;          // "Toleranz"
    std::string closingDimension;   // "Schließmaß"
    std::string closingDimensions;  // "Schließmaße"
    std::string dimensionElements;  // "Maßelemente"
    std::string inclined;           // "Schräge"
    std::string elementCountPrompt; // "Anzahl der Maßelemente"
    std::string decimalPlaces;      // "Nachkommastellen"
    std::string decimalsTitle;      // "Decimals"
    std::string noElementsEntered;  // "Es wurden noch keine Elemente eingegeben !"
    std::string noElementsDefined;  // "Keine Elemente definiert !"
    // the element table's buttons
    std::string calculateButton;    // "&Berechnen"
    std::string insertButton;       // "&Einfügen"
    std::string deleteButton;       // "&Löschen"
    std::string cancelButton;       // "Abbrechen"
    std::string helpButton;         // "&Hilfe"
    std::string helpPictureButton;  // "Hilfebil&d" (B is Berechnen's)
    // prompt dialogs
    std::string selection;          // "Auswahl"
    std::string input;              // "Eingabe"
    std::string yes;                // "&Ja"
    std::string no;                 // "&Nein"
    std::string invalidInput;       // "Ungültige Eingabe "
    std::string validRange;         // "Gültiger Wertebereich: "
    std::string errorCaption;       // "Fehler : "
    std::string noteCaption;        // "Meldung:"
    // project text dialog
    std::string projectText;
    std::string drawingName;
    std::string drawingName2;
    std::string drawingNumber;
    std::string remarkLine;
    // output devices
    std::string outputTo;           // "Ausgabe auf .."
    std::string deviceScreen;       // "Bildschirm"
    std::string deviceTextPrinter;  // "Textdrucker"
    std::string deviceFile;         // "Datei"
    std::string deviceWindowsPrinter; // "Windows-Drucker"
    std::string deviceTextProgram;  // "externes Textprogramm"
    std::string deviceSpreadsheet;  // "TXT File (Excel, QPRO ...)"
    std::string deviceHtml;         // "HTML File (Netscape, Internet Explorer ...)"
    std::string devicePdf;          // "PDF-Datei"
    std::string pdfUnavailable;     // PDF output without a window
    std::string pdfFailed;          // the PDF file could not be written
    std::string pauseAfterPage;     // "Pause nach jeder Seite ?"
    std::string printingWait;       // "Ausdruck erfolgt  -   bitte warten ..."
    std::string andWindowsFile;     // "und Windows-Datei"
    std::string filesCreated;       // "wurden angelegt."
    std::string insertSheet;        // "Blatt in Drucker einlegen.  Fortfahren ?"
    // calculation messages
    std::string calculationWarnings; // "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe."
    std::string calculationClean;   // "Berechnung erfolgreich ohne Fehlermeldungen"
    std::string continueBack;       // "Weiter/zurück..."
    std::string noDescription;      // "keine Beschreibung dieser Fehlermeldung vorhanden."
    std::string errorMessage;       // "Fehlermeldung"
    std::string cause;              // "Ursache"
    std::string remedy;             // "Abhilfe"
    std::string saveChanges;        // "Save Changes ?"
    std::string message;            // "Meldung"
    // documentation
    std::string changeLog;          // "Änderungsprotokoll"
    std::string createdOn;          // "Erstellungsdatum: "
    std::string createdBy;          // "Erstellt von"
    std::string replaces;           // "Ersatz für"
    std::string replacedBy;         // "Ersetzt durch"
    std::string index;              // "Index"
    std::string date;               // "Datum"
    std::string drawn;              // "Bearb."
    std::string checked;            // "Gepr."
    std::string standardsCheck;     // "Norm"
    std::string name;               // "Name"
    std::string change;             // "Änderung"
    std::string maxChanges;         // "Max. Änderungen = "
    std::string programNotStarted;  // "Programm nicht gestartet" (a document slot's program)
    std::string noProgramFor;       // "kein Programm für %s gefunden" (%s: the file's extension)
    std::string saveSignoffReport;  // "Prüfbericht speichern ..." (the Monte Carlo dialog's button and save dialog)
    std::string changeText;         // "Änderungstext"
    std::string editor;             // "Bearbeiter"
    std::string description;        // "Beschreibung"
    std::string drawingInfo;        // "Zeichnungsinfo"
    std::string documentSetup;      // "Document Setup"
    std::string document;           // "Document"
    std::string program;            // "Program"
    std::string file;               // "File"
    // configuration and directory checks
    std::string invalidCadFolder;   // "ungültiger CAD Ordner konfiguriert"
    std::string invalidDbfFolder;
    std::string invalidPltFolder;
    std::string invalidTempFolder;
    std::string invalidEdiFolder;
    std::string invalidDataFolder;
    std::string tempFolderTitle;    // "Ordner für temporäre Dateien"
    // analysis settings
    std::string correlatedElements; // "Korrelierte Elemente"
    std::string noCorrelations;     // "keine (in der Einstellungsdatei unter \"correlations\")"
};

// Headings, labels and questions of the calculation reports (languages 1, 2, 3).
struct ReportTexts {
    std::string dimensionElements;  // "Maßelemente"
    std::string criticalDistances;  // "kritische Abstände"
    std::string all;                // "Alles"
    std::string whatToDelete;       // "Was soll gelöscht werden"
    std::string productionSigma;    // "Fertigungsvorschrift Sigma"
    std::string dimensionalStructure; // "MASSAUFBAU"
    std::string classicHeading;     // "Klassische Methode mit konstanter Verteilung"
    std::string statisticalHeading; // "Statistische Methode mit Gaußscher Normalverteilung"
    std::string maxDim;             // "Größtmass"
    std::string nominalDim;         // "Nennmass"
    std::string meanDim;            // "Mittelmass"
    std::string minDim;             // "Kleinstmass"
    std::string statisticalEvaluation; // "Statist.Auswertung"
    std::string tolerance;          // "Toleranz"
    std::string elementNumber;      // "El.Nr."
    std::string predecessor;        // "Vorg.el."
    std::string upperTolerance;     // "ob.Tol."
    std::string lowerTolerance;     // "unt.Tol."
    std::string newPageQuestion;    // "Neue Seite nach Elementliste ?"
    std::string probabilityRange;   // "Wahrscheinlichkeitsbereich"
    std::string probabilityInterval; // "Wahrscheinlichkeitsintervall"
    std::string rangeCaption1;
    std::string rangeCaption2;
    std::string intervalCaption1;
    std::string intervalCaption2;
    std::string enterElementsFirst; // "Zuerst müssen die Maßelemente eingegeben werden"
    std::string dimensionChain;     // "MASSKETTE"
    std::string chainCaption;       // "El.Nr.  Text   ...  Anteil"
    std::string closingConstant;    // "Schließmaße bei konstanter Verteilung"
    std::string closingGaussian;    // "Schließmaße bei Gaußscher Normalverteilung"
    std::string closingDimensions;  // "Schließmaße"
    std::string closingDimension;   // "Schließmaß"
    std::string at;                 // "bei"
    std::string share;              // "Anteil"
    std::string version;            // "Version"
    std::string file;               // "Datei"
    std::string selectClosing;      // "kritischen Abstand wählen"
    std::string noClosing;          // "keine kritischen Abstände definiert"
    std::string back;               // "zurück"
    std::string elementNo;          // "Element Nr."
    std::string involvedIn;         // "ist beteiligt an folgenden kritischen Abständen"
    std::string messagesHeading;    // "BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN"
    // column captions of the element list and the closing-dimension tables
    std::string colElement;         // "El."
    std::string colPredecessor;     // " Vorg."
    std::string colNominal;         // "   Nennmaß"
    std::string colUpperDev;        // "  ob.Abm."
    std::string colLowerDev;        // " unt.Abm."
    std::string colIso;             // "    ISO"
    std::string colText;            // "   Text"
    std::string colDis;             // "Dis"
    std::string colTanz;            // "tanz"
    std::string colMean;            // "   Mit.maß"
    std::string colUpperTol;        // "   ob.T."
    std::string colLowerTol;        // "  u.Tol."
    std::string colMax;             // "  Größtmaß"
    std::string colMin;             // "    Kl.maß"
    std::string colRemark;          // " Bemerkung"
    std::string info;               // "Info"
    // the analysis report's warning beside measured values that fail the normality test
    std::string normalityDoubtful;  // "Normalverteilung der Messwerte zweifelhaft ..."
};

// Texts of the closing-dimension editor (languages 1, 2, 3).
struct ClosingEditorTexts {
    std::string enterClosing;       // "Kritischen Abstand eingeben"
    std::string fromElement;        // "von Element"
    std::string toElement;          // "bis Element"
    std::string tooManyData;        // "Zu viele Daten"
    std::string tooManyClosing;     // "Zu viele Schließmaße"
    std::string insertBefore;       // "Vor welches Schließmaß soll eingefügt werden"
    std::string selectToDelete;     // "zu löschendes Schließmaß wählen"
    std::string text;               // "Text"
    std::string group;              // "Gruppe"
    std::string groups;             // "Gruppen"
};

// Names of the general-tolerance classes and material groups (languages 1, 2, 3).
struct GeneralToleranceTexts {
    std::string generalTolerance;   // "Freimasstoleranz"
    std::string none;               // "keine Vorgabetoleranz"
    std::string constant;           // "konstante Toleranz"
    std::string plasticParts;       // "Kunststoff-Formteile"
    std::string punchedParts;       // "Stanzteile"
    std::string extrudedParts;      // "Fließpreßteile"
    std::string fine;               // "fein"
    std::string medium;             // "mittel"
    std::string coarse;             // "grob"
    std::string veryCoarse;         // "sehr grob"
    std::string toleranceGroup;     // "Toleranzgruppe"
    std::string toleranceClass;     // "Toleranzklasse"
    std::string precisionEngineering; // "Feinwerktechnik"
    std::string dimensions;         // "Maße"
    std::string notWord;            // "nicht"
    std::string mouldBound;         // "formgebunden"
    std::string thicknessRange;     // "Dickenbereich"
    std::string fromWord;           // "von"
    std::string toWord;             // "bis"
    std::string aboveWord;          // "über"
    std::string materialGroup;      // "Werkstoffgruppe"
    std::string toolBound;          // "werkzeuggebunden"
    std::string notToolBound;       // "nicht werkzeuggebunden"
};

// Short status and file texts (languages 1 to 6 and 9).
struct MessageTexts {
    std::string loaded;             // "geladen"
    std::string saved;              // "gespeichert"
    std::string version;            // "Version"
    std::string newerData;          // "Neue Werte ab Version"
    std::string calculationDone;    // "Berechnung durchgeführt"
    std::string workingCopyName;    // "aktuell"
    std::string invalidFile;        // "ungültiges Dateiformat"
};

struct LanguageTexts {
    LanguageTexts(); // every table German

    CommonMenuTexts menu;
    ViewMenuTexts viewMenu;
    MainTexts main;
    ReportTexts report;
    ClosingEditorTexts closingEditor;
    GeneralToleranceTexts tolerance;
    MessageTexts messages;

    // The Windows code page each menu table holds now: 1252, or 949 for Korean
    // (65001, UTF-8, should the system lack a converter for 949).
    int commonMenuCodePage = 1252;
    int viewMenuCodePage = 1252;
};

// Loads `index` into every table in the order of the switch; tables that lack it
// keep their texts. Index 0 and unknown indexes change nothing.
void loadLanguage(LanguageTexts& texts, int index);

// The Help menu's switch: stores the index in the configured language (written
// with the configuration), then loads it. The caller re-applies its captions.
void setLanguage(LanguageTexts& texts, int index, int& configuredLanguage);

// A text of a menu table, converted from that table's code page for display.
std::string commonMenuToUtf8(const LanguageTexts& texts, std::string_view text);
std::string viewMenuToUtf8(const LanguageTexts& texts, std::string_view text);

} // namespace zam1
