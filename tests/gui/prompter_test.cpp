// The Qt prompter driven like a user: dialogs found by object name, keys typed.
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <QScreen>

#include <gtest/gtest.h>

#include "core/lang/language.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "gui/platform/qt_prompter.h"
#include "gui/platform/qt_translations.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

using test::ModalScript;
using test::child;

std::vector<std::string> lines(int n) {
    std::vector<std::string> out;
    for (int i = 1; i <= n; ++i) out.push_back("Zeile " + std::to_string(i));
    return out;
}

// Reads a message box's caption and text, then closes it.
ModalScript::Action readMessage(QString* caption, QString* text) {
    return [caption, text](QWidget& d) {
        auto& box = dynamic_cast<QMessageBox&>(d);
        *caption = box.windowTitle();
        *text = box.text();
        box.accept();
    };
}

// The core writes filters as "description|pattern" pairs; Qt would take such a
// text as one pattern that matches no file.
TEST(QtPrompter, FileFiltersBecomeQtFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"*.zm1|*.zm1", "*.zm1 (*.zm1);;* (*)"},
        {"Projekte|*.zm1|Texte|*.txt", "Projekte (*.zm1);;Texte (*.txt);;* (*)"},
        {"*.txt", "*.txt (*.txt);;* (*)"},
        {"DXF (*.dxf)", "DXF (*.dxf);;* (*)"},
        {"", "* (*)"},
    };
    for (const auto& [core, qt] : cases) {
        FileChoice choice;
        choice.filter = core;
        EXPECT_EQ(qtFileFilter(choice).toStdString(), qt) << core;
    }
}

TEST(QtPrompter, SevenChoicesAreRadioButtonsEightAreAList) {
    struct Case { int count; int current; const char* dialog; int pick; int expected; };
    const Case cases[] = {
        {2, 2, "Tin_radiodialog", 1, 1},  {7, 0, "Tin_radiodialog", 6, 6}, {7, 9, "Tin_radiodialog", 7, 7},
        {8, 3, "Tin_codedialog", 8, 8},   {20, 0, "Tin_codedialog", 2, 2},
    };
    for (const Case& c : cases) {
        QtPrompter prompter;
        QString dialogName;
        int shown = 0;
        int preselected = 0;
        ModalScript script({[&](QWidget& d) {
            dialogName = d.objectName();
            if (auto* list = d.findChild<QListWidget*>(QStringLiteral("ListBox1"))) {
                shown = list->count();
                preselected = list->currentRow() + 1;
                list->setCurrentRow(c.pick - 1);
            } else {
                const auto radios = child<QGroupBox>(d, "RadioGroup1").findChildren<QRadioButton*>();
                shown = static_cast<int>(radios.size());
                for (int i = 0; i < radios.size(); ++i) {
                    if (radios[i]->isChecked()) preselected = i + 1;
                }
                radios[c.pick - 1]->click();
            }
            QTest::keyClick(&d, Qt::Key_Return);
        }});
        int choice = c.current;
        ASSERT_TRUE(prompter.askChoice("W\x84hlen", lines(c.count), choice)) << c.count;
        EXPECT_EQ(dialogName.toStdString(), c.dialog) << c.count;
        EXPECT_EQ(shown, c.count);
        // A current choice of 0 or above the count stands for line 1.
        EXPECT_EQ(preselected, c.current >= 1 && c.current <= c.count ? c.current : 1) << c.count;
        EXPECT_EQ(choice, c.expected) << c.count;
    }
}

TEST(QtPrompter, IntegerOutOfRangeBeepsShowsTheRangeAndAsksAgainWithTheValue) {
    QtPrompter prompter;
    QString first, second, caption, message;
    ModalScript script({test::typeAndEnter(QStringLiteral("9"), &first), readMessage(&caption, &message),
                        test::typeAndEnter(QStringLiteral("5"), &second)});
    long long value = 3;
    ASSERT_TRUE(askInteger(prompter, "Anzahl", value, 6, 2));  // limits the wrong way round
    EXPECT_EQ(value, 5);
    EXPECT_EQ(first, QStringLiteral("3"));
    EXPECT_EQ(caption, QStringLiteral("Fehler : "));
    EXPECT_EQ(message, QStringLiteral("G\u00fcltiger Wertebereich: 2 .. 6 !"));
    EXPECT_EQ(second, QStringLiteral("9"));
    EXPECT_EQ(prompter.beeps(), 1);
    EXPECT_EQ(script.unused(), 0u);
}

TEST(QtPrompter, InvalidNumbersAreNamedAndOfferedAgainAsTyped) {
    QtPrompter prompter;
    QString caption, message, again;
    ModalScript script({test::typeAndEnter(QStringLiteral("abc")), readMessage(&caption, &message),
                        test::typeAndEnter(QStringLiteral("2,5"), &again)});
    long double value = 1.25L;
    ASSERT_TRUE(askNumber(prompter, "Sigma", value, 0, 10));
    EXPECT_EQ(message, QStringLiteral("Ung\u00fcltige Eingabe \"abc\" !"));
    EXPECT_EQ(again, QStringLiteral("abc"));  // the typo stays to be mended
    EXPECT_EQ(value, 2.5L);  // "," is a decimal point, whatever the locale
    EXPECT_EQ(prompter.beeps(), 1);
}

// The close query's three buttons speak the program's language, none stays
// German on an English or French screen; Escape is Cancel.
TEST(QtPrompter, TheYesNoCancelQuestionSpeaksTheProgramsLanguage) {
    const struct {
        int language;
        const char* yes;
        const char* no;
        const char* cancel;
    } cases[] = {
        {kGerman, "&Ja", "&Nein", "Abbrechen"},
        {kEnglish, "&Yes", "&No", "Cancel"},
        {kFrench, "&Oui", "&Non", "Annuler"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        loadLanguage(program().texts, c.language);
        QStringList buttons;
        ModalScript script({[&](QWidget& d) {
            auto& box = dynamic_cast<QMessageBox&>(d);
            for (auto role : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) buttons << box.button(role)->text();
            QTest::keyClick(&box, Qt::Key_Escape);
        }});
        QtPrompter prompter;
        EXPECT_EQ(prompter.askYesNoCancel("Speichern ?"), Answer::Cancel);
        EXPECT_EQ(buttons, QStringList({QString::fromUtf8(c.yes), QString::fromUtf8(c.no), QString::fromUtf8(c.cancel)}));
    }
    loadLanguage(program().texts, kGerman);
}

TEST(QtPrompter, EscapeCancelsEveryPromptAndLeavesTheValue) {
    struct Case { const char* name; std::function<bool(QtPrompter&)> ask; };
    const Case cases[] = {
        {"text", [](QtPrompter& p) { std::string t = "alt"; return p.askText("Text", 20, t) || t != "alt"; }},
        {"radio", [](QtPrompter& p) { int c = 2; return p.askChoice("Wahl", lines(3), c) || c != 2; }},
        {"list", [](QtPrompter& p) { int c = 4; return p.askChoice("Wahl", lines(9), c) || c != 4; }},
        {"yes/no", [](QtPrompter& p) { bool v = true; return p.askYesNo("Ja?", v) || !v; }},
        {"integer", [](QtPrompter& p) { long long v = 7; return askInteger(p, "Zahl", v, 0, 9) || v != 7; }},
    };
    for (const Case& c : cases) {
        QtPrompter prompter;
        ModalScript script({test::pressKey(Qt::Key_Escape)});
        EXPECT_FALSE(c.ask(prompter)) << c.name;
        EXPECT_EQ(script.unused(), 0u) << c.name;
    }
}

TEST(QtPrompter, TextsAreConvertedFromAndToCp850AndTheLengthIsLimited) {
    QtPrompter prompter;
    QString label, shown;
    int limit = 0;
    ModalScript script({[&](QWidget& d) {
        label = child<QLabel>(d, "Label1").text();
        auto& edit = child<QLineEdit>(d, "EditEinText");
        shown = edit.text();
        limit = edit.maxLength();
        edit.clear();
        QTest::keyClicks(&edit, QStringLiteral("\u00c4u\u00dfere Ma\u00dfe"));
        QTest::keyClick(&edit, Qt::Key_Enter);
    }});
    std::string text = "Gr\x94\xE1" "e";  // "Größe"
    ASSERT_TRUE(prompter.askText("Bezeichnung f\x81r Ma\xE1", 8, text));
    EXPECT_EQ(label, QStringLiteral("Bezeichnung f\u00fcr Ma\u00df"));
    EXPECT_EQ(shown, QStringLiteral("Gr\u00f6\u00dfe"));
    EXPECT_EQ(limit, 8);
    EXPECT_EQ(text, "\x8Eu\xE1" "ere M");  // "Äußere M": eight characters, CP850 again
}

TEST(QtPrompter, HelpButtonsCarryTheCallersHelpNumberAndKeepTheDialogOpen) {
    QtPrompter prompter;
    prompter.setHelpContext(5410);
    QVariant carried;
    QString helpText;
    ModalScript script({
        [&](QWidget& d) {
            carried = child<QPushButton>(d, "Button_hilfetext").property("helpContext");
            child<QPushButton>(d, "Button_hilfebild").click();  // opens the help message over the dialog
        },
        [&](QWidget& box) {
            helpText = dynamic_cast<QMessageBox&>(box).text();
            dynamic_cast<QMessageBox&>(box).accept();
        },
        // Back in the yes/no dialog, which is still open.
        [&](QWidget& d) {
            child<QRadioButton>(d, "RadioButton_ja").click();
            child<QPushButton>(d, "Button_ok").click();
        },
    });
    bool value = false;
    ASSERT_TRUE(prompter.askYesNo("Weiter?", value));
    EXPECT_TRUE(value);
    EXPECT_EQ(carried.toInt(), 5410);
    EXPECT_TRUE(helpText.contains(QStringLiteral("5410")));
}

TEST(QtPrompter, DialogsFollowTheConfiguredScaleAndSitOverTheMainWindow) {
    QWidget main;
    const QRect room = main.screen()->availableGeometry();
    main.setGeometry(room.left() + room.width() / 8, room.top() + room.height() / 8, room.width() * 3 / 4,
                     room.height() * 3 / 4);
    main.show();
    struct Seen { QSize size; qreal pointSize = 0; QPoint centre; };
    const auto open = [&](int percent) {
        QtPrompter prompter(&main);
        prompter.setScalePercent(percent, percent);
        Seen seen;
        test::ModalScript script({[&](QWidget& d) {
            seen = {d.size(), d.font().pointSizeF(), d.frameGeometry().center()};
            QTest::keyClick(&d, Qt::Key_Escape);
        }});
        int choice = 1;
        prompter.askChoice("Wahl", lines(4), choice);
        return seen;
    };
    const Seen normal = open(100);
    const Seen large = open(150);
    EXPECT_NEAR(large.pointSize, normal.pointSize * 1.5, 0.01);
    EXPECT_GT(large.size.width(), normal.size.width() * 1.3);
    EXPECT_GT(large.size.height(), normal.size.height() * 1.3);
    for (const Seen& s : {normal, large}) {
        EXPECT_NEAR(s.centre.x(), main.frameGeometry().center().x(), 2);
        EXPECT_NEAR(s.centre.y(), main.frameGeometry().center().y(), 2);
    }
}

// A main window at the screen's bottom edge (where the program puts it below the
// graphics window) must not push the dialog's buttons off the screen.
TEST(QtPrompter, DialogsStayOnTheScreenOverAMainWindowAtItsEdge) {
    QWidget main;
    const QRect room = main.screen()->availableGeometry();
    main.setGeometry(room.left(), room.bottom() - 60, 800, 60);
    main.show();
    QRect seen;
    test::ModalScript script({[&](QWidget& d) {
        seen = d.geometry();
        QTest::keyClick(&d, Qt::Key_Escape);
    }});
    QtPrompter prompter(&main);
    int choice = 1;
    prompter.askChoice("Wahl", lines(5), choice);
    ASSERT_FALSE(seen.isNull());
    EXPECT_TRUE(room.contains(seen)) << seen.y() << "+" << seen.height() << " in " << room.height();
}

// A caller that asks its own overwrite question gets a dialog that does not ask
// as well; every other save dialog keeps Qt's question.
TEST(QtPrompterFiles, TheSaveDialogAsksOnlyWhereTheCallerDoesNot) {
    for (const bool callerAsks : {true, false}) {
        QtPrompter prompter;
        FileChoice choice;
        choice.filter = "*.zm1|*.zm1";
        choice.defaultExtension = "zm1";
        choice.callerAsksOverwrite = callerAsks;
        bool dialogAsks = false;
        ModalScript script({[&](QWidget& d) {
            auto& files = dynamic_cast<QFileDialog&>(d);
            dialogAsks = !files.testOption(QFileDialog::DontConfirmOverwrite);
            files.reject();
        }});
        std::string path;
        EXPECT_FALSE(prompter.chooseSaveFile(choice, path));
        EXPECT_EQ(script.unused(), 0u);
        EXPECT_EQ(dialogAsks, !callerAsks);
    }
}

// Qt's own buttons and dialogs follow the program's language.
TEST(QtTranslationsTest, QtsOwnTextsFollowTheLanguage) {
    struct Case { int language; const char* cancel; };
    const Case cases[] = {{1, "Abbrechen"}, {3, "Annuler"}, {2, "Cancel"}, {0, "Abbrechen"}};
    QtTranslations texts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ASSERT_TRUE(texts.follow(c.language));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8(c.cancel));
    }
}

} // namespace
} // namespace zam1
