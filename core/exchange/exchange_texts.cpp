#include "core/exchange/exchange_texts.h"

#include "core/lang/language.h"

namespace zam1 {
namespace {

constexpr ExchangeTexts kGermanTexts{
    "Maßelemente", "Schließmaße", "Übersicht", "Mittelmaß", "Strukturfehler",
    "Export nach Tabellenkalkulation", "Elementtabelle importieren", "Zeile", "Spalte",
    "ist keine Zahl", "ist keine ganze Zahl von 0 bis 2500", "ist weder + noch -", "ist kein ISO-Toleranzcode",
    "ist nicht die nächste Elementnummer", "zu viele Elemente (höchstens 2500)",
    "Die erste Zeile muss die Spaltenüberschriften enthalten", "Die Datei enthält keine Elemente",
    "Datei kann nicht gelesen werden", "Die Datei enthält die Elementtabelle unverändert", "neu", "geändert",
    "entfällt", "Änderung", "Spalten", "bisher", "neu aus der Datei", "geschrieben", "Das Programm konnte nicht gestartet werden", "Datei konnte nicht geschrieben werden",
    "Die Datei ist keine lesbare Excel-Arbeitsmappe (.xlsx)", "Ein Teil der Arbeitsmappe ist beschädigt",
    "Der Arbeitsmappe fehlt ein Teil", "Ein Teil der Arbeitsmappe ist kein gültiges XML",
    "Ein Teil der Arbeitsmappe ist entpackt zu groß (höchstens 64 MiB)",
    "Die Arbeitsmappe enthält zu viele Texte (höchstens 1000000)",
    "Die Arbeitsmappe enthält einen ungültigen Zellbezug", "verweist auf keinen Text der Arbeitsmappe",
    "ist ein Fehlerwert",
    "Die Zellen der Arbeitsmappe enthalten zusammen zu viel Text (höchstens 16 MiB)",
    "Anführungszeichen nicht geschlossen",
    "liegt außerhalb von -1000000000 .. 1000000000",
    "-ergebnisse",
    "ist keine endliche Zahl", "Die Datei enthält keine Messwerte", "Zu wenige Messwerte (mindestens 8)",
    "Zu viele Messwerte (höchstens 1000000)", "Keine Spalte hat die Überschrift",
    "mehr als eine Spalte; mit \"column\" eine Überschrift wählen",
};

constexpr ExchangeTexts kEnglishTexts{
    "Dimension elements", "Closing dimensions", "Overview", "Mean size", "Structure error",
    "Export to spreadsheet", "Import element table", "Row", "column",
    "is not a number", "is not a whole number from 0 to 2500", "is neither + nor -", "is not an ISO tolerance code",
    "is not the next element number", "too many elements (at most 2500)",
    "The first row must hold the column headings", "The file holds no elements", "File cannot be read",
    "The file holds the element table unchanged", "new", "changed", "dropped", "Change", "Columns", "Before", "From the file", "written",
    "The program could not be started", "File could not be written",
    "The file is not a readable Excel workbook (.xlsx)", "A part of the workbook is damaged",
    "The workbook lacks a part", "A part of the workbook is not valid XML",
    "A part of the workbook is too large unpacked (at most 64 MiB)",
    "The workbook holds too many texts (at most 1000000)",
    "The workbook holds an invalid cell reference", "refers to no text of the workbook", "is an error value",
    "The cells of the workbook hold too much text together (at most 16 MiB)",
    "quotation mark not closed",
    "lies outside -1000000000 .. 1000000000",
    "-results",
    "is not a finite number", "The file holds no measured values", "Too few measured values (at least 8)",
    "Too many measured values (at most 1000000)", "No column has the heading",
    "more than one column; choose a heading with \"column\"",
};

} // namespace

const ExchangeTexts& exchangeTexts(int language) {
    return language == kGerman || language == kNoLanguage ? kGermanTexts : kEnglishTexts;
}

} // namespace zam1
