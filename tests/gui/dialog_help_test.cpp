// Every dialog's help: F1 inside it and its help button open the manual at
// the dialog's own help number, in the configured language, on a section that
// exists. Each dialog is reached the way the user reaches it.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

#include "core/config/config_file.h"
#include "core/config/plot_settings.h"
#include "core/exchange/element_import.h"
#include "core/files/overview.h"
#include "core/lang/help_index.h"
#include "core/lang/language.h"
#include "core/session/program_state.h"
#include "gui/app/main_window.h"
#include "gui/editors/closing_dimension_dialogs.h"
#include "gui/editors/documentation_dialogs.h"
#include "gui/editors/element_table_dialog.h"
#include "gui/editors/exchange_dialogs.h"
#include "gui/editors/explanation_dialog.h"
#include "gui/editors/general_tolerance_dialog.h"
#include "gui/editors/allocation_dialog.h"
#include "gui/editors/monte_carlo_dialog.h"
#include "gui/editors/plot_settings_dialog.h"
#include "gui/editors/project_text_dialog.h"
#include "gui/editors/settings_dialog.h"
#include "gui/graphics/graphics_widget.h"
#include "gui/graphics/report_window.h"
#include "gui/platform/qt_desktop.h"
#include "gui/platform/qt_prompter.h"
#include "tests/gui/dialog_test_support.h"
#include "tests/gui/modal_script.h"
#include "tests/report/report_harness.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

void closeHelpWindows() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("HelpWindow")) delete w;
    }
}

// The page the open help window shows, relative to the manual folder ("" when none is open).
std::string shownHelpPage() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != QStringLiteral("HelpWindow") || !w->isVisible()) continue;
        const QUrl source = child<QTextBrowser>(*w, "HelpBrowser").source();
        const QString path = source.toLocalFile();
        const QString relative = path.mid(path.lastIndexOf(QLatin1Char('/'), path.lastIndexOf(QLatin1Char('/')) - 1) + 1);
        return (relative + (source.hasFragment() ? QLatin1Char('#') + source.fragment() : QString())).toStdString();
    }
    return {};
}

struct Session {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    QtPrompter prompter;
    test::TempFolder folder;
    explicit Session(int language) {
        loadLanguage(state->texts, kGerman);
        state->config.language = language;
        state->configDirectory = folder.path();
        state->prompter = &prompter;
        prompter.setLanguageSource([s = state.get()] { return s->config.language; });
        state->chain.clear();
        Element& e = state->chain.element(1);
        e.distance = 25;
        e.upperDev = 0.1L;
        e.lowerDev = -0.1L;
        state->chain.setElementCount(1);
        state->chain.setClosingCount(1);
        state->chain.closing(1).fromElement = 0;
        state->chain.closing(1).toElement = 1;
    }
    DialogEnvironment environment() {
        DialogEnvironment env;
        env.help = [this](int number) { prompter.showHelp(number, false); };
        return env;
    }
};

// What one row found in its dialog.
struct Found {
    QString dialog;
    int number = -1;
    std::string byF1;
    std::string byButton;
};

// Presses F1 in the dialog, then its help button, noting where the manual opened; closes the dialog.
ModalScript::Action checkHelp(Found& found, const char* button) {
    return [&found, button](QWidget& d) {
        found.dialog = d.objectName();
        found.number = d.property("helpNumber").isValid() ? d.property("helpNumber").toInt() : -1;
        QApplication::setActiveWindow(&d);
        QWidget* focus = d.focusWidget() ? d.focusWidget() : &d;
        QTest::keyClick(focus, Qt::Key_F1);
        QApplication::processEvents();
        found.byF1 = shownHelpPage();
        test::keepShot(d, d.objectName() + QStringLiteral("_help"));
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QStringLiteral("HelpWindow")) test::keepShot(*w, d.objectName() + QStringLiteral("_manual"));
        }
        closeHelpWindows();
        if (button) {
            child<QPushButton>(d, button).click();
            QApplication::processEvents();
            found.byButton = shownHelpPage();
            closeHelpWindows();
        }
        if (auto* dialog = qobject_cast<QDialog*>(&d)) dialog->reject();
    };
}

ModalScript::Action clickButton(const char* name) {
    return [name](QWidget& d) { child<QPushButton>(d, name).click(); };
}
ModalScript::Action cancel() {
    return [](QWidget& d) {
        if (auto* dialog = qobject_cast<QDialog*>(&d)) dialog->reject();
    };
}

struct Row {
    const char* name;
    int number;          // the section the dialog's help must open
    const char* button;  // the help button's object name; none: F1 only
    // Opens the dialog; `check` answers it, the actions around reach and leave it.
    std::function<void(Session&, ModalScript::Action check)> open;
};

TEST(DialogHelp, F1AndTheHelpButtonOpenTheManualAtTheDialogsNumberInEveryLanguage) {
    const Row rows[] = {
        {"element table", 9010, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             editElementTable(*s.state, nullptr);
         }},
        {"Sigma i", 5200, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({clickButton("Button_sigmatol"), check, cancel()});
             editElementTable(*s.state, nullptr);
         }},
        {"Schräge", 6200, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({clickButton("Button_winkel"), check, cancel()});
             editElementTable(*s.state, nullptr);
         }},
        {"Freimaßtoleranz", 1000, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             editGeneralTolerance(s.state->generalTolerance, s.state->texts, dialogEnvironment(*s.state, nullptr));
         }},
        {"project texts", 2200, nullptr,
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             editProjectText(projectTextFields(s.state->projectTexts), s.state->texts.main,
                             dialogEnvironment(*s.state, nullptr));
         }},
        {"settings", 2100, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             editSettings(s.state->config, settingsFileOf(*s.state), dialogEnvironment(*s.state, nullptr));
         }},
        {"closing dimension list", 5400, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             editClosingDimensions(*s.state, nullptr);
         }},
        {"one closing dimension", 9020, "Button_help",
         [](Session& s, ModalScript::Action check) {
             // The check cancels the new record, which ends the editor.
             ModalScript script({clickButton("Button_neu"), check});
             editClosingDimensions(*s.state, nullptr);
         }},
        {"prompt", 5140, "Button_hilfetext",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             s.prompter.setHelpContext(5140);
             bool value = true;
             s.prompter.askYesNo("Weiter?", value);
         }},
        // The prompts of the Edit menu, reached through its entries.
        {"production sigma", 5100, "Button_hilfetext",
         [](Session& s, ModalScript::Action check) {
             Thh window(*s.state);
             ModalScript script({check});
             window.findChild<QAction*>(QStringLiteral("mi_editsigma"))->trigger();
         }},
        {"decimals", 5150, "Button_hilfetext",
         [](Session& s, ModalScript::Action check) {
             Thh window(*s.state);
             ModalScript script({check});
             window.findChild<QAction*>(QStringLiteral("mi_editeinstellungen"))->trigger();
         }},
        {"number of elements on OK", 5140, "Button_hilfetext",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({clickButton("Button_ok"), check, cancel()});
             editElementTable(*s.state, nullptr);
         }},
        {"change record", 7020, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             QtDocumentationDialogs(nullptr, &s.prompter, s.environment()).editChange(1, {}, "08.12.2026");
         }},
        {"drawing information", 7010, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             QtDocumentationDialogs(nullptr, &s.prompter, s.environment()).editDrawingInfo({}, "Freigabe", "08.12.2026");
         }},
        {"document set-up", 7050, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             QtDocumentationDialogs(nullptr, &s.prompter, s.environment()).editDocumentSlots({});
         }},
        {"explanation of a message", 1970, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             QtExplanationView(nullptr, s.environment()).show("Meldung", "Ursache", "Abhilfe");
         }},
        {"spreadsheet import", 3600, nullptr,
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             QtImportPreview(nullptr, {}, s.state->texts, s.state->config.language).confirmImport("teile.csv", {});
         }},
        {"project overview table", 3400, nullptr,
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             std::vector<OverviewRow> rows(1);
             rows[0].cells[0] = "a.zm1";
             int row = 0;
             QtOverviewWindow(nullptr, {}, [] {}, s.environment().help).show("ZAM1", rows, row);
         }},
        {"Monte Carlo settings", 3500, nullptr,
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             s.state->file.dataDirectory = s.folder.path();
             s.state->file.currentFile = "welle";
             int closing = 1;
             editProjectMonteCarlo(*s.state, closing, [&](const AnalysisData& data, int shown) {
                 return editMonteCarloSettings(s.state->chain, data, shown, s.state->texts, {},
                                               dialogEnvironment(*s.state, nullptr));
             });
         }},
        {"tolerance allocation", 3510, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             s.state->file.dataDirectory = s.folder.path();
             s.state->file.currentFile = "welle";
             int closing = 1;
             allocateProjectTolerances(*s.state, closing, [&](Chain& chain, const AnalysisData& data, int shown) {
                 return allocateTolerances(chain, data, shown, s.state->texts, dialogEnvironment(*s.state, nullptr));
             });
         }},
        {"plot settings", 6600, "Button_help",
         [](Session& s, ModalScript::Action check) {
             ModalScript script({check});
             PlotSettings plot;
             QtDesktop window(nullptr, nullptr);
             window.setPrompter(&s.prompter);
             window.editPlotSettings(plot);
         }},
    };
    int language = 0;
    for (const Row& row : rows) {
        language = language % 3 + 1;  // German, English and French in turn
        SCOPED_TRACE(std::string(row.name) + ", language " + std::to_string(language));
        Session s(language);
        Found found;
        row.open(s, checkHelp(found, row.button));
        const std::string page = helpPage(row.number, language);
        ASSERT_NE(page.find('#'), std::string::npos) << "the help index has no section for " << row.number;
        EXPECT_EQ(found.number, row.number) << found.dialog.toStdString();
        EXPECT_EQ(found.byF1, page) << "F1";
        if (row.button) {
            EXPECT_EQ(found.byButton, page) << row.button;
        }
        closeHelpWindows();
    }
}

// The windows beside the dialogs: F1 in the graphics window and in the report
// window opens the manual's contents, as F1 in the main window does.
TEST(DialogHelp, F1InTheGraphicsAndReportWindowsOpensTheContents) {
    test::TempFolder folder;
    ProgramState state;
    state.config.language = 2;
    Thh window(state);
    const std::string report = folder.path() + "/bericht.txt";
    test::writeBytes(report, "Bericht\r\n");
    ASSERT_TRUE(window.desktop().showTextFile(report, "Bericht"));
    QWidget* reportWindow = window.desktop().reportWindow();
    ASSERT_NE(reportWindow, nullptr);
    const struct {
        const char* name;
        QWidget* window;
    } rows[] = {{"graphics window", &window.graphicsWidget()}, {"report window", reportWindow}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.window->show();
        QApplication::setActiveWindow(row.window);
        QWidget* focus = row.window->focusWidget() ? row.window->focusWidget() : row.window;
        QTest::keyClick(focus, Qt::Key_F1);
        QApplication::processEvents();
        EXPECT_EQ(shownHelpPage(), "en/index.html");
        closeHelpWindows();
    }
}

// The closing-dimension editor sets its own help numbers in the prompter; a
// prompt opened after it (Sigma, the decimals) keeps the number it had before,
// whether the editor was left with OK or with Abbrechen.
TEST(DialogHelp, TheClosingEditorsHelpNumbersEndWithIt) {
    for (const char* button : {"Button_ok", "Button_cancel"}) {
        SCOPED_TRACE(button);
        Session s(1);
        s.prompter.setHelpContext(0);
        ModalScript script({clickButton(button)});
        editClosingDimensions(*s.state, nullptr);
        EXPECT_EQ(script.unused(), 0u);
        EXPECT_EQ(s.prompter.helpContext(), 0);
    }
}

// The Help menu's text screens are modal: the main window's F1 cannot reach
// through them, so each has its own, which opens the manual's contents.
TEST(DialogHelp, F1InTheHelpMenusTextScreensOpensTheContents) {
    ProgramState state;
    state.config.language = 3;
    Thh window(state);
    for (const char* entry : {"mi_HelpAbout", "mi_helphistory", "mi_HelpHilfebild"}) {
        SCOPED_TRACE(entry);
        Found found;
        ModalScript script({checkHelp(found, nullptr)});
        auto* action = window.findChild<QAction*>(QLatin1String(entry));
        ASSERT_NE(action, nullptr);
        action->trigger();
        EXPECT_EQ(script.unused(), 0u);
        EXPECT_EQ(found.dialog, QStringLiteral("TextScreen"));
        EXPECT_EQ(found.byF1, "fr/index.html");
        closeHelpWindows();
    }
}

} // namespace
} // namespace zam1
