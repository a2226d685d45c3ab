#include "gui/editors/settings_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVariant>

#include <climits>
#include <type_traits>
#include <utility>

#include "core/graphics/palette.h"
#include "core/platform/path_parts.h"
#include "core/platform/prompter.h"
#include "core/text/number_format.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

enum class Editor { Line, Folder, File, Spin, Combo, Check, PaletteColour, CadColour };

using Items = std::vector<std::pair<int, QString>>;
using Getter = std::function<QVariant(const Configuration&)>;
using Setter = std::function<bool(Configuration&, const QVariant&)>;

struct FieldDefinition {
    SettingsTab tab;
    QString label;
    std::string key;
    Editor editor;
    Getter get;
    Setter set;
    int minimum = INT_MIN;
    int maximum = INT_MAX;
    Items items;
    int maxLength = 0;
};

FieldDefinition define(SettingsTab tab, QString label, std::string key, Editor editor, Getter get, Setter set,
               int minimum = INT_MIN, int maximum = INT_MAX, Items items = {}, int maxLength = 0) {
    FieldDefinition s{tab, std::move(label), std::move(key), editor, std::move(get), std::move(set), minimum, maximum,
                std::move(items), maxLength};
    return s;
}

QString swatchStyle(int number, bool cad) {
    const Rgb c = paletteColour(cad ? GetColorTurbo(number) : number);
    return QStringLiteral("background: rgb(%1,%2,%3); border: 1px solid gray;").arg(c.r).arg(c.g).arg(c.b);
}

class Field final : public SettingsField {
public:
    explicit Field(FieldDefinition definition) : SettingsField(definition.tab, definition.label), m_definition(std::move(definition)) {}

    QWidget* create(QWidget* parent, Prompter* prompter) override {
        const QString key = QString::fromStdString(m_definition.key);
        switch (m_definition.editor) {
        case Editor::Line:
            m_line = new QLineEdit(parent);
            if (m_definition.maxLength > 0) m_line->setMaxLength(m_definition.maxLength);
            m_line->setObjectName(key);
            return m_line;
        case Editor::Folder:
        case Editor::File: return pathEditor(parent, prompter);
        case Editor::Spin:
            m_spin = new QSpinBox(parent);
            m_spin->setRange(m_definition.minimum, m_definition.maximum);
            m_spin->setObjectName(key);
            return m_spin;
        case Editor::Combo:
            m_combo = new QComboBox(parent);
            for (const auto& [value, text] : m_definition.items) m_combo->addItem(text, value);
            m_combo->setObjectName(key);
            return m_combo;
        case Editor::Check:
            m_check = new QCheckBox(parent);
            m_check->setObjectName(key);
            return m_check;
        case Editor::PaletteColour:
        case Editor::CadColour: return colourEditor(parent);
        }
        return nullptr;
    }

    void load(const Configuration& config) override {
        const QVariant v = m_definition.get(config);
        if (m_line) m_line->setText(v.toString());
        if (m_spin) m_spin->setValue(v.toInt());
        if (m_check) m_check->setChecked(v.toBool());
        if (m_combo) {
            // A value the list does not know (a hand-edited file) is shown as it is, not lost.
            int index = m_combo->findData(v.toInt());
            if (index < 0) {
                m_combo->addItem(QString::number(v.toInt()), v.toInt());
                index = m_combo->count() - 1;
            }
            m_combo->setCurrentIndex(index);
        }
        m_shown = value();
    }

    bool changed() const override { return value() != m_shown; }

    bool store(Configuration& config) const override { return m_definition.set(config, value()); }

private:
    QVariant value() const {
        if (m_line) return m_line->text();
        if (m_spin) return m_spin->value();
        if (m_check) return m_check->isChecked();
        if (m_combo) return m_combo->currentData();
        return {};
    }

    QWidget* pathEditor(QWidget* parent, Prompter* prompter) {
        auto* box = new QWidget(parent);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        m_line = new QLineEdit(box);
        m_line->setObjectName(QString::fromStdString(m_definition.key));
        m_line->setMinimumWidth(320);
        auto* pick = new QPushButton(QStringLiteral("..."), box);
        pick->setObjectName(QString::fromStdString(m_definition.key + "_pick"));
        pick->setMaximumWidth(32);
        pick->setAutoDefault(false);
        pick->setEnabled(prompter != nullptr);
        row->addWidget(m_line, 1);
        row->addWidget(pick);
        const bool folder = m_definition.editor == Editor::Folder;
        QObject::connect(pick, &QPushButton::clicked, m_line, [this, prompter, folder] {
            std::string path = m_line->text().toStdString();
            bool chosen = false;
            if (folder) {
                chosen = prompter->chooseFolder(toOem(label()), path);
            } else {
                FileChoice choice;
                choice.title = toOem(label());
                choice.filter = "*|*";
                // The program's folder; none for a bare name that the search path finds.
                if (path.find('/') != std::string::npos) choice.folder = folderOf(path);
                chosen = prompter->chooseOpenFile(choice, path);
            }
            if (chosen) m_line->setText(QString::fromStdString(path));
        });
        return box;
    }

    QWidget* colourEditor(QWidget* parent) {
        auto* box = new QWidget(parent);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        m_spin = new QSpinBox(box);
        m_spin->setRange(0, 255);
        m_spin->setObjectName(QString::fromStdString(m_definition.key));
        auto* swatch = new QLabel(box);
        swatch->setFixedSize(40, 18);
        const bool cad = m_definition.editor == Editor::CadColour;
        QObject::connect(m_spin, &QSpinBox::valueChanged, swatch,
                         [swatch, cad](int n) { swatch->setStyleSheet(swatchStyle(n, cad)); });
        swatch->setStyleSheet(swatchStyle(0, cad));
        row->addWidget(m_spin);
        row->addWidget(swatch);
        row->addStretch(1);
        return box;
    }

    FieldDefinition m_definition;
    QVariant m_shown;
    QLineEdit* m_line = nullptr;
    QSpinBox* m_spin = nullptr;
    QComboBox* m_combo = nullptr;
    QCheckBox* m_check = nullptr;
};

// Accessors: `at` names where a setting lives; the same lambda serves reading
// (const) and storing.
#define AT(member) [](auto& c) -> auto& { return c.member; }

using Fields = std::vector<std::unique_ptr<SettingsField>>;

// A text of the stored code page (names, fonts, labels), cut to `capacity`.
template <class At>
void text(Fields& f, SettingsTab tab, const QString& label, std::string key, At at, int capacity) {
    f.push_back(std::make_unique<Field>(define(
        tab, label, std::move(key), Editor::Line,
        [at](const Configuration& c) -> QVariant {
            const auto& v = at(c);
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) return fromOem(v);
            else return fromOem(v.str());
        },
        [at](Configuration& c, const QVariant& v) {
            at(c) = toOem(v.toString());
            return true;
        },
        INT_MIN, INT_MAX, {}, capacity)));
}

// A file-system name (folder, program, command line), held as UTF-8.
template <class At>
void path(Fields& f, SettingsTab tab, const QString& label, std::string key, At at, Editor editor) {
    f.push_back(std::make_unique<Field>(define(
        tab, label, std::move(key), editor, [at](const Configuration& c) -> QVariant { return QString::fromStdString(at(c)); },
        [at](Configuration& c, const QVariant& v) {
            at(c) = v.toString().toStdString();
            return true;
        })));
}

template <class At>
void integer(Fields& f, SettingsTab tab, const QString& label, std::string key, At at, int lo, int hi) {
    f.push_back(std::make_unique<Field>(define(
        tab, label, std::move(key), Editor::Spin, [at](const Configuration& c) -> QVariant { return at(c); },
        [at](Configuration& c, const QVariant& v) {
            at(c) = v.toInt();
            return true;
        },
        lo, hi)));
}

template <class At>
void choice(Fields& f, SettingsTab tab, const QString& label, std::string key, At at, Items items) {
    f.push_back(std::make_unique<Field>(define(
        tab, label, std::move(key), Editor::Combo, [at](const Configuration& c) -> QVariant { return at(c); },
        [at](Configuration& c, const QVariant& v) {
            at(c) = v.toInt();
            return true;
        },
        INT_MIN, INT_MAX, std::move(items))));
}

// A yes/no setting; `shown` false for a setting stored as "hide" but offered as "show".
template <class At>
void flag(Fields& f, SettingsTab tab, const QString& label, std::string key, At at, bool shown = true) {
    f.push_back(std::make_unique<Field>(define(
        tab, label, std::move(key), Editor::Check, [at, shown](const Configuration& c) -> QVariant { return at(c) == shown; },
        [at, shown](Configuration& c, const QVariant& v) {
            at(c) = v.toBool() == shown;
            return true;
        })));
}

// A real number; what is not a number is refused, never read as 0.
template <class At>
void real(Fields& f, SettingsTab tab, const QString& label, std::string key, At at) {
    f.push_back(std::make_unique<Field>(define(
        tab, label, std::move(key), Editor::Line,
        [at](const Configuration& c) -> QVariant { return QString::fromStdString(autoNumber(at(c), {}, 9)); },
        [at](Configuration& c, const QVariant& v) {
            long double value = 0;
            if (!parseNumber(v.toString().toStdString(), value)) return false;
            at(c) = value;
            return true;
        },
        INT_MIN, INT_MAX, {}, 30)));
}

template <class At>
void colour(Fields& f, SettingsTab tab, const QString& label, std::string key, At at, bool cad) {
    f.push_back(std::make_unique<Field>(define(
        tab, label, std::move(key), cad ? Editor::CadColour : Editor::PaletteColour,
        [at](const Configuration& c) -> QVariant { return at(c); },
        [at](Configuration& c, const QVariant& v) {
            at(c) = v.toInt();
            return true;
        })));
}

QString n(int i) { return QString::number(i); }

// Keys of array elements: "layerName1", "lineThickness16", ...
std::string key(const char* stem, int i) { return stem + std::to_string(i); }

void folders(Fields& f) {
    const SettingsTab t = SettingsTab::Folders;
    path(f, t, QStringLiteral("Default Data Directory"), "dataDirectory", AT(dataDirectory), Editor::Folder);
    path(f, t, QStringLiteral("CAD Ordner"), "cadDirectory", AT(cadDirectory), Editor::Folder);
    path(f, t, QStringLiteral("DBF Ordner"), "dbfDirectory", AT(dbfDirectory), Editor::Folder);
    path(f, t, QStringLiteral("EDI Ordner"), "ediDirectory", AT(ediDirectory), Editor::Folder);
    path(f, t, QStringLiteral("PLT Ordner"), "pltDirectory", AT(pltDirectory), Editor::Folder);
    path(f, t, QStringLiteral("Ordner für temporäre Dateien"), "tempDirectory", AT(tempDirectory), Editor::Folder);
    path(f, t, QStringLiteral("KORVANT-Programmverzeichnis"), "korvantDirectory", AT(korvantDirectory), Editor::Folder);
    path(f, t, QStringLiteral("Textprogramm"), "textProgram", AT(textProgram), Editor::File);
    path(f, t, QStringLiteral("HTML Browser"), "htmlBrowser", AT(htmlBrowser), Editor::File);
    path(f, t, QStringLiteral("externe Datenbank"), "externalDatabase", AT(externalDatabase), Editor::File);
    integer(f, t, QStringLiteral("Datenbank mode"), "databaseMode", AT(databaseMode), INT_MIN, INT_MAX);
    flag(f, t, QStringLiteral("Archive Flag ?"), "archiveMode", AT(archiveMode));
}

void devices(Fields& f) {
    const SettingsTab t = SettingsTab::Devices;
    integer(f, t, QStringLiteral("Text Device"), "textDevice", AT(textDevice), 1, 9);
    flag(f, t, QStringLiteral("Text Device Window ?"), "askTextDevice", AT(askTextDevice));
    choice(f, t, QStringLiteral("Mode für Textausdruck 1:* 2:-"), "separatorStyle", AT(separatorStyle),
           {{1, QStringLiteral("1  ***")}, {2, QStringLiteral("2  ---")}, {3, QStringLiteral("3")}, {4, QStringLiteral("4")}});
    integer(f, t, QStringLiteral("Zeilen pro Seite für Drucker"), "linesPerPage", AT(linesPerPage), 5, 1000);
    integer(f, t, QStringLiteral("Header Space Lines"), "headerSpaceLines", AT(headerSpaceLines), 0, 30);
    choice(f, t, QStringLiteral("printout with header=1, header page 1 only=2"), "printHeaderMode", AT(printHeaderMode),
           {{1, QStringLiteral("1")}, {2, QStringLiteral("2")}});
    text(f, t, QStringLiteral("Text Font Printout"), "printFont", AT(printFont), 60);
    integer(f, t, QStringLiteral("Text Size Printout"), "printFontSize", AT(printFontSize), 1, 200);
    integer(f, t, QStringLiteral("Text Style Printout"), "printFontStyle", AT(printFontStyle), INT_MIN, INT_MAX);
    choice(f, t, QStringLiteral("Printer: Portrait=1, Landscape=2"), "paperOrientation", AT(paperOrientation),
           {{1, QStringLiteral("1")}, {2, QStringLiteral("2")}});
    choice(f, t, QStringLiteral("Windows-Druckmodus (1=mono 2=color)"), "windowsPrintMode", AT(windowsPrintMode),
           {{1, QStringLiteral("1")}, {2, QStringLiteral("2")}});
    flag(f, t, QStringLiteral("Graphic Printout Dialog Box ?"), "graphicPrintoutDialog", AT(graphicPrintoutDialog));
    real(f, t, QStringLiteral("Print Scale Vertical"), "printScaleVertical", AT(printScaleVertical));
    integer(f, t, QStringLiteral("Druckerschnittstelle"), "printerPort", AT(printerPort), 1, 4);
    integer(f, t, QStringLiteral("Druckerschnittstelle Hardcopy"), "hardcopyPrinterPort", AT(hardcopyPrinterPort), 1, 4);
    integer(f, t, QStringLiteral("Druckertyp"), "printerType", AT(printerType), INT_MIN, INT_MAX);
    integer(f, t, QStringLiteral("Druckdichte"), "printDensity", AT(printDensity), INT_MIN, INT_MAX);
    integer(f, t, QStringLiteral("Druckdicke vertikal"), "printThicknessVertical", AT(printThicknessVertical), 1, 4);
    f.push_back(std::make_unique<Field>(define(
        t, QStringLiteral("Hardcopy um 90° gedreht ?"), "hardcopyRotated", Editor::Check,
        [](const Configuration& c) -> QVariant { return c.hardcopyRotated == 'J'; },
        [](Configuration& c, const QVariant& v) {
            c.hardcopyRotated = v.toBool() ? 'J' : 'N';
            return true;
        })));
    integer(f, t, QStringLiteral("Windows Screendump Origin X"), "screendumpOriginX", AT(screendumpOriginX), INT_MIN, INT_MAX);
    integer(f, t, QStringLiteral("Windows Screendump Origin Y"), "screendumpOriginY", AT(screendumpOriginY), INT_MIN, INT_MAX);
    real(f, t, QStringLiteral("Windows Screendump Scale"), "screendumpScale", AT(screendumpScale));
    flag(f, t, QStringLiteral("Windows Screendump Border ?"), "screendumpBorder", AT(screendumpBorder));
    const char* window[] = {"left", "top", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        integer(f, t, QStringLiteral("Text window ") + QLatin1String(window[i]), key("textWindow", i),
                [i](auto& c) -> auto& { return c.textWindow[static_cast<std::size_t>(i)]; }, INT_MIN, INT_MAX);
    }
    flag(f, t, QStringLiteral("Small Online Window ?"), "smallOnlineWindow", AT(smallOnlineWindow));
    integer(f, t, QStringLiteral("Input Window Scale %"), "inputWindowScale", AT(inputWindowScale), 10, 1000);
    integer(f, t, QStringLiteral("Hilfe- und Textfenster %"), "helpWindowScale", AT(helpWindowScale), 10, 1000);
    integer(f, t, QStringLiteral("PENDRAW Command lines (n)"), "plotCommandCount", AT(plotCommandCount), 1, 5);
    for (int i = 0; i < 5; ++i) {
        path(f, t, QStringLiteral("PENDRAW-Kommandozeile ") + n(i + 1), key("plotCommand", i + 1),
             [i](auto& c) -> auto& { return c.plotCommands[static_cast<std::size_t>(i)]; }, Editor::Line);
    }
}

void numbers(Fields& f) {
    const SettingsTab t = SettingsTab::Numbers;
    integer(f, t, QStringLiteral("Dezimalstellen"), "decimals", AT(decimals), 1, 9);
    choice(f, t, QStringLiteral("Dot=1 Komma=2"), "decimalSeparator", AT(decimalSeparator),
           {{1, QStringLiteral("1  .")}, {2, QStringLiteral("2  ,")}});
    choice(f, t, QStringLiteral("Date Code"), "dateCode", AT(dateCode),
           {{1, QStringLiteral("DD.MM.YYYY")}, {2, QStringLiteral("MM/DD/YYYY")}, {3, QStringLiteral("YYYY/MM/DD")},
            {4, QStringLiteral("DD/MM/YYY")}});
    choice(f, t, QStringLiteral("Metric Units=0,  English units=1"), "englishUnits", AT(englishUnits),
           {{0, QStringLiteral("0  mm")}, {1, QStringLiteral("1  inch")}});
    integer(f, t, QStringLiteral("Decimals DXF,TXT"), "cadDecimals", AT(cadDecimals), 1, 32);
    choice(f, t, QStringLiteral("Sonderzeichen"), "specialCharacters", AT(specialCharacters),
           {{0, QStringLiteral("²  µ  °")}, {1, QStringLiteral("2 u  deg")}});
    choice(f, t, QStringLiteral("Winkelausgabe"), "angleOutput", AT(angleOutput),
           {{1, QStringLiteral("15.1234°")}, {2, QStringLiteral("15° 7' 24\"")}});
    choice(f, t, QStringLiteral("Zahlenformat Tabellenkalkulation"), "spreadsheetNumberFormat",
           AT(spreadsheetNumberFormat), {{1, QStringLiteral("English x.xx")}, {2, QStringLiteral("German x,xx")}});
    flag(f, t, QStringLiteral("Edit 3D x,y,z ?"), "edit3d", AT(edit3d));
    const char* axes[] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        real(f, t, QStringLiteral("3D - Default ") + QLatin1String(axes[i]), key("default3d", i),
             [i](auto& c) -> auto& { return c.default3d[static_cast<std::size_t>(i)]; });
    }
}

void drawing(Fields& f) {
    const SettingsTab t = SettingsTab::Drawing;
    text(f, t, QStringLiteral("Textstil CAD"), "cadTextStyle", AT(cadTextStyle), 32);
    real(f, t, QStringLiteral("Textbreitenfaktor CAD"), "cadTextWidthFactor", AT(cadTextWidthFactor));
    real(f, t, QStringLiteral("Textwinkel"), "cadTextAngle", AT(cadTextAngle));
    // Which reader takes which coding of umlauts and signs: the entries say it, as the manual does.
    choice(f, t, QStringLiteral("CAD Text Mode"), "cadTextMode", AT(cadTextMode),
           {{1, QStringLiteral("1  DOS 850 (ältere DOS-CAD-Programme)")},
            {2, QStringLiteral("2  Windows 1252 (ezdxf; ältere Windows-CAD-Programme)")},
            {3, QStringLiteral("3  ae oe ue ss (jeder Leser, ohne Umlaute)")},
            {4, QStringLiteral("4  \\U+XXXX (ezdxf, LibreCAD, aktuelle CAD-Programme)")}});
    real(f, t, QStringLiteral("Bemaßungsfaktor"), "dimensionFactor", AT(dimensionFactor));
    choice(f, t, QStringLiteral("Index"), "indexStyle", AT(indexStyle),
           {{0, QStringLiteral("a,b,c...")}, {1, QStringLiteral("1,2,3...")}, {2, QStringLiteral("A,B,C...")},
            {3, QStringLiteral("......")}});
    text(f, t, QStringLiteral("Freigabe (Schriftfeld)"), "approvalText", AT(approvalText), 0);
    choice(f, t, QStringLiteral("Ergebnisgrafik"), "resultGraphic", AT(resultGraphic),
           {{0, QStringLiteral("egal")}, {1, QStringLiteral("Quick 1")}, {2, QStringLiteral("Quick 2")},
            {3, QStringLiteral("Fertigungszeichnung")}, {4, QStringLiteral("Diagramm")}, {5, QStringLiteral("Zeichnung")}});
    flag(f, t, QStringLiteral("Programmtitel zeigen"), "hideProgramTitle", AT(hideProgramTitle), false);
    flag(f, t, QStringLiteral("Dateiname zeigen"), "hideFileName", AT(hideFileName), false);
    flag(f, t, QStringLiteral("Datum zeigen"), "hideDate", AT(hideDate), false);
    flag(f, t, QStringLiteral("Logo zeigen"), "hideLogo", AT(hideLogo), false);
    flag(f, t, QStringLiteral("Enter Diagram Limits ?"), "enterDiagramLimits", AT(enterDiagramLimits));
    text(f, t, QStringLiteral("Textstil Grafik"), "graphicsTextStyle", AT(graphicsTextStyle), 60);
    real(f, t, QStringLiteral("Textbreitenfaktor Grafik"), "graphicsTextWidthFactor", AT(graphicsTextWidthFactor));
    integer(f, t, QStringLiteral("Text Style Graphics"), "graphicsFontStyle", AT(graphicsFontStyle), INT_MIN, INT_MAX);
    real(f, t, QStringLiteral("Text Height Factor"), "textHeightFactor", AT(textHeightFactor));
    real(f, t, QStringLiteral("Zoomfaktor"), "zoomFactor", AT(zoomFactor));
    real(f, t, QStringLiteral("Pan-Faktor"), "panFactor", AT(panFactor));
    real(f, t, QStringLiteral("GrafikKorrekturFaktor horizontal"), "graphicsAspectCorrection", AT(graphicsAspectCorrection));
    integer(f, t, QStringLiteral("Grafik-Mode"), "graphicsMode", AT(graphicsMode), INT_MIN, INT_MAX);
    integer(f, t, QStringLiteral("Grafik-Treiber"), "graphicsDriver", AT(graphicsDriver), INT_MIN, INT_MAX);
    integer(f, t, QStringLiteral("Auflösung horizontal"), "graphicsWidth", AT(graphicsWidth), INT_MIN, INT_MAX);
    integer(f, t, QStringLiteral("Auflösung vertikal"), "graphicsHeight", AT(graphicsHeight), INT_MIN, INT_MAX);
}

void colours(Fields& f) {
    const SettingsTab t = SettingsTab::Colours;
    colour(f, t, QStringLiteral("Hintergrundfarbe"), "backgroundColour", AT(backgroundColour), false);
    flag(f, t, QStringLiteral("Farbgrafik"), "colourGraphics", AT(colourGraphics));
    flag(f, t, QStringLiteral("Layer Monochrom"), "layerMonochrome", AT(layerMonochrome));
    for (int i = 0; i < 5; ++i) {
        const auto at = [i](auto& c) -> auto& { return c.layers[static_cast<std::size_t>(i)]; };
        text(f, t, QStringLiteral("Layer ") + n(i + 1), key("layerName", i + 1),
             [at](auto& c) -> auto& { return at(c).name; }, 32);
        colour(f, t, QStringLiteral("Farbe Layer ") + n(i + 1), key("layerColour", i + 1),
               [at](auto& c) -> auto& { return at(c).colour; }, true);
    }
    for (int i = 0; i < 6; ++i) {
        integer(f, t, QStringLiteral("Line thickness Layer ") + n(i), key("lineThickness", i),
                [i](auto& c) -> auto& { return c.lineThickness0to5[static_cast<std::size_t>(i)]; }, 1, 255);
    }
    for (int i = 0; i < 16; ++i) {
        colour(f, t, QStringLiteral("Color Layer ") + n(i + 16), key("layerColour", i + 16),
               [i](auto& c) -> auto& { return c.layerColours16to31[static_cast<std::size_t>(i)]; }, true);
        integer(f, t, QStringLiteral("Strichstärke Layer ") + n(i + 16), key("lineThickness", i + 16),
                [i](auto& c) -> auto& { return c.lineThickness16to31[static_cast<std::size_t>(i)]; }, INT_MIN, INT_MAX);
    }
}

void languages(Fields& f) {
    const SettingsTab t = SettingsTab::Languages;
    choice(f, t, QStringLiteral("Sprache"), "language", AT(language),
           {{0, QStringLiteral("eingebaut")}, {1, QStringLiteral("Deutsch")}, {2, QStringLiteral("English")},
            {3, QStringLiteral("Français")}, {4, QStringLiteral("Italiano")}, {5, QStringLiteral("Svenska")},
            {6, QStringLiteral("Português")}, {7, QStringLiteral("Română")}, {8, QStringLiteral("한국어")},
            {9, QStringLiteral("Español")}});
    choice(f, t, QStringLiteral("Hilfegrad"), "helpLevel", AT(helpLevel),
           {{0, QStringLiteral("0")}, {1, QStringLiteral("1")}, {2, QStringLiteral("2")}});
}

#undef AT

} // namespace

std::vector<std::unique_ptr<SettingsField>> settingsFields() {
    Fields f;
    folders(f);
    devices(f);
    numbers(f);
    drawing(f);
    colours(f);
    languages(f);
    return f;
}

} // namespace zam1
