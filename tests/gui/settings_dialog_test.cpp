// The settings dialog over a real "zam1.cfg": untouched it writes the file back
// byte for byte; a change in one field changes exactly that setting's line.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include "core/config/config_file.h"
#include "core/config/config_rows.h"
#include "core/session/program_state.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/settings_dialog.h"
#include "gui/editors/settings_fields.h"
#include "tests/config/config_rows_support.h"
#include "tests/gui/dialog_test_support.h"
#include "tests/gui/modal_script.h"
#include "tests/report/report_harness.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

struct SettingsHarness {
    test::TempFolder folder;
    test::TestPrompter prompter;
    ProgramState state;
    std::string before;

    explicit SettingsHarness(const Configuration& config) {
        loadLanguage(state.texts, kGerman);
        state.prompter = &prompter;
        state.configDirectory = folder.path();
        // The file as the program writes it: reading fills in what the file
        // leaves to the screen and the start folder.
        test::writeBytes(path(), configurationText(config));
        readConfiguration(folder.path(), state.config, ScreenInfo{}, folder.path());
        before = configurationText(state.config);
        test::writeBytes(path(), before);
    }
    std::string path() const { return settingsFilePath(folder.path(), "cfg"); }
    std::string after() const { return test::readBytes(path()); }
    // The dialog as File > Einstellungen runs it: OK takes the settings over.
    bool edit() {
        const auto chosen = editSettings(state.config, settingsFileOf(state), dialogEnvironment(state, nullptr));
        if (chosen) state.config = *chosen;
        return chosen.has_value();
    }
};

std::vector<std::string> fileLines(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        out.push_back(bytes.substr(start, end - start));
    }
    return out;
}

// The lines in which two files differ, each as "label: old -> new" (the label is
// the line above, which names the setting).
std::vector<std::string> changedLines(const std::string& before, const std::string& after) {
    const auto a = fileLines(before);
    const auto b = fileLines(after);
    if (a.size() != b.size()) return {"line count " + std::to_string(a.size()) + " -> " + std::to_string(b.size())};
    std::vector<std::string> out;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) out.push_back((i > 0 ? a[i - 1] : std::string()) + ": " + a[i] + " -> " + b[i]);
    }
    return out;
}

// A configuration away from the defaults wherever the kinds of lines differ.
Configuration unusualConfiguration() {
    Configuration c;
    c.layers[1].name = "Ma\xe1";  // "Maß" in CP850
    c.cadDirectory = "/home/müller/cad";
    c.zoomFactor = 1.0375L;
    c.plotCommandCount = 3;
    c.plotCommands[2] = "lp -d plotter";
    c.layerColours16to31[3] = 200;
    c.hideLogo = true;
    c.dateCode = 3;
    c.textWindow = {5, 6, 700, 300};
    c.dataDirectory = "/daten";
    return c;
}

TEST(SettingsDialog, UntouchedSettingsGoBackByteForByte) {
    struct Row { const char* name; Configuration config; };
    for (const Row& row : {Row{"defaults", Configuration{}}, Row{"unusual", unusualConfiguration()}}) {
        SCOPED_TRACE(row.name);
        SettingsHarness h(row.config);
        int tabs = 0;
        ModalScript script({[&](QWidget& d) {
            auto& pages = child<QTabWidget>(d, "PageControl1");
            tabs = pages.count();
            for (int t = 0; t < tabs; ++t) {
                pages.setCurrentIndex(t);
                test::keepShot(d, QStringLiteral("Form_config_%1").arg(t));
            }
            child<QPushButton>(d, "Button_save").click();
            child<QPushButton>(d, "Button_ok").click();
        }});
        EXPECT_TRUE(h.edit());
        EXPECT_EQ(tabs, 6);
        EXPECT_EQ(changedLines(h.before, h.after()), std::vector<std::string>{});
        EXPECT_EQ(h.after(), h.before);
    }
}

// The label the dialog shows beside a field's widget.
QString formLabel(QWidget* widget) {
    for (QWidget* field = widget; field != nullptr && field->parentWidget() != nullptr; field = field->parentWidget()) {
        if (auto* form = qobject_cast<QFormLayout*>(field->parentWidget()->layout())) {
            if (auto* label = qobject_cast<QLabel*>(form->labelForField(field))) return label->text();
        }
    }
    return {};
}

// What a user sees of a field and does with it: its label, its range or its
// choices, and the value `c` holds for it put in.
void checkAndEnter(QWidget& d, const ConfigRow& row, const Configuration& c) {
    const SettingsPlace& place = row.dialog;
    QWidget& widget = child<QWidget>(d, place.key);
    EXPECT_EQ(formLabel(&widget).toStdString(), place.label);
    const long double number = row.at.any() && !row.at.isText() ? row.at.number(c) : 0;
    switch (place.editor) {
    case SettingsEditor::Spin:
    case SettingsEditor::PaletteColour:
    case SettingsEditor::CadColour: {
        auto& spin = child<QSpinBox>(d, place.key);
        const bool colour = place.editor != SettingsEditor::Spin;
        EXPECT_EQ(spin.minimum(), colour ? 0 : place.lo);
        EXPECT_EQ(spin.maximum(), colour ? 255 : place.hi);
        spin.setValue(static_cast<int>(number));
        break;
    }
    case SettingsEditor::Combo: {
        auto& box = child<QComboBox>(d, place.key);
        EXPECT_EQ(static_cast<std::size_t>(box.count()), place.choices.size());
        for (int i = 0; i < box.count() && i < static_cast<int>(place.choices.size()); ++i) {
            EXPECT_EQ(box.itemData(i).toInt(), place.choices[static_cast<std::size_t>(i)].value);
            EXPECT_EQ(box.itemText(i).toStdString(), place.choices[static_cast<std::size_t>(i)].text);
        }
        box.setCurrentIndex(box.findData(static_cast<int>(number)));
        break;
    }
    case SettingsEditor::Check:
        child<QCheckBox>(d, place.key).setChecked(row.kind == RowKind::Letter ? number == 'J' : number != 0);
        break;
    case SettingsEditor::CheckOpposite: child<QCheckBox>(d, place.key).setChecked(number == 0); break;
    case SettingsEditor::Line:
    case SettingsEditor::Folder:
    case SettingsEditor::File: {
        auto& line = child<QLineEdit>(d, place.key);
        if (row.kind == RowKind::Text) {
            EXPECT_EQ(line.maxLength(), row.at.capacity() > 0 ? static_cast<int>(row.at.capacity()) : 32767);
            line.setText(fromOem(row.at.text(c)));
        } else if (row.at.isText()) {
            line.setText(QString::fromStdString(std::string(row.at.text(c))));
        } else {
            EXPECT_EQ(line.maxLength(), 30);
            line.setText(QString::number(static_cast<double>(number)));
        }
        break;
    }
    case SettingsEditor::None: break;
    }
}

// Every field of the table stands in the dialog under its key and label, and
// what is put in each goes into its own setting and line of the file.
TEST(SettingsDialog, EveryFieldShowsAndStoresItsSetting) {
    SettingsHarness h(Configuration{});
    Configuration expected = h.state.config;
    std::size_t fields = 0;
    int n = 0;
    for (const ConfigRow& row : configRows()) {
        if (row.dialog.editor == SettingsEditor::None) continue;
        test::setDistinct(row, expected, ++n);
        ++fields;
    }
    EXPECT_EQ(settingsFields(0).size(), fields);
    ASSERT_NE(test::differences(h.state.config, expected), std::vector<std::string>{});
    ModalScript script({[&](QWidget& d) {
        for (const ConfigRow& row : configRows()) {
            if (row.dialog.editor == SettingsEditor::None) continue;
            SCOPED_TRACE(row.dialog.key);
            checkAndEnter(d, row, expected);
        }
        child<QPushButton>(d, "Button_save").click();
        child<QPushButton>(d, "Button_ok").click();
    }});
    EXPECT_TRUE(h.edit());
    EXPECT_EQ(test::differences(h.state.config, expected), std::vector<std::string>{});
    EXPECT_EQ(h.after(), configurationText(expected));
}

// The dialog speaks the configured language: caption, tabs, groups, labels,
// choices and buttons; the keys stay what they are, and so does what is stored.
TEST(SettingsDialog, ShowsTheConfiguredLanguage) {
    const struct {
        int language;
        const char* caption;
        const char* firstTab;
        const char* decimalsLabel;
        const char* layerLabel;  // a label with its layer number
        const char* anyResult;   // a choice of the result graphic
        const char* cancel;
        const char* save;
    } rows[] = {
        {1, "Einstellungen", "Ordner und Programme", "Dezimalstellen", "Farbe Layer 3", "egal", "Abbrechen", "&Speichern"},
        {2, "Settings", "Folders and programs", "Decimal places", "Colour of layer 3", "any", "Cancel", "&Save"},
        {3, "Paramètres", "Dossiers et programmes", "Décimales", "Couleur du calque 3", "indifférent", "Annuler",
         "&Enregistrer"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.language);
        SettingsHarness h(Configuration{});
        h.state.config.language = row.language;
        ModalScript script({[&](QWidget& d) {
            EXPECT_EQ(d.windowTitle(), QString::fromUtf8(row.caption));
            EXPECT_EQ(child<QTabWidget>(d, "PageControl1").tabText(0), QString::fromUtf8(row.firstTab));
            const auto labelOf = [&d](const char* key) {
                QWidget& field = child<QWidget>(d, key);
                for (QFormLayout* form : d.findChildren<QFormLayout*>()) {
                    if (QWidget* label = form->labelForField(&field)) return qobject_cast<QLabel*>(label)->text();
                    if (field.parentWidget() && form->labelForField(field.parentWidget())) {
                        return qobject_cast<QLabel*>(form->labelForField(field.parentWidget()))->text();
                    }
                }
                return QString();
            };
            EXPECT_EQ(labelOf("decimals"), QString::fromUtf8(row.decimalsLabel));
            EXPECT_EQ(labelOf("layerColour3"), QString::fromUtf8(row.layerLabel));
            EXPECT_EQ(child<QComboBox>(d, "resultGraphic").itemText(0), QString::fromUtf8(row.anyResult));
            EXPECT_EQ(child<QPushButton>(d, "Button_cancel").text(), QString::fromUtf8(row.cancel));
            EXPECT_EQ(child<QPushButton>(d, "Button_save").text(), QString::fromUtf8(row.save));
            child<QPushButton>(d, "Button_ok").click();
        }});
        EXPECT_TRUE(h.edit());
        EXPECT_EQ(script.unused(), 0u);
        EXPECT_EQ(h.state.config.decimals, Configuration{}.decimals);
    }
}

TEST(SettingsDialog, OneChangedFieldChangesExactlyItsLine) {
    struct Row {
        const char* name;
        std::function<void(QWidget&)> edit;
        const char* expected;
    };
    const Row rows[] = {
        {"integer", [](QWidget& d) { child<QSpinBox>(d, "linesPerPage").setValue(72); },
         "Zeilen pro Seite f\x81r Drucker: 66 -> 72"},
        {"text with umlaut",
         [](QWidget& d) { child<QLineEdit>(d, "layerName2").setText(QStringLiteral("Höhe")); },
         "Layer: Ma\xe1 -> H\x94he"},
        {"real with comma", [](QWidget& d) { child<QLineEdit>(d, "panFactor").setText(QStringLiteral("0,05")); },
         "Pan-Faktor: 0.0100000 -> 0.0500000"},
        {"shown as show, stored as hide", [](QWidget& d) { child<QCheckBox>(d, "hideLogo").setChecked(true); },
         "FALSE: TRUE -> FALSE"},  // the last of four unlabelled flags
        {"colour", [](QWidget& d) { child<QSpinBox>(d, "backgroundColour").setValue(7); }, "Hintergrundfarbe: 1 -> 7"},
        {"CAD text mode for current readers",
         [](QWidget& d) {
             auto& mode = child<QComboBox>(d, "cadTextMode");
             mode.setCurrentIndex(mode.findData(4));
         },
         "CAD Text Mode: 1 -> 4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsHarness h(unusualConfiguration());
        ModalScript script({[&](QWidget& d) {
            row.edit(d);
            child<QPushButton>(d, "Button_save").click();
            child<QPushButton>(d, "Button_ok").click();
        }});
        EXPECT_TRUE(h.edit());
        EXPECT_EQ(changedLines(h.before, h.after()), std::vector<std::string>{row.expected});
        EXPECT_EQ(configurationText(h.state.config), h.after()) << "the settings in memory are the ones written";
    }
}

TEST(SettingsDialog, PickedFolderIsTakenAndInvalidNumbersAreRefused) {
    SettingsHarness h(Configuration{});
    h.prompter.folder("/srv/zeichnungen");
    ModalScript script({[&](QWidget& d) {
                            child<QPushButton>(d, "cadDirectory_pick").click();
                            child<QLineEdit>(d, "zoomFactor").setText(QStringLiteral("1.o2"));
                            child<QPushButton>(d, "Button_save").click();  // refused: the dialog stays
                            child<QPushButton>(d, "Button_ok").click();    // refused as well
                            child<QPushButton>(d, "Button_cancel").click();
                        }});
    EXPECT_FALSE(h.edit());
    EXPECT_EQ(h.after(), h.before);
    EXPECT_EQ(h.state.config.cadDirectory, "");
    EXPECT_EQ(h.prompter.log(), (std::vector<std::string>{"folder: CAD Ordner", "error: Ungültige Eingabe Zoomfaktor",
                                                           "error: Ungültige Eingabe Zoomfaktor"}));

    h.prompter.folder("/srv/zeichnungen");
    ModalScript again({[&](QWidget& d) {
        child<QPushButton>(d, "cadDirectory_pick").click();
        child<QPushButton>(d, "Button_save").click();
        child<QPushButton>(d, "Button_ok").click();
    }});
    EXPECT_TRUE(h.edit());
    EXPECT_EQ(changedLines(h.before, h.after()), std::vector<std::string>{"CAD Ordner:  -> /srv/zeichnungen"});
}

TEST(SettingsDialog, ImportFillsTheDialogFromTheFile) {
    SettingsHarness h(Configuration{});
    h.state.config.decimals = 7;  // in memory only; the file says 3
    int shown = 0, imported = 0;
    ModalScript script({[&](QWidget& d) {
        shown = child<QSpinBox>(d, "decimals").value();
        child<QPushButton>(d, "Button_import").click();
        imported = child<QSpinBox>(d, "decimals").value();
        child<QPushButton>(d, "Button_ok").click();
    }});
    EXPECT_TRUE(h.edit());
    EXPECT_EQ(shown, 7);
    EXPECT_EQ(imported, 3);
    EXPECT_EQ(h.after(), h.before);
    EXPECT_EQ(h.state.config.decimals, 3);
}

// OK takes the settings for this session and leaves the file alone; Speichern
// writes the file and leaves the settings in memory to OK; Import reads the file.
TEST(SettingsDialog, OkChangesMemorySaveWritesTheFileImportReadsIt) {
    struct Row {
        const char* name;
        std::vector<const char*> buttons;  // pressed in turn after "Dezimalstellen" is set to 5
        bool accepted;
        int inMemory;  // decimals afterwards
        int inFile;
        int shownAtEnd;  // decimals the dialog showed before the last button
    };
    const Row rows[] = {
        {"OK alone: memory only", {"Button_ok"}, true, 5, 3, 5},
        {"Speichern, then Abbrechen: the file only", {"Button_save", "Button_cancel"}, false, 3, 5, 5},
        {"Speichern, then OK: both", {"Button_save", "Button_ok"}, true, 5, 5, 5},
        {"Import throws the change away", {"Button_import", "Button_ok"}, true, 3, 3, 3},
        {"Speichern, change again, Import: the saved value", {"Button_save", "again", "Button_import", "Button_ok"},
         true, 5, 5, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsHarness h(Configuration{});
        int shown = 0;
        bool stayedOpen = true;
        ModalScript script({[&](QWidget& d) {
            child<QSpinBox>(d, "decimals").setValue(5);
            for (std::size_t i = 0; i < row.buttons.size(); ++i) {
                shown = child<QSpinBox>(d, "decimals").value();
                if (std::string(row.buttons[i]) == "again") {
                    child<QSpinBox>(d, "decimals").setValue(8);
                } else {
                    child<QPushButton>(d, row.buttons[i]).click();
                }
                if (i + 1 < row.buttons.size()) stayedOpen = stayedOpen && d.isVisible();
            }
        }});
        EXPECT_EQ(h.edit(), row.accepted);
        EXPECT_TRUE(stayedOpen) << "Speichern and Import keep the dialog open";
        EXPECT_EQ(h.state.config.decimals, row.inMemory);
        Configuration fromFile;
        readConfiguration(h.folder.path(), fromFile, ScreenInfo{}, h.folder.path());
        EXPECT_EQ(fromFile.decimals, row.inFile);
        EXPECT_EQ(shown, row.shownAtEnd);
    }
}

} // namespace
} // namespace zam1
