// The closing-dimension editor, the project text dialog and the Monte Carlo
// dialog driven like a user: dialogs and controls by object name, keys typed.
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QRadioButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/analysis/sidecar.h"
#include "core/app/signoff_commands.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "core/standards/general_tolerance.h"
#include "gui/editors/allocation_dialog.h"
#include "gui/editors/closing_dimension_dialogs.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/general_tolerance_dialog.h"
#include "gui/app/batch_painter.h"
#include "gui/editors/monte_carlo_dialog.h"
#include "gui/editors/project_text_dialog.h"
#include "gui/editors/text_screen.h"
#include "gui/editors/sigma_angle_dialogs.h"
#include "tests/gui/modal_script.h"
#include "tests/gui/tool_output.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

using test::ModalScript;
using test::child;

// With ZAM1_SHOTS_DIR set, each dialog a test reaches is kept as a picture there.
void shoot(QWidget& dialog, const char* name) {
    const QByteArray dir = qgetenv("ZAM1_SHOTS_DIR");
    if (dir.isEmpty()) return;
    dialog.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// The project text dialog as the Text command runs it.
bool editProjectTextOf(ProgramState& state) {
    return takeProjectText(state.projectTexts,
                           editProjectText(projectTextFields(state.projectTexts), state.texts.main,
                                           dialogEnvironment(state, nullptr)),
                           state.error);
}

void click(QWidget& dialog, const char* button) { QTest::mouseClick(&child<QPushButton>(dialog, button), Qt::LeftButton); }

void retype(QWidget& dialog, const char* edit, const QString& text) {
    auto& e = child<QLineEdit>(dialog, edit);
    e.selectAll();
    e.del();
    // QTest types ASCII keys only; other characters arrive as input-method text would.
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(&e, c.toLatin1());
        } else {
            e.insert(QString(c));
        }
    }
}

QStringList listLines(QWidget& dialog) {
    auto& list = child<QListWidget>(dialog, "ListBox1");
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

void clickLine(QWidget& dialog, int row) {
    auto& list = child<QListWidget>(dialog, "ListBox1");
    const QRect rect = list.visualItemRect(list.item(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
}

int selectedLine(QWidget& dialog) {
    const auto selected = child<QListWidget>(dialog, "ListBox1").selectedItems();
    return selected.isEmpty() ? 0 : child<QListWidget>(dialog, "ListBox1").row(selected.front()) + 1;
}

class EditorDialogs : public ::testing::Test {
protected:
    EditorDialogs() {
        state.prompter = &prompter;
        state.chain.setElementCount(3);
        for (int n = 1; n <= 3; ++n) {
            state.chain.element(n).predecessor = n - 1;
            state.chain.element(n).distance = 10 * n;
            state.chain.element(n).upperDev = 0.1L;
            state.chain.element(n).lowerDev = -0.1L;
        }
    }

    DialogEnvironment environment() const { return dialogEnvironment(state, nullptr); }

    test::TestPrompter prompter;
    ProgramState state;
};

TEST_F(EditorDialogs, ClosingEditorNewInsertDeleteThroughTheButtons) {
    QString listCaption, recordCaption, labels, shownOnInsert;
    QStringList afterNew, afterInsert, afterDelete;
    bool errorButtonShown = true;
    int chosenAfterInsert = -1, chosenAfterDelete = -1;
    ModalScript script({
        [&](QWidget& d) {
            listCaption = d.windowTitle();
            errorButtonShown = child<QPushButton>(d, "Button_error").isVisible();
            click(d, "Button_neu");
        },
        [&](QWidget& d) {
            recordCaption = d.windowTitle();
            for (const char* name : {"Label_vonel", "Label_bisel", "Label_komment", "Label_komment2"}) {
                labels += child<QLabel>(d, name).text() + QLatin1Char('|');
            }
            retype(d, "Edit_vonel", QStringLiteral("1x"));  // the x is refused
            retype(d, "Edit_bisel", QStringLiteral("3"));
            retype(d, "Edit_komment", QStringLiteral("Lücke"));
            retype(d, "Edit_komment2", QStringLiteral("Maß über alles"));
            shoot(d, "closing_record");
            click(d, "Button_ok");
        },
        [&](QWidget& d) {
            afterNew = listLines(d);
            shoot(d, "closing_list");
            clickLine(d, 0);
            click(d, "Button_einfuegen");
        },
        [&](QWidget& d) {
            shownOnInsert = child<QLineEdit>(d, "Edit_komment").text();
            retype(d, "Edit_komment", QStringLiteral("Neu"));
            QTest::keyClick(&child<QLineEdit>(d, "Edit_komment"), Qt::Key_Return);
        },
        [&](QWidget& d) {
            afterInsert = listLines(d);
            chosenAfterInsert = selectedLine(d);
            click(d, "Button_loeschen");
        },
        [&](QWidget& d) {
            afterDelete = listLines(d);
            chosenAfterDelete = selectedLine(d);
            click(d, "Button_ok");
        },
    });
    state.error.set();
    EXPECT_TRUE(editClosingDimensions(state, nullptr));
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_FALSE(state.error.isSet());
    EXPECT_EQ(listCaption, QStringLiteral("ZAM1 Schließmaße"));
    EXPECT_FALSE(errorButtonShown);
    EXPECT_EQ(recordCaption, QStringLiteral("ZAM1 Schließmaß 1"));
    EXPECT_EQ(labels, QStringLiteral("von Element|bis Element|Text 1|Text 2|"));
    EXPECT_EQ(afterNew, QStringList{QStringLiteral("1: 1 -> 3 : Lücke  Maß über alles")});
    EXPECT_EQ(shownOnInsert, QStringLiteral("Lücke"));
    EXPECT_EQ(afterInsert, (QStringList{QStringLiteral("1: 1 -> 3 : Neu  Maß über alles"),
                                        QStringLiteral("2: 1 -> 3 : Lücke  Maß über alles")}));
    EXPECT_EQ(chosenAfterInsert, 1);
    EXPECT_EQ(afterDelete, QStringList{QStringLiteral("1: 1 -> 3 : Lücke  Maß über alles")});
    EXPECT_EQ(chosenAfterDelete, 1);
    ASSERT_EQ(state.chain.closingCount(), 1);
    EXPECT_EQ(oemToUtf8(state.chain.closing(1).text.view()), "Lücke");
    EXPECT_EQ(state.chain.closing(1).fromElement, 1);
    EXPECT_EQ(state.chain.closing(1).toElement, 3);
}

TEST_F(EditorDialogs, ClosingEditorDoubleClickEditsThatLineAndEscapeCancels) {
    state.chain.setClosingCount(2);
    state.chain.messages.add("Warnung");
    prompter.cancel(ScriptedPrompter::Kind::Choice);
    int edited = 0;
    bool errorButtonShown = false;
    ModalScript script({
        [&](QWidget& d) {
            errorButtonShown = child<QPushButton>(d, "Button_error").isVisible();
            click(d, "Button_error");  // the scripted prompter is offered the message list and leaves it
            auto& list = child<QListWidget>(d, "ListBox1");
            // A double click is a press, a release and a second press that comes as the double click.
            const QPoint at = list.visualItemRect(list.item(1)).center();
            QTest::mousePress(list.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        },
        [&](QWidget& d) {
            edited = d.windowTitle().section(QLatin1Char(' '), -1).toInt();
            retype(d, "Edit_bisel", QStringLiteral("2"));
            click(d, "Button_ok");
        },
        test::pressKey(Qt::Key_Escape),
    });
    EXPECT_TRUE(editClosingDimensions(state, nullptr));
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_TRUE(state.error.isSet());
    EXPECT_TRUE(errorButtonShown);
    EXPECT_EQ(edited, 2);
    EXPECT_EQ(state.chain.closing(2).toElement, 2);
    ASSERT_EQ(prompter.log().size(), 1u);
    EXPECT_NE(prompter.log()[0].find("Warnung"), std::string::npos);
}

// "Fehlermeldungen" in the closing-dimension list runs the message display of
// Hilfe > Fehlermeldungen: the choice list, then the chosen message with its
// cause and remedy; leaving it returns to the list, which is still there to use.
TEST_F(EditorDialogs, ClosingEditorErrorButtonExplainsTheChosenMessage) {
    state.chain.setClosingCount(1);
    state.chain.messages.add("Undefinierter Abstand !");
    state.config.pltDirectory = std::string(ZAM1_SOURCE_DIR) + "/examples";
    prompter.choose(1);
    QString explained, cause;
    ModalScript script({
        [&](QWidget& d) {
            click(d, "Button_error");  // returns when the message display has ended
            QTest::keyClick(&d, Qt::Key_Escape);
        },
        [&](QWidget& d) {
            explained = d.objectName();
            cause = child<QPlainTextEdit>(d, "Memo_ursache").toPlainText();
            shoot(d, "closing_editor_message");
            QTest::keyClick(&d, Qt::Key_Escape);
        },
    });
    editClosingDimensions(state, nullptr);
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_EQ(explained, QStringLiteral("helperr"));
    EXPECT_TRUE(cause.startsWith(QStringLiteral("Ein Schlie"))) << cause.toStdString();
    ASSERT_FALSE(prompter.log().empty());
    EXPECT_TRUE(prompter.log()[0].starts_with("choice: ")) << prompter.log()[0];
    EXPECT_NE(prompter.log()[0].find("Undefinierter Abstand !"), std::string::npos);
}

// The fixed-text screen (About, history) is as large as its text: no line is cut
// and no scroll bar is needed while the screen has room; a text taller than the
// screen scrolls, the window stays on the screen.
TEST(TextScreen, TheWindowFitsItsTextAndTheScreen) {
    struct Case { int lines; int width; bool scrolls; };
    const Case cases[] = {{11, 80, false}, {3, 40, false}, {300, 78, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lines << " lines of " << c.width);
        std::vector<std::string> lines;
        // Wide letters and an umlaut: the widest lines a text screen shows.
        for (int i = 0; i < c.lines; ++i) lines.push_back(std::string(static_cast<std::size_t>(c.width - 1), 'W') + "\xc3\x9f");
        int horizontal = -1, vertical = -1;
        QRect frame;
        ModalScript script({[&](QWidget& d) {
            auto& text = child<QPlainTextEdit>(d, "Memo_text");
            horizontal = text.horizontalScrollBar()->maximum();
            vertical = text.verticalScrollBar()->maximum();
            frame = d.frameGeometry();
            shoot(d, ("text_screen_" + std::to_string(c.lines)).c_str());
            click(d, "Button_ok");
        }});
        showTextScreen(nullptr, "ZAM1 - Toleranzrechnung", lines);
        EXPECT_EQ(script.unused(), 0u);
        EXPECT_EQ(horizontal, 0);
        EXPECT_EQ(vertical > 0, c.scrolls);
        EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(frame)) << frame.width() << "x" << frame.height();
    }
}

TEST_F(EditorDialogs, ProjectTextTakesEveryFieldWithinItsCapacity) {
    state.projectTexts.drawingNumber = "4711";
    QString caption, shownNumber;
    int nameLimit = 0;
    ModalScript script({[&](QWidget& d) {
        caption = d.windowTitle();
        shownNumber = child<QLineEdit>(d, "Edit_zeichnr").text();
        nameLimit = child<QLineEdit>(d, "Edit_zeichname").maxLength();
        retype(d, "Edit_zeichname", QStringLiteral("Getriebewelle mit Lagersitz und Nut"));
        retype(d, "Edit_zeichname2", QStringLiteral("Größe 2"));
        retype(d, "Edit_bemerkung3", QStringLiteral("dritte Zeile"));
        shoot(d, "project_text");
        QTest::keyClick(&child<QLineEdit>(d, "Edit_bemerkung3"), Qt::Key_Return);
    }});
    EXPECT_TRUE(editProjectTextOf(state));
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_EQ(caption, QStringLiteral("ZAM1 Projekttext"));
    EXPECT_EQ(shownNumber, QStringLiteral("4711"));
    EXPECT_EQ(nameLimit, 25);
    EXPECT_EQ(state.projectTexts.drawingName, "Getriebewelle mit Lagersi");
    EXPECT_EQ(oemToUtf8(state.projectTexts.drawingName2.view()), "Größe 2");
    EXPECT_EQ(state.projectTexts.drawingNumber, "4711");
    EXPECT_EQ(state.projectTexts.remarkLines[2], "dritte Zeile");
    EXPECT_FALSE(state.error.isSet());
}

TEST_F(EditorDialogs, ProjectTextCancelSetsTheFlagAndOkWithoutChangeIsNoChange) {
    state.projectTexts.drawingName = "Welle";
    {
        ModalScript script({[](QWidget& d) {
            retype(d, "Edit_zeichname", QStringLiteral("anders"));
            click(d, "Button_cancel");
        }});
        EXPECT_FALSE(editProjectTextOf(state));
        EXPECT_TRUE(state.error.isSet());
        EXPECT_EQ(state.projectTexts.drawingName, "Welle");
    }
    ModalScript script({[](QWidget& d) { click(d, "Button_ok"); }});
    EXPECT_FALSE(editProjectTextOf(state));
    EXPECT_FALSE(state.error.isSet());
}

// A number field keeps every character typed: "4x5" is no 45, "1O.5" no 1.5,
// "1e400" no 1400. OK names the field and the text and the dialog stays open;
// once mended, OK takes the number as typed.
TEST_F(EditorDialogs, NumberFieldsKeepATypoAndOkNamesIt) {
    struct Case {
        const char* dialog;
        const char* edit;
        const char* typo;
        const char* message;
        const char* mended;
    };
    const Case cases[] = {
        {"Form_zam1el2", "Edit_phi", "4x5", "phi: Ungültige Eingabe \"4x5\" !", "45"},
        {"Form_zam1el2", "Edit_y", "1O.5", "y: Ungültige Eingabe \"1O.5\" !", "10.5"},
        {"Form_zam1el2", "Edit_ytolo", "1e400",
         "y (ob.Tol.): \"1e400\" - Gültiger Wertebereich: -1000000000 .. 1000000000 !", "0.1"},
        {"Form_zam1elsi", "Edit1", "1O.5", "Sigma i: Ungültige Eingabe \"1O.5\" !", "6"},
        {"Form_zam1frei", "Edit_max", "1O.5", "ob.Tol.: Ungültige Eingabe \"1O.5\" !", "0.5"},
        {"Form_zam1frei", "Edit_min", "1e400",
         "unt.Tol.: \"1e400\" - Gültiger Wertebereich: -1000000000 .. 1000000000 !", "-0.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + " " + c.edit + " " + c.typo);
        const std::size_t errorsBefore = prompter.errors().size();
        const std::string dialog = c.dialog;
        QString kept;
        bool stayedOpen = false;
        ModalScript script({[&](QWidget& d) {
            EXPECT_EQ(d.objectName(), QLatin1String(c.dialog));
            if (dialog == "Form_zam1frei") child<QRadioButton>(d, "RadioButton1").click();
            retype(d, c.edit, QLatin1String(c.typo));
            kept = child<QLineEdit>(d, c.edit).text();
            click(d, "Button_ok");
            stayedOpen = d.isVisible();
            retype(d, c.edit, QLatin1String(c.mended));
            click(d, "Button_ok");
        }});
        if (dialog == "Form_zam1el2") {
            EXPECT_TRUE(runAngleDialog(QStringLiteral("1"), QStringLiteral("2"), state.texts, environment()).has_value());
        } else if (dialog == "Form_zam1elsi") {
            prompter.answer(Answer::Yes);
            const auto rescaled = runSigmaDialog(1, state.chain.element(1), state.chain.productionSigma, "+/-",
                                                 state.texts, environment());
            ASSERT_TRUE(rescaled.has_value());
            EXPECT_EQ(rescaled->upperDev, 0.05L) << "sigma 6 as typed after the mend";
        } else {
            const auto chosen = editGeneralTolerance(state.generalTolerance, state.texts, environment());
            ASSERT_TRUE(chosen.has_value());
            EXPECT_EQ(chosen->standardCode, kGeneralConstant);
        }
        EXPECT_EQ(script.unused(), 0u);
        EXPECT_EQ(kept, QLatin1String(c.typo)) << "every character typed stays";
        EXPECT_TRUE(stayedOpen);
        const std::vector<std::string> errors = prompter.errors();
        EXPECT_EQ(std::vector<std::string>(errors.begin() + static_cast<std::ptrdiff_t>(errorsBefore), errors.end()),
                  std::vector<std::string>{c.message});
    }
}

class MonteCarloDialogTest : public EditorDialogs {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("zam1-mcdialog-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        state.file.dataDirectory = dir.string();
        state.file.currentFile = "welle";
        state.chain.setClosingCount(2);
        state.chain.closing(1) = ClosingDimension{0, 2, "A", ""};
        state.chain.closing(2) = ClosingDimension{1, 3, "B", ""};
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // View > Monte Carlo ... as the window runs it.
    bool editMonteCarloSettings(int& closing, ExportPainter* painter = nullptr) {
        return editProjectMonteCarlo(state, closing, [&](const AnalysisData& data, int shown) {
            return zam1::editMonteCarloSettings(
                state.chain, data, shown, state.texts,
                [&](const AnalysisData& settings) { saveSignoffReport(state, settings, painter); }, environment());
        });
    }

    AnalysisData saved() const {
        AnalysisData data;
        EXPECT_TRUE(readSidecar((dir / "welle.zm1.json").string(), state.chain, data).ok);
        return data;
    }

    std::filesystem::path dir;
};

void setCell(QWidget& d, const char* table, int row, int column, const QString& text) {
    child<QTableWidget>(d, table).item(row, column)->setText(text);
}

TEST_F(MonteCarloDialogTest, OkWritesTheSettingsAfterABadFieldWasNamed) {
    int rowsShown = 0;
    QString samplesShown;
    bool stayedOpen = false;
    ModalScript script({[&](QWidget& d) {
        rowsShown = child<QTableWidget>(d, "StringGrid_elements").rowCount();
        samplesShown = child<QLineEdit>(d, "Edit_samples").text();
        setCell(d, "StringGrid_limits", 1, 1, QStringLiteral("abc"));
        click(d, "Button_ok");
        stayedOpen = d.isVisible();
        setCell(d, "StringGrid_limits", 1, 1, QStringLiteral("29,9"));
        setCell(d, "StringGrid_limits", 1, 2, QStringLiteral("30.1"));
        auto& elements = child<QTableWidget>(d, "StringGrid_elements");
        elements.editItem(elements.item(1, 4));
        auto& combo = child<QComboBox>(d, "ComboBox_distribution");
        combo.setCurrentIndex(3);
        elements.setCurrentCell(2, 0);  // leaving the cell takes the choice
        setCell(d, "StringGrid_elements", 1, 5, QStringLiteral("10"));
        retype(d, "Edit_samples", QStringLiteral("5000"));
        retype(d, "Edit_seed", QStringLiteral("42"));
        child<QComboBox>(d, "ComboBox_method").setCurrentIndex(2);
        child<QComboBox>(d, "ComboBox_closing").setCurrentIndex(1);
        shoot(d, "monte_carlo");
        click(d, "Button_ok");
    }});
    int closing = 1;
    ASSERT_TRUE(editMonteCarloSettings(closing));
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Schließmaß 2, untere Grenze: Ungültige Eingabe \"abc\" !"});
    EXPECT_EQ(rowsShown, 3);
    EXPECT_EQ(samplesShown, QStringLiteral("100000"));
    EXPECT_EQ(closing, 2);
    const AnalysisData data = saved();
    EXPECT_EQ(data.options.samples, 5000);
    EXPECT_EQ(data.options.seed, 42u);
    EXPECT_EQ(data.options.method, AnalysisMethod::MonteCarlo);
    EXPECT_FALSE(data.limitsOf(1).any());
    EXPECT_DOUBLE_EQ(static_cast<double>(*data.limitsOf(2).lower), 29.9);
    EXPECT_DOUBLE_EQ(static_cast<double>(*data.limitsOf(2).upper), 30.1);
    EXPECT_EQ(data.distributionOf(2).kind, Distribution::ShiftedNormal);
    EXPECT_DOUBLE_EQ(static_cast<double>(data.distributionOf(2).meanShiftPercent), 10.0);
    EXPECT_EQ(data.distributionOf(1).kind, Distribution::Normal);
}

// "Prüfbericht speichern ..." saves the report of the form as it stands (the
// seed typed, not yet saved) in the format of the name chosen; a bad field is
// named first and nothing is written; the dialog stays open throughout.
TEST_F(MonteCarloDialogTest, TheSignoffButtonSavesTheReportOfTheFormAsItStands) {
    struct Row {
        const char* chosen;   // the name given in the save dialog
        const char* written;  // the file that appears
        const char* seed;
        const char* error;    // shown instead; "" for none
    };
    const Row rows[] = {
        {"bericht.html", "bericht.html", "4711", ""},
        {"bericht", "bericht.pdf", "4711", ""},
        {"falsch.html", "falsch.html", "-1", "Startwert"},
    };
    QtExportPainter painter;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen);
        const std::filesystem::path chosen = dir / row.chosen;
        if (!*row.error) prompter.saveFile(chosen.string());
        QString caption;
        bool stayedOpen = false;
        ModalScript script({[&](QWidget& d) {
            caption = child<QPushButton>(d, "Button_signoff").text();
            setCell(d, "StringGrid_limits", 0, 1, QStringLiteral("25"));
            setCell(d, "StringGrid_limits", 0, 2, QStringLiteral("35"));
            retype(d, "Edit_samples", QStringLiteral("2000"));
            retype(d, "Edit_seed", QString::fromLatin1(row.seed));
            click(d, "Button_signoff");
            stayedOpen = d.isVisible();
            click(d, "Button_cancel");
        }});
        const std::size_t errorsBefore = prompter.errors().size();
        int closing = 1;
        EXPECT_FALSE(editMonteCarloSettings(closing, &painter));
        EXPECT_EQ(script.unused(), 0u);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(caption, QStringLiteral("Prüfbericht speichern ..."));
        EXPECT_FALSE(std::filesystem::exists(dir / "welle.zm1.json")) << "cancelled: the settings stay unsaved";
        const std::filesystem::path written = dir / row.written;
        if (*row.error) {
            ASSERT_EQ(prompter.errors().size(), errorsBefore + 1);
            EXPECT_NE(prompter.errors().back().find(row.error), std::string::npos) << prompter.errors().back();
            EXPECT_FALSE(std::filesystem::exists(written));
            continue;
        }
        EXPECT_EQ(prompter.errors().size(), errorsBefore);
        ASSERT_TRUE(std::filesystem::exists(written));
        std::string text;
        if (written.extension() == ".pdf") {
            text = test::toolOutput(QStringLiteral("pdftotext"), {QString::fromStdString(written.string()), QStringLiteral("-")})
                       .value_or("");
        } else {
            std::ifstream in(written);
            text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        text = test::collapsedBlanks(text);
        EXPECT_NE(text.find("Sign-off report: welle"), std::string::npos) << text;
        EXPECT_NE(text.find("4711"), std::string::npos) << "the seed typed";
        EXPECT_NE(text.find("lower 25.0000, upper 35.0000"), std::string::npos);
    }
}

TEST_F(MonteCarloDialogTest, ShowsTheSavedSettingsAndCancelWritesNothing) {
    AnalysisData data;
    data.limits[1] = RequiredLimits{std::nullopt, 20.5L};
    data.elements[3] = ElementDistribution{Distribution::Triangular, 0};
    data.options.seed = 9;
    ASSERT_EQ(writeSidecar((dir / "welle.zm1.json").string(), data), 0);
    const std::string before = sidecarText(data);
    QString upper, distribution, seed, closingShown;
    ModalScript script({[&](QWidget& d) {
        upper = child<QTableWidget>(d, "StringGrid_limits").item(0, 2)->text();
        distribution = child<QTableWidget>(d, "StringGrid_elements").item(2, 4)->text();
        seed = child<QLineEdit>(d, "Edit_seed").text();
        closingShown = child<QComboBox>(d, "ComboBox_closing").currentText();
        retype(d, "Edit_seed", QStringLiteral("10"));
        click(d, "Button_cancel");
    }});
    int closing = 2;
    EXPECT_FALSE(editMonteCarloSettings(closing));
    EXPECT_TRUE(state.error.isSet());
    EXPECT_EQ(upper, QStringLiteral("20.5"));
    EXPECT_EQ(distribution, QStringLiteral("dreieckig"));
    EXPECT_EQ(seed, QStringLiteral("9"));
    EXPECT_EQ(closingShown, QStringLiteral("2: 1 -> 3 : B  "));
    EXPECT_EQ(sidecarText(saved()), before);
}

// The pairs of the settings file are listed to be read only, and OK keeps them
// in the file it writes; without pairs a line says where they are declared.
TEST_F(MonteCarloDialogTest, ListsTheCorrelatedPairsReadOnlyAndKeepsThem) {
    AnalysisData data;
    data.correlations = {{1, 3, 0.8L}, {2, 3, -0.25L}};
    ASSERT_EQ(writeSidecar((dir / "welle.zm1.json").string(), data), 0);
    QString title, second, r;
    int rows = 0;
    bool editable = true;
    ModalScript script({[&](QWidget& d) {
        title = child<QGroupBox>(d, "GroupBox_correlations").title();
        auto& table = child<QTableWidget>(d, "StringGrid_correlations");
        rows = table.rowCount();
        second = table.item(1, 1)->text();
        r = table.item(1, 2)->text();
        editable = table.editTriggers() != QAbstractItemView::NoEditTriggers ||
                   (table.item(0, 2)->flags() & Qt::ItemIsEditable) != 0;
        shoot(d, "monte_carlo_correlations");
        retype(d, "Edit_seed", QStringLiteral("5"));
        click(d, "Button_ok");
    }});
    int closing = 1;
    ASSERT_TRUE(editMonteCarloSettings(closing));
    EXPECT_EQ(title, QStringLiteral("Korrelierte Elemente"));
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(second, QStringLiteral("3"));
    EXPECT_EQ(r, QStringLiteral("-0.25"));
    EXPECT_FALSE(editable);
    const AnalysisData back = saved();
    EXPECT_EQ(back.options.seed, 5u);
    ASSERT_EQ(back.correlations.size(), 2u);
    EXPECT_DOUBLE_EQ(static_cast<double>(back.correlations[0].r), 0.8);

    std::filesystem::remove(dir / "welle.zm1.json");
    QString none;
    ModalScript empty({[&](QWidget& d) {
        none = child<QLabel>(d, "Label_correlations").text();
        click(d, "Button_cancel");
    }});
    EXPECT_FALSE(editMonteCarloSettings(closing));
    EXPECT_EQ(none, QStringLiteral("keine (in der Einstellungsdatei unter \"correlations\")"));
}

TEST_F(MonteCarloDialogTest, TheLargestProjectShowsEveryElementAndClosingDimension) {
    state.chain.setElementCount(kMaxElements);
    state.chain.setClosingCount(kMaxClosing);
    int elements = 0, closings = 0, choices = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 openedMs = 0;
    ModalScript script({[&](QWidget& d) {
        openedMs = clock.elapsed();
        elements = child<QTableWidget>(d, "StringGrid_elements").rowCount();
        closings = child<QTableWidget>(d, "StringGrid_limits").rowCount();
        choices = child<QComboBox>(d, "ComboBox_closing").count();
        click(d, "Button_cancel");
    }});
    int closing = kMaxClosing;
    EXPECT_FALSE(editMonteCarloSettings(closing));
    EXPECT_EQ(elements, kMaxElements);
    EXPECT_EQ(closings, kMaxClosing);
    EXPECT_EQ(choices, kMaxClosing);
    RecordProperty("openedMs", static_cast<int>(openedMs));
}

TEST_F(MonteCarloDialogTest, NoClosingDimensionsOrNoFileNameOpenNoDialog) {
    int closing = 1;
    state.file.currentFile.clear();
    EXPECT_FALSE(editMonteCarloSettings(closing));
    state.chain.setClosingCount(0);
    EXPECT_FALSE(editMonteCarloSettings(closing));
    EXPECT_TRUE(state.error.isSet());
    EXPECT_EQ(prompter.errors().size(), 2u);
}


// The allocation dialog on three elements of ±0.1 in a row (nominal 60) with
// required limits ±0.3: a bad target is named, a proposal is shown beside
// today's values and withdrawn when the question changes, and only
// Übernehmen changes the chain.
class AllocationDialogTest : public EditorDialogs {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("zam1-allocdialog-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        state.file.dataDirectory = dir.string();
        state.file.currentFile = "welle";
        state.chain.setClosingCount(1);
        state.chain.closing(1) = ClosingDimension{0, 3, "Spalt", ""};
        AnalysisData data;
        data.limits[1] = RequiredLimits{59.7L, 60.3L};
        ASSERT_EQ(writeSidecar((dir / "welle.zm1.json").string(), data), 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // View > Toleranzverteilung ... as the window runs it.
    bool allocateTolerances(int& closing) {
        return allocateProjectTolerances(state, closing, [&](Chain& chain, const AnalysisData& data, int shown) {
            return zam1::allocateTolerances(chain, data, shown, state.texts, environment());
        });
    }

    std::filesystem::path dir;
};

TEST_F(AllocationDialogTest, AProposalIsShownWithdrawnAndTakenOver) {
    struct Seen {
        QString target;
        int rows = -1;
        bool applyEnabled = true;
    };
    Seen opened, afterFault, proposed, withdrawn;
    QString summary, codeAfter;
    const auto look = [](QWidget& d) {
        return Seen{child<QLineEdit>(d, "Edit_target").text(), child<QTableWidget>(d, "StringGrid_allocation").rowCount(),
                    child<QPushButton>(d, "Button_apply").isEnabled()};
    };
    ModalScript script({[&](QWidget& d) {
        opened = look(d);
        retype(d, "Edit_target", QStringLiteral("abc"));
        click(d, "Button_propose");
        afterFault = look(d);
        retype(d, "Edit_target", QStringLiteral("1"));
        click(d, "Button_propose");
        proposed = look(d);
        summary = child<QLabel>(d, "Label_summary").text();
        shoot(d, "allocation");
        retype(d, "Edit_target", QStringLiteral("1,2"));
        withdrawn = look(d);
        click(d, "Button_propose");
        click(d, "Button_apply");
    }});
    int closing = 1;
    ASSERT_TRUE(allocateTolerances(closing));
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_EQ(opened.target, QStringLiteral("1.33"));
    EXPECT_EQ(opened.rows, 0);
    EXPECT_FALSE(opened.applyEnabled);
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Ziel Cpk: Ungültige Eingabe \"abc\" !"});
    EXPECT_FALSE(afterFault.applyEnabled);
    EXPECT_EQ(proposed.rows, 3);
    EXPECT_TRUE(proposed.applyEnabled);
    EXPECT_TRUE(summary.contains(QStringLiteral("mit dem Vorschlag Cpk 1.000 (neu berechnet)"))) << summary.toStdString();
    EXPECT_EQ(withdrawn.rows, 0);
    EXPECT_FALSE(withdrawn.applyEnabled);
    // Cpk 1.2 with sigma 3: Σ t² = 36 (0.3 / 3.6)², three equal tolerances of 0.2887.
    for (int n = 1; n <= 3; ++n) {
        EXPECT_NEAR(static_cast<double>(state.chain.element(n).upperDev), 0.2887 / 2, 1e-4) << n;
        EXPECT_NEAR(static_cast<double>(state.chain.element(n).lowerDev), -0.2887 / 2, 1e-4) << n;
    }
}

TEST_F(AllocationDialogTest, CancelLeavesTheChainAlone) {
    ModalScript script({[&](QWidget& d) {
        click(d, "Button_propose");
        click(d, "Button_cancel");
    }});
    int closing = 1;
    EXPECT_FALSE(allocateTolerances(closing));
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_TRUE(state.error.isSet());
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(state.chain.element(n).upperDev, 0.1L) << n;
}

} // namespace
} // namespace zam1
