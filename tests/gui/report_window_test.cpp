// The report window of the screen device, reached through the Qt desktop as the
// core's output channel reaches it.
#include <QClipboard>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "gui/graphics/report_window.h"
#include "gui/platform/qt_desktop.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

// A file of this test's own: the tests run side by side (and once more under a
// German locale), so a shared name would let one remove the other's report.
std::string writeTemp(const std::string& bytes) {
    const std::string name = std::string("zam1_report_window_") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                             std::to_string(::getpid()) + ".txt";
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(ReportWindow, ShowsTheCp850ReportInAFixedPitchFontAfterTheFileIsGone) {
    QWidget main;
    QtDesktop desktop(&main, nullptr);
    desktop.setReportGeometry({20, 30, 640, 400});
    // "Größe: äöüÄÖÜß ± 0,1" and a page break, with CR LF line ends.
    const std::string path = writeTemp("Gr\x94\xE1" "e: \x84\x94\x81\x8E\x99\x9A\xE1 \xF1 0,1\r\n\fZeile 2\r\n");
    ASSERT_TRUE(desktop.showTextFile(path, "Bericht f\x81r Welle"));
    std::remove(path.c_str());  // as the output channel does right after

    ReportWindow* window = desktop.reportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->text(), QStringLiteral("Gr\u00f6\u00dfe: \u00e4\u00f6\u00fc\u00c4\u00d6\u00dc\u00df \u00b1 0,1\nZeile 2\n"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Bericht f\u00fcr Welle"));
    auto* view = window->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
    EXPECT_EQ(window->geometry().size(), QSize(640, 400));

    window->copyAll();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), window->text());

    // A file that cannot be read leaves the window as it was.
    EXPECT_FALSE(desktop.showTextFile(path, "leer"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Bericht f\u00fcr Welle"));
}

} // namespace
} // namespace zam1

namespace zam1 {
namespace {

TEST(ReportWindow, PrintingGoesThroughThePrintDialogAndCancelPrintsNothing) {
    QWidget main;
    QtDesktop desktop(&main, nullptr);
    const std::string path = writeTemp("Gr\x94\xE1" "e\r\n");
    QString dialogName;
    test::ModalScript cancel({[&](QWidget& d) {
        dialogName = d.objectName();
        QTest::keyClick(&d, Qt::Key_Escape);
    }});
    EXPECT_FALSE(desktop.printTextFile(path));
    EXPECT_EQ(dialogName, QStringLiteral("PrintDialog"));
    EXPECT_FALSE(desktop.printTextFile(path + ".fehlt"));  // nothing to print: no dialog either
    std::remove(path.c_str());
}

} // namespace
} // namespace zam1

#include "core/graphics/graphics_window.h"
#include "core/session/program_state.h"
#include "gui/graphics/graphics_widget.h"
#include "tests/gui/graphics_widget_support.h"

namespace zam1 {
namespace {

// Drucken prints what the user saw last: a diagram drawn after a report prints
// the diagram, a report after a diagram the report; a window the user closed
// gives way to the one still on the screen.
TEST(ReportWindow, PrintPrintsTheReportOrThePictureShownLast) {
    QWidget main;
    ErrorFlag error;
    GraphicsWindow window(screen(), error);
    TFkorvgra picture(window);
    QtDesktop desktop(&main, &picture);
    using Shown = QtDesktop::Shown;
    EXPECT_EQ(desktop.lastOutput(), Shown::Nothing);

    const auto draw = [&] {
        window.Clear();
        window.Header(0, 0, 160, 120);
        window.line(0, 0, 160, 120);
        window.showDrawing();
    };
    const std::string path = writeTemp("Bericht\r\n");
    const auto report = [&] { ASSERT_TRUE(desktop.showTextFile(path, "Standard")); };

    // Only a diagram since the start: the print dialog comes, not "nothing shown yet".
    draw();
    EXPECT_EQ(desktop.lastOutput(), Shown::Picture);
    QString dialogName;
    test::ModalScript cancel({[&](QWidget& d) {
        dialogName = d.objectName();
        QTest::keyClick(&d, Qt::Key_Escape);
    }});
    EXPECT_FALSE(desktop.printLastOutput());
    EXPECT_EQ(dialogName, QStringLiteral("PrintDialog"));

    struct Step { std::function<void()> action; Shown printed; };
    const Step steps[] = {
        {report, Shown::Report},                                     // View > Standard
        {draw, Shown::Picture},                                      // then View > Normalverteilung
        {report, Shown::Report},
        {[&] { desktop.reportWindow()->close(); }, Shown::Picture},  // the report closed: the picture
        {draw, Shown::Picture},
        {[&] { picture.close(); }, Shown::Picture},                  // nothing else on the screen
    };
    int n = 0;
    for (const Step& step : steps) {
        step.action();
        EXPECT_EQ(desktop.lastOutput(), step.printed) << "step " << n++;
    }
    std::remove(path.c_str());
}

} // namespace
} // namespace zam1
