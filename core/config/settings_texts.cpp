#include "core/config/settings_texts.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace zam1 {
namespace {

struct Words {
    const char* de;
    const char* en;
    const char* fr;
};

// Sorted by the German text.
constexpr Words kWords[] = {
    {"1  DOS 850 (ältere DOS-CAD-Programme)", "1  DOS 850 (older DOS CAD programs)",
     "1  DOS 850 (anciens programmes de CAO sous DOS)"},
    {"2  Windows 1252 (ezdxf; ältere Windows-CAD-Programme)", "2  Windows 1252 (ezdxf; older Windows CAD programs)",
     "2  Windows 1252 (ezdxf ; anciens programmes de CAO sous Windows)"},
    {"3  ae oe ue ss (jeder Leser, ohne Umlaute)", "3  ae oe ue ss (every reader, no umlauts)",
     "3  ae oe ue ss (tout lecteur, sans trémas)"},
    {"3D", "3D", "3D"},
    {"3D - Default x", "3D default x", "3D par défaut x"},
    {"3D - Default y", "3D default y", "3D par défaut y"},
    {"3D - Default z", "3D default z", "3D par défaut z"},
    {"4  \\U+XXXX (ezdxf, LibreCAD, aktuelle CAD-Programme)", "4  \\U+XXXX (ezdxf, LibreCAD, current CAD programs)",
     "4  \\U+XXXX (ezdxf, LibreCAD, programmes de CAO actuels)"},
    {"Archive Flag ?", "Archive flag ?", "Indicateur d'archive ?"},
    {"Auflösung horizontal", "Horizontal resolution", "Résolution horizontale"},
    {"Auflösung vertikal", "Vertical resolution", "Résolution verticale"},
    {"Ausgabe und Geräte", "Output and devices", "Sorties et périphériques"},
    {"Bemaßungsfaktor", "Dimension factor", "Facteur de cotation"},
    {"Bildschirmgrafik", "Screen graphics", "Graphique à l'écran"},
    {"CAD", "CAD", "CAO"},
    {"CAD Ordner", "CAD folder", "Dossier CAO"},
    {"CAD Text Mode", "CAD text mode", "Mode texte CAO"},
    {"Color Layer", "Colour of layer", "Couleur du calque"},
    {"DBF Ordner", "DBF folder", "Dossier DBF"},
    {"Date Code", "Date format", "Format de date"},
    {"Dateiname zeigen", "Show the file name", "Afficher le nom du fichier"},
    {"Daten", "Data", "Données"},
    {"Datenbank mode", "Database mode", "Mode base de données"},
    {"Datum zeigen", "Show the date", "Afficher la date"},
    {"Decimals DXF,TXT", "Decimals DXF, TXT", "Décimales DXF, TXT"},
    {"Default Data Directory", "Default data folder", "Dossier de données par défaut"},
    {"Dezimalstellen", "Decimal places", "Décimales"},
    {"Diagramm", "Diagram", "Diagramme"},
    {"Dot=1 Komma=2", "Decimal mark: dot=1 comma=2", "Séparateur décimal : point=1 virgule=2"},
    {"Druckdichte", "Print density", "Densité d'impression"},
    {"Druckdicke vertikal", "Vertical print thickness", "Épaisseur d'impression verticale"},
    {"Drucker", "Printer", "Imprimante"},
    {"Druckerschnittstelle", "Printer port", "Port de l'imprimante"},
    {"Druckerschnittstelle Hardcopy", "Hardcopy printer port", "Port de l'imprimante des copies d'écran"},
    {"Druckertyp", "Printer type", "Type d'imprimante"},
    {"EDI Ordner", "EDI folder", "Dossier EDI"},
    {"Edit 3D x,y,z ?", "Edit 3D x, y, z ?", "Saisir 3D x, y, z ?"},
    {"Enter Diagram Limits ?", "Enter diagram limits ?", "Saisir les limites du diagramme ?"},
    {"Ergebnisgrafik", "Result graphic", "Graphique des résultats"},
    {"Ergebnisse und Zeichnungen", "Results and drawings", "Résultats et dessins"},
    {"Farbe Layer", "Colour of layer", "Couleur du calque"},
    {"Farben Layer 16 bis 31", "Colours of layers 16 to 31", "Couleurs des calques 16 à 31"},
    {"Farben und Layer", "Colours and layers", "Couleurs et calques"},
    {"Farbgrafik", "Colour graphics", "Graphique en couleur"},
    {"Fenster", "Windows", "Fenêtres"},
    {"Fertigungszeichnung", "Production drawing", "Dessin de fabrication"},
    {"Freigabe (Schriftfeld)", "Approval (title block)", "Approbation (cartouche)"},
    {"Grafik", "Graphics", "Graphique"},
    {"Grafik-Mode", "Graphics mode", "Mode graphique"},
    {"Grafik-Treiber", "Graphics driver", "Pilote graphique"},
    {"GrafikKorrekturFaktor horizontal", "Horizontal graphics correction factor",
     "Facteur de correction graphique horizontal"},
    {"Graphic Printout Dialog Box ?", "Printer dialog before graphic printouts ?",
     "Dialogue d'impression avant les impressions graphiques ?"},
    {"HTML Browser", "HTML browser", "Navigateur HTML"},
    {"Hardcopy um 90° gedreht ?", "Hardcopy rotated by 90° ?", "Copie d'écran tournée de 90° ?"},
    {"Header Space Lines", "Blank lines in the header", "Lignes vides de l'en-tête"},
    {"Hilfe", "Help", "Aide"},
    {"Hilfe- und Textfenster %", "Help and text windows %", "Fenêtres d'aide et de texte %"},
    {"Hilfegrad", "Help level", "Niveau d'aide"},
    {"Hintergrundfarbe", "Background colour", "Couleur de fond"},
    {"Index", "Index", "Index"},
    {"Input Window Scale %", "Input window scale %", "Échelle des fenêtres de saisie %"},
    {"KORVANT-Programmverzeichnis", "KORVANT program folder", "Dossier des programmes KORVANT"},
    {"Layer", "Layer", "Calque"},
    {"Layer 1 bis 5", "Layers 1 to 5", "Calques 1 à 5"},
    {"Layer Monochrom", "Monochrome layers", "Calques monochromes"},
    {"Line thickness Layer", "Line width of layer", "Épaisseur de trait du calque"},
    {"Logo zeigen", "Show the logo", "Afficher le logo"},
    {"Metric Units=0,  English units=1", "Metric units=0, English units=1", "Unités métriques=0, unités anglaises=1"},
    {"Mode für Textausdruck 1:* 2:-", "Text printout separators 1:* 2:-", "Séparateurs de l'impression 1:* 2:-"},
    {"Ordner", "Folders", "Dossiers"},
    {"Ordner für temporäre Dateien", "Folder for temporary files", "Dossier des fichiers temporaires"},
    {"Ordner und Programme", "Folders and programs", "Dossiers et programmes"},
    {"PENDRAW Command lines (n)", "PENDRAW command lines (n)", "Lignes de commande PENDRAW (n)"},
    {"PENDRAW-Kommandozeile", "PENDRAW command line", "Ligne de commande PENDRAW"},
    {"PLT Ordner", "PLT folder", "Dossier PLT"},
    {"Pan-Faktor", "Pan factor", "Facteur de déplacement"},
    {"Plotter", "Plotter", "Traceur"},
    {"Print Scale Vertical", "Vertical print scale", "Échelle d'impression verticale"},
    {"Printer: Portrait=1, Landscape=2", "Printer: portrait=1, landscape=2", "Imprimante : portrait=1, paysage=2"},
    {"Programme", "Programs", "Programmes"},
    {"Programmtitel zeigen", "Show the program title", "Afficher le titre du programme"},
    {"Screendump", "Screen dump", "Copie d'écran"},
    {"Small Online Window ?", "Small online window ?", "Petite fenêtre en ligne ?"},
    {"Sonderzeichen", "Special characters", "Caractères spéciaux"},
    {"Sprache", "Language", "Langue"},
    {"Sprachen", "Languages", "Langues"},
    {"Strichstärke Layer", "Line width of layer", "Épaisseur de trait du calque"},
    {"Strichstärke Layer 0 bis 5", "Line widths of layers 0 to 5", "Épaisseurs de trait des calques 0 à 5"},
    {"Strichstärke Layer 16 bis 31", "Line widths of layers 16 to 31", "Épaisseurs de trait des calques 16 à 31"},
    {"Text Device", "Text device", "Périphérique de texte"},
    {"Text Device Window ?", "Ask for the text device ?", "Demander le périphérique de texte ?"},
    {"Text Font Printout", "Printout font", "Police de l'impression"},
    {"Text Height Factor", "Text height factor", "Facteur de hauteur du texte"},
    {"Text Size Printout", "Printout font size", "Taille de la police de l'impression"},
    {"Text Style Graphics", "Graphics font style", "Style de la police graphique"},
    {"Text Style Printout", "Printout font style", "Style de la police de l'impression"},
    {"Text window height", "Text window height", "Fenêtre de texte : hauteur"},
    {"Text window left", "Text window left", "Fenêtre de texte : gauche"},
    {"Text window top", "Text window top", "Fenêtre de texte : haut"},
    {"Text window width", "Text window width", "Fenêtre de texte : largeur"},
    {"Textausgabe", "Text output", "Sortie de texte"},
    {"Textbreitenfaktor CAD", "CAD text width factor", "Facteur de largeur du texte CAO"},
    {"Textbreitenfaktor Grafik", "Graphics text width factor", "Facteur de largeur du texte graphique"},
    {"Textprogramm", "Text program", "Programme de texte"},
    {"Textstil CAD", "CAD text style", "Style de texte CAO"},
    {"Textstil Grafik", "Graphics text style", "Style de texte graphique"},
    {"Textwinkel", "Text angle", "Angle du texte"},
    {"Windows Screendump Border ?", "Screen dump border ?", "Bordure de la copie d'écran ?"},
    {"Windows Screendump Origin X", "Screen dump origin X", "Origine X de la copie d'écran"},
    {"Windows Screendump Origin Y", "Screen dump origin Y", "Origine Y de la copie d'écran"},
    {"Windows Screendump Scale", "Screen dump scale", "Échelle de la copie d'écran"},
    {"Windows-Druckmodus (1=mono 2=color)", "Print mode (1=mono 2=colour)", "Mode d'impression (1=mono 2=couleur)"},
    {"Winkelausgabe", "Angle output", "Sortie des angles"},
    {"Zahlen", "Numbers", "Nombres"},
    {"Zahlen und Einheiten", "Numbers and units", "Nombres et unités"},
    {"Zahlenformat Tabellenkalkulation", "Spreadsheet number format", "Format des nombres du tableur"},
    {"Zeichnung", "Drawing", "Dessin"},
    {"Zeichnung und CAD", "Drawing and CAD", "Dessin et CAO"},
    {"Zeilen pro Seite für Drucker", "Lines per printed page", "Lignes par page imprimée"},
    {"Zoomfaktor", "Zoom factor", "Facteur de zoom"},
    {"egal", "any", "indifférent"},
    {"eingebaut", "built-in", "intégrée"},
    {"externe Datenbank", "External database", "Base de données externe"},
    {"printout with header=1, header page 1 only=2", "Header on every page=1, on page 1 only=2",
     "En-tête sur chaque page=1, sur la page 1 seulement=2"},
};

constexpr bool sorted() {
    for (std::size_t i = 1; i < std::size(kWords); ++i) {
        if (!(std::string_view(kWords[i - 1].de) < std::string_view(kWords[i].de))) return false;
    }
    return true;
}
static_assert(sorted(), "the words are sorted by their German text, each once");

const Words* find(std::string_view german) {
    const auto* end = std::end(kWords);
    const auto* at = std::lower_bound(std::begin(kWords), end, german,
                                      [](const Words& w, std::string_view text) { return std::string_view(w.de) < text; });
    return at != end && std::string_view(at->de) == german ? at : nullptr;
}

// The words of `german`, or of it without a trailing " <number>" (returned in `number`).
const Words* findWithNumber(std::string_view german, std::string_view& number) {
    number = {};
    if (const Words* w = find(german)) return w;
    const std::size_t blank = german.rfind(' ');
    if (blank == std::string_view::npos || blank + 1 == german.size()) return nullptr;
    const std::string_view tail = german.substr(blank + 1);
    if (!std::all_of(tail.begin(), tail.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        return nullptr;
    }
    number = german.substr(blank);
    return find(german.substr(0, blank));
}

} // namespace

std::string settingsText(std::string_view german, int language) {
    std::string_view number;
    const Words* w = findWithNumber(german, number);
    if (!w) return std::string(german);
    const char* text = language == 2 ? w->en : language == 3 ? w->fr : nullptr;
    if (!text) return std::string(german);
    return std::string(text) + std::string(number);
}

bool settingsTextKnown(std::string_view german) {
    std::string_view number;
    return findWithNumber(german, number) != nullptr;
}

SettingsDialogWords settingsDialogWords(int language) {
    switch (language) {
    case 2: return {"Settings", "&Save", "&Import"};
    case 3: return {"Paramètres", "&Enregistrer", "&Importer"};
    default: return {"Einstellungen", "&Speichern", "&Import"};
    }
}

} // namespace zam1
