// The element table editor and its dialogs driven like a user: cells typed by
// keyboard, buttons clicked by object name, answers given in the real prompts.
// Each dialog leaves a picture in /tmp/element-table-shots for a look.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "core/editors/element_table.h"
#include "core/lang/language.h"
#include "core/session/program_state.h"
#include "gui/editors/element_table_dialog.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/general_tolerance_dialog.h"
#include "gui/platform/qt_prompter.h"
#include "tests/files/sample_project.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

void shot(QWidget& w, const char* name) {
    const QString folder = QStringLiteral("/tmp/element-table-shots");
    QDir().mkpath(folder);
    w.grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

struct Session {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    QtPrompter prompter;
    Session() {
        state->prompter = &prompter;
        state->chain.clear();
    }
    // Element 1 at 25 from 0, +0.1/-0.1; a closing dimension from 0 to 1.
    void oneElement() {
        Element& e = state->chain.element(1);
        e.distance = 25;
        e.upperDev = 0.1L;
        e.lowerDev = -0.1L;
        state->chain.setElementCount(1);
        state->chain.setClosingCount(1);
        state->chain.closing(1).fromElement = 0;
        state->chain.closing(1).toElement = 1;
    }
};

// Makes (row, column) current, which opens its editor, and types into it;
// `leave` is the key that finishes the cell.
void typeCell(QWidget& dialog, int row, int column, const QString& text, Qt::Key leave = Qt::Key_Tab) {
    auto& grid = child<QTableView>(dialog, "StringGrid1");
    grid.setCurrentIndex(grid.model()->index(row - 1, column));
    QLineEdit* line = nullptr;
    for (QLineEdit* e : grid.findChildren<QLineEdit*>(QStringLiteral("CellEditor"))) {
        if (e->isVisible()) line = e;  // closed editors linger, hidden, until deleted
    }
    ASSERT_NE(line, nullptr) << "no editor on the current cell";
    line->selectAll();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, leave);
}

QString cell(QWidget& dialog, int row, int column) {
    auto& grid = child<QTableView>(dialog, "StringGrid1");
    return grid.model()->index(row - 1, column).data().toString();
}

void click(QWidget& dialog, const char* name) { child<QPushButton>(dialog, name).click(); }

ModalScript::Action answerBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    return [button, text](QWidget& d) {
        auto& box = dynamic_cast<QMessageBox&>(d);
        if (text) *text = box.text();
        box.button(button)->click();
    };
}

TEST(ElementTableDialog, TypeAnIsoCodeCalculateAndTakeOver) {
    Session s;
    s.state->chain.setClosingCount(1);
    s.state->chain.closing(1).fromElement = 0;
    s.state->chain.closing(1).toElement = 1;
    QString shownCount;
    QString results[3];
    ModalScript script({
        [&](QWidget& d) {
            shot(d, "element_table_empty");
            typeCell(d, 1, kColNominal, QStringLiteral("25"));
            typeCell(d, 1, kColIso, QStringLiteral("H7"));  // Tab leaves the ISO cell: evaluated
            EXPECT_EQ(cell(d, 1, kColUpper), QStringLiteral("0.021"));
            EXPECT_EQ(cell(d, 1, kColLower), QStringLiteral("0.000"));
            EXPECT_EQ(cell(d, 1, kColIso), QStringLiteral("H 7"));
            EXPECT_EQ(cell(d, 1, kColDirection), QStringLiteral("+"));
            typeCell(d, 1, kColText, QStringLiteral("Bohrung Ø"));
            click(d, "Button_berechnen");
            auto& r = child<QTableWidget>(d, "StringGrid2");
            for (int i = 0; i < 3; ++i) results[i] = r.item(i + 1, 1)->text();
            shot(d, "element_table_calculated");
            click(d, "Button_ok");
        },
        test::typeAndEnter(QStringLiteral("1"), &shownCount),
    });
    EXPECT_FALSE(editElementTable(*s.state, nullptr) == false);
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_FALSE(s.state->error.isSet());
    EXPECT_EQ(shownCount, QStringLiteral("1"));
    EXPECT_EQ(results[0], QStringLiteral("25.021"));
    EXPECT_EQ(results[1], QStringLiteral("25.000"));
    EXPECT_EQ(results[2], QStringLiteral("0.021"));
    const Chain& chain = s.state->chain;
    ASSERT_EQ(chain.elementCount(), 1);
    const Element& e = chain.element(1);
    EXPECT_EQ(e.distance, 25);
    EXPECT_NEAR(static_cast<double>(e.upperDev), 0.021, 1e-12);
    EXPECT_EQ(e.isoLetters.view(), "H");
    EXPECT_EQ(e.isoGrade, 7);
    EXPECT_EQ(e.text.view(), "Bohrung \x9D");  // Ø in the stored code page
}

TEST(ElementTableDialog, DecimalCommaAndPointWhateverTheLocaleAndATypoIsSaid) {
    Session s;
    s.oneElement();
    QString message;
    ModalScript script({
        [&](QWidget& d) {
            typeCell(d, 1, kColUpper, QStringLiteral("0,25"));
            typeCell(d, 1, kColLower, QStringLiteral("-0.05"));
            typeCell(d, 1, kColNominal, QStringLiteral("-"));  // a typo: says so after the editor closed
        },
        [&](QWidget& box) {
            message = dynamic_cast<QMessageBox&>(box).text();
            shot(box, "invalid_input");
            dynamic_cast<QMessageBox&>(box).accept();
            QWidget* editor = QApplication::activeModalWidget();
            ASSERT_NE(editor, nullptr);
            EXPECT_EQ(cell(*editor, 1, kColNominal), QStringLiteral("-")) << "what was typed stays, refused";
            const QModelIndex typo = child<QTableView>(*editor, "StringGrid1").model()->index(0, kColNominal);
            EXPECT_EQ(typo.data(Qt::ToolTipRole).toString(), QStringLiteral("Element Nr. 1, Nennmaß: Ungültige Eingabe \"-\" !"))
                << "the cell is marked and says why";
            EXPECT_TRUE(typo.data(Qt::BackgroundRole).isValid());
            auto& r = child<QTableWidget>(*editor, "StringGrid2");
            EXPECT_EQ(r.item(1, 1)->text(), QStringLiteral("25.250")) << "results follow each edit";
            click(*editor, "Button_cancel");
        },
    });
    EXPECT_FALSE(editElementTable(*s.state, nullptr)) << "Cancel: nothing was taken over";
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_TRUE(s.state->error.isSet());
    EXPECT_EQ(message, QStringLiteral("Element Nr. 1, Nennmaß: Ungültige Eingabe \"-\" !"));
    EXPECT_EQ(s.state->chain.element(1).upperDev, 0.1L);
}

// With "Dot=1 Komma=2" at 2 both grids show the decimal comma, as the reports do;
// a point typed into a cell is still read.
TEST(ElementTableDialog, TheDecimalCommaSettingShowsInBothGrids) {
    Session s;
    s.oneElement();
    s.state->config.decimalSeparator = 2;
    QString nominal, upper, maximum, typedLower;
    ModalScript script({
        [&](QWidget& d) {
            nominal = cell(d, 1, kColNominal);
            upper = cell(d, 1, kColUpper);
            maximum = child<QTableWidget>(d, "StringGrid2").item(1, 1)->text();
            typeCell(d, 1, kColLower, QStringLiteral("-0.05"));
            typedLower = cell(d, 1, kColLower);
            shot(d, "element_table_decimal_comma");
            click(d, "Button_ok");
        },
        test::typeAndEnter(QStringLiteral("1")),
    });
    EXPECT_TRUE(editElementTable(*s.state, nullptr));
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_EQ(nominal, QStringLiteral("25,000"));
    EXPECT_EQ(upper, QStringLiteral("0,100"));
    EXPECT_EQ(maximum, QStringLiteral("25,100"));
    EXPECT_EQ(typedLower, QStringLiteral("-0,05"));
    EXPECT_EQ(s.state->chain.element(1).lowerDev, -0.05L);
}

TEST(ElementTableDialog, SigmaAndAngleDialogsWriteTheCurrentRow) {
    Session s;
    s.oneElement();
    QString question;
    ModalScript script({
        [&](QWidget& d) {
            typeCell(d, 1, kColUpper, QStringLiteral("0.1"));
            click(d, "Button_sigmatol");
        },
        [&](QWidget& sigma) {
            EXPECT_EQ(sigma.objectName(), QStringLiteral("Form_zam1elsi"));
            auto& edit = child<QLineEdit>(sigma, "Edit1");
            edit.clear();
            QTest::keyClicks(&edit, QStringLiteral("-6"));  // refused: the display keeps sigma 3
            EXPECT_EQ(child<QLabel>(sigma, "Label2").text(), QStringLiteral("= 25  ± 0.1 (Sigma=3)"));
            edit.clear();
            QTest::keyClicks(&edit, QStringLiteral("6"));
            shot(sigma, "sigma_dialog");
            click(sigma, "Button_ok");
        },
        answerBox(QMessageBox::Yes, &question),
        [&](QWidget& d) {
            EXPECT_EQ(cell(d, 1, kColUpper), QStringLiteral("0.050"));
            EXPECT_EQ(cell(d, 1, kColLower), QStringLiteral("-0.050"));
            click(d, "Button_winkel");
        },
        [&](QWidget& angle) {
            EXPECT_EQ(angle.objectName(), QStringLiteral("Form_zam1el2"));
            EXPECT_EQ(child<QLabel>(angle, "Label_x").text(), QStringLiteral("10"));
            EXPECT_EQ(child<QLabel>(angle, "Label_xtolo").text(), QStringLiteral("+0.278"));
            EXPECT_EQ(child<QLabel>(angle, "Label_xtolu").text(), QStringLiteral("-0.271"));
            shot(angle, "angle_dialog");
            auto& phi = child<QLineEdit>(angle, "Edit_phi");
            phi.clear();
            QTest::keyClicks(&phi, QStringLiteral("90"));
            EXPECT_EQ(child<QLabel>(angle, "Label_x").text(), QString());
            EXPECT_FALSE(child<QPushButton>(angle, "Button_ok").isEnabled()) << "OK must not zero the element";
            phi.clear();
            QTest::keyClicks(&phi, QStringLiteral("45"));
            click(angle, "Button_ok");
        },
        [&](QWidget& d) {
            EXPECT_EQ(cell(d, 1, kColNominal), QStringLiteral("10.000"));
            EXPECT_EQ(cell(d, 1, kColUpper), QStringLiteral("0.278"));
            EXPECT_EQ(cell(d, 1, kColLower), QStringLiteral("-0.271"));
            click(d, "Button_cancel");
        },
    });
    EXPECT_TRUE(editElementTable(*s.state, nullptr)) << "the sigma dialog wrote into the chain";
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_EQ(question, QStringLiteral("25  ± 0.05 ?"));
    EXPECT_EQ(s.state->chain.element(1).upperDev, 0.05L);
    EXPECT_EQ(s.state->chain.element(1).distance, 25) << "the angle's values were never taken over";
}

TEST(ElementTableDialog, RowTwelveRaisesTheCountAndOkCanLowerIt) {
    Session s;
    s.oneElement();
    ModalScript script({
        [&](QWidget& d) {
            typeCell(d, 12, kColNominal, QStringLiteral("5"));
            EXPECT_EQ(s.state->chain.elementCount(), 12);
            EXPECT_EQ(cell(d, 11, kColDirection), QStringLiteral("+"));
            click(d, "Button_ok");
        },
        test::typeAndEnter(QStringLiteral("11")),
    });
    EXPECT_TRUE(editElementTable(*s.state, nullptr));
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_EQ(s.state->chain.elementCount(), 11);
}

TEST(ElementTableDialog, ClosingWithACellStillBeingTypedIsSafe) {
    Session s;
    s.oneElement();
    {
        TForm_zam1elemente dialog(*s.state, nullptr);
        dialog.FormShow();
        dialog.show();
        dialog.activateWindow();
        QCoreApplication::processEvents();
        auto& grid = dialog.grid();
        grid.setCurrentIndex(grid.model()->index(0, kColUpper));
        QCoreApplication::processEvents();
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, QStringLiteral("0.3"));
    }  // the editor commits while the dialog goes away
    EXPECT_EQ(s.state->chain.element(1).upperDev, 0.1L) << "nothing is taken over by closing";
}

TEST(ElementTableDialog, ALargeProjectShowsItsTextsAndCancelChangesNothing) {
    Session s;
    test::SampleProject project = test::sampleProject(kMaxElements, 5, 0, 0);
    s.state->chain = *project.chain;
    s.state->projectTexts = project.texts;
    QString caption, lastNumber, text;
    ModalScript script({[&](QWidget& d) {
        caption = d.windowTitle();
        text = cell(d, 1, kColText);
        lastNumber = cell(d, kMaxElements, kColNumber);
        shot(d, "element_table_large");
        click(d, "Button_cancel");
    }});
    EXPECT_FALSE(editElementTable(*s.state, nullptr));
    EXPECT_TRUE(s.state->error.isSet());
    EXPECT_TRUE(caption.startsWith(QStringLiteral("ZAM1 Name äöüÄÖÜß")));
    EXPECT_TRUE(caption.endsWith(QStringLiteral(": Maßelemente")));
    EXPECT_EQ(text, QStringLiteral("El1 äöüÄÖÜß |,.;qr"));
    EXPECT_EQ(lastNumber, QStringLiteral("2500"));
    EXPECT_EQ(s.state->chain.elementCount(), kMaxElements);
}

// The buttons speak the chosen language, and no two share an Alt letter.
TEST(ElementTableDialog, ButtonsFollowTheLanguageWithOneAltLetterEach) {
    struct Case { int language; const char* calculate; const char* cancel; const char* helpPicture; };
    const Case cases[] = {
        {1, "&Berechnen", "Abbrechen", "Hilfebil&d"},
        {2, "&Calculate", "Cancel", "Help &picture"},
        {3, "&Calculer", "Annuler", "Image d'ai&de"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        Session s;
        s.oneElement();
        setLanguage(s.state->texts, c.language, s.state->config.language);
        std::map<QChar, QString> letters;
        QStringList clashes;
        QString calculate, cancel, helpPicture;
        ModalScript script({[&](QWidget& d) {
            calculate = child<QPushButton>(d, "Button_berechnen").text();
            cancel = child<QPushButton>(d, "Button_cancel").text();
            helpPicture = child<QPushButton>(d, "Button_hilfebild").text();
            for (QPushButton* b : d.findChildren<QPushButton*>()) {
                if (!b->isVisible()) continue;
                const qsizetype at = b->text().indexOf(QLatin1Char('&'));
                if (at < 0 || at + 1 >= b->text().size()) continue;
                const QChar letter = b->text().at(at + 1).toLower();
                const auto [other, fresh] = letters.emplace(letter, b->text());
                if (!fresh) clashes << b->text() + QStringLiteral(" = ") + other->second;
            }
            click(d, "Button_cancel");
        }});
        editElementTable(*s.state, nullptr);
        EXPECT_EQ(calculate, QString::fromUtf8(c.calculate));
        EXPECT_EQ(cancel, QString::fromUtf8(c.cancel));
        EXPECT_EQ(helpPicture, QString::fromUtf8(c.helpPicture));
        EXPECT_TRUE(clashes.isEmpty()) << clashes.join(QStringLiteral("; ")).toStdString();
    }
}

TEST(ElementTableDialog, SpreadsheetButtonsExportWhatTheGridShowsAndShowWhatWasImported) {
    Session s;
    s.oneElement();
    long double exported = 0;
    ElementTableCollaborators with;
    with.exportTable = [&](ProgramState& state, QWidget*) {
        exported = state.chain.element(1).distance;
        return false;
    };
    with.importTable = [](ProgramState& state, QWidget*) {
        state.chain.element(1).distance = 77;
        return true;
    };
    ModalScript script({[&](QWidget& d) {
        typeCell(d, 1, kColNominal, QStringLiteral("30"));
        click(d, "Button_exportexcel");
        click(d, "Button_importExcel");
        EXPECT_EQ(cell(d, 1, kColNominal), QStringLiteral("77.000"));
        click(d, "Button_cancel");
    }});
    EXPECT_TRUE(editElementTable(*s.state, nullptr, std::move(with)));
    EXPECT_EQ(exported, 30);
    EXPECT_EQ(script.unused(), 0u);
}

TEST(GeneralToleranceDialog, OkStoresTheChoiceAndCancelKeepsIt) {
    Session s;
    ModalScript script({
        [&](QWidget& d) {
            shot(d, "general_tolerance");
            EXPECT_TRUE(child<QRadioButton>(d, "RadioButton2").isChecked());
            EXPECT_EQ(child<QComboBox>(d, "ComboBox_2768").currentIndex(), 1);
            EXPECT_FALSE(child<QLineEdit>(d, "Edit_max").isEnabled());
            child<QRadioButton>(d, "RadioButton1").click();
            EXPECT_TRUE(child<QLineEdit>(d, "Edit_max").isEnabled());
            EXPECT_FALSE(child<QComboBox>(d, "ComboBox_2768").isEnabled());
            auto& max = child<QLineEdit>(d, "Edit_max");
            max.clear();
            QTest::keyClicks(&max, QStringLiteral("0,3"));
            click(d, "Button_min");
            EXPECT_EQ(child<QLineEdit>(d, "Edit_min").text(), QStringLiteral("-0.3"));
            click(d, "Button_ok");
        },
        [&](QWidget& d) {
            child<QRadioButton>(d, "RadioButton0").click();
            click(d, "Button_cancel");
        },
    });
    const DialogEnvironment environment = dialogEnvironment(*s.state, nullptr);
    const auto chosen = editGeneralTolerance(s.state->generalTolerance, s.state->texts, environment);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->standardCode, kGeneralConstant);
    EXPECT_EQ(chosen->constantUpper, 0.3L);
    EXPECT_EQ(chosen->constantLower, -0.3L);
    EXPECT_FALSE(editGeneralTolerance(*chosen, s.state->texts, environment).has_value());
    EXPECT_EQ(script.unused(), 0u);
}

} // namespace
} // namespace zam1
