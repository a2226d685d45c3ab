// The help window opened at a help number, as a help button opens it.
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include "gui/editors/help_window.h"
#include "gui/platform/qt_prompter.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

QWidget* helpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("HelpWindow") && w->isVisible()) return w;
    }
    return nullptr;
}

// The text of the first block at the top of the browser's viewport.
QString topLine(QTextBrowser& browser) { return browser.cursorForPosition(QPoint(8, 8)).block().text(); }

// Whether the heading's block lies inside the viewport; a section near
// the end of a page cannot be scrolled to the top, but it must be in view.
bool inView(QTextBrowser& browser, const QString& heading) {
    QTextBlock block = browser.document()->firstBlock();
    while (block.isValid() && block.text() != heading) block = block.next();
    if (!block.isValid()) return false;
    const qreal top = browser.document()->documentLayout()->blockBoundingRect(block).top();
    const int scrolled = browser.verticalScrollBar()->value();
    return top >= scrolled && top < scrolled + browser.viewport()->height();
}

void closeHelpWindows() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("HelpWindow")) delete w;
    }
}

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override { closeHelpWindows(); }
};

TEST_F(HelpWindowTest, OpensAtTheSectionOfTheNumberInTheConfiguredLanguage) {
    const struct {
        const char* name;
        int number;
        int language;
        const char* page;
        const char* fragment;
        const char* heading;
        bool atTop;  // the section is far enough from the page's end to be scrolled to the top
    } rows[] = {
        {"element sigma, German", 5200, 1, "de/edit.html", "h5200", "Sigma eines Elements (Sigma i)", true},
        {"no language chosen yet: German", 6200, 0, "de/edit.html", "h6200", "Schräge (Winkel)", true},
        {"explanation dialog, English", 1970, 2, "en/help.html", "h1970", "Explanation of a message", false},
        {"French", 9020, 3, "fr/edit.html", "h9020", "Une cote résultante", false},
        {"Korean reads the English manual", 9020, 8, "en/edit.html", "h9020", "One closing dimension", false},
        {"unknown number: the contents from the top", 4711, 1, "de/index.html", "", "Inhalt · Datei · Bearbeiten", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        showHelp(nullptr, row.number, row.language);
        QWidget* window = helpWindow();
        ASSERT_NE(window, nullptr);
        auto& browser = child<QTextBrowser>(*window, "HelpBrowser");
        QApplication::processEvents();
        EXPECT_TRUE(browser.source().path().endsWith(QString::fromLatin1(row.page))) << browser.source().toString().toStdString();
        EXPECT_EQ(browser.source().fragment(), QString::fromLatin1(row.fragment));
        // The section is really scrolled to, not only named in the address.
        const QString heading = QString::fromUtf8(row.heading);
        if (row.atTop) {
            EXPECT_TRUE(topLine(browser).startsWith(heading)) << topLine(browser).toStdString();
        } else {
            EXPECT_GT(browser.verticalScrollBar()->value(), 0);
            EXPECT_TRUE(inView(browser, heading));
        }
        closeHelpWindows();
    }
}

TEST_F(HelpWindowTest, OneWindowIsReusedAndBackForwardAndContentsMove) {
    showHelp(nullptr, 5200, 1);
    QWidget* window = helpWindow();
    ASSERT_NE(window, nullptr);
    showHelp(nullptr, 1000, 1);
    EXPECT_EQ(helpWindow(), window);
    auto& browser = child<QTextBrowser>(*window, "HelpBrowser");
    auto& back = child<QPushButton>(*window, "Button_back");
    auto& forward = child<QPushButton>(*window, "Button_forward");
    QApplication::processEvents();
    EXPECT_EQ(topLine(browser).toStdString(), "Freimaßtoleranz");
    ASSERT_TRUE(back.isEnabled());
    EXPECT_FALSE(forward.isEnabled());
    back.click();
    QApplication::processEvents();
    EXPECT_EQ(browser.source().fragment(), QStringLiteral("h5200"));
    EXPECT_TRUE(forward.isEnabled());
    child<QPushButton>(*window, "Button_home").click();
    EXPECT_TRUE(browser.source().path().endsWith(QStringLiteral("de/index.html")));
    // A link followed inside the manual lands on its anchor too.
    browser.setSource(QUrl(QStringLiteral("methods.html#statistisch")));
    QApplication::processEvents();
    EXPECT_TRUE(topLine(browser).startsWith(QStringLiteral("Statistische Methode"))) << topLine(browser).toStdString();
}

// A prompt's help button opens the manual at the number its caller set, in
// the configured language, and the prompt stays open underneath.
TEST_F(HelpWindowTest, PromptHelpButtonOpensTheSectionOfTheCallersNumber) {
    QtPrompter prompter;
    prompter.setHelpContext(5450);
    prompter.setLanguageSource([] { return 2; });
    QString source;
    QString heading;
    bool windowActive = false;
    ModalScript script({
        [&](QWidget& d) {
            child<QPushButton>(d, "Button_hilfetext").click();
            QWidget* window = helpWindow();
            if (window) {
                auto& browser = child<QTextBrowser>(*window, "HelpBrowser");
                QApplication::processEvents();
                source = browser.source().toString();
                heading = inView(browser, QStringLiteral("Delete: which closing dimension?"))
                              ? QStringLiteral("in view") : topLine(browser);
                // Owned by the prompt, so the prompt does not block it.
                windowActive = window->parentWidget() == &d && !window->testAttribute(Qt::WA_Disabled) && window->isEnabled();
            }
            child<QRadioButton>(d, "RadioButton_nein").click();
            child<QPushButton>(d, "Button_ok").click();
        },
    });
    bool value = true;
    ASSERT_TRUE(prompter.askYesNo("Weiter?", value));
    EXPECT_FALSE(value);
    EXPECT_TRUE(source.endsWith(QStringLiteral("en/edit.html#h5450"))) << source.toStdString();
    EXPECT_EQ(heading.toStdString(), "in view");
    EXPECT_TRUE(windowActive);
    EXPECT_EQ(script.unused(), 0U);
}

} // namespace
} // namespace zam1
