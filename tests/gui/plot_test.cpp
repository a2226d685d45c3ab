// The plot device in the window: its parameter dialog by object name, and the
// drawing printed by the program itself, to a PDF file, with the pens per colour.
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "core/config/configuration.h"
#include "core/config/plot_settings.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/plot_port.h"
#include "core/platform/clock.h"
#include "core/session/program_state.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/plot_settings_dialog.h"
#include "gui/graphics/plot_print.h"
#include "gui/platform/qt_desktop.h"
#include "gui/platform/qt_prompter.h"
#include "tests/gui/dialog_test_support.h"
#include "tests/gui/modal_script.h"
#include "tests/report/report_harness.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

TEST(PlotDialog, ShowsAndTakesTheParameters) {
    test::TestPrompter prompter;
    ProgramState state;
    state.prompter = &prompter;
    prompter.openFile("/usr/local/bin/hpgl-plot");
    QString shownPen;
    int shownPaper = -1;
    ModalScript script({[&](QWidget& d) {
        shownPaper = child<QComboBox>(d, "ComboBox_paper").currentIndex();
        shownPen = child<QLineEdit>(d, "Edit_pen0").text();
        test::keepShot(d, QStringLiteral("Form_plotConfig"));
        child<QComboBox>(d, "ComboBox_paper").setCurrentIndex(1);
        child<QRadioButton>(d, "RadioButton_portrait").setChecked(true);
        child<QLineEdit>(d, "Edit_scale").setText(QStringLiteral("x"));
        child<QPushButton>(d, "Button_ok").click();  // refused, stays open
        child<QLineEdit>(d, "Edit_scale").setText(QStringLiteral("1,5"));
        child<QLineEdit>(d, "Edit_pen3").setText(QStringLiteral("0.7"));
        child<QPushButton>(d, "Button_program").click();
        child<QPushButton>(d, "Button_ok").click();
    }});
    const auto edited = editPlotSettings(state.plot, dialogEnvironment(state, nullptr));
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(shownPaper, 0);
    EXPECT_EQ(shownPen, QStringLiteral("0.5"));
    EXPECT_EQ(edited->paper, 1);
    EXPECT_FALSE(edited->landscape);
    EXPECT_EQ(edited->scale, 1.5L);
    EXPECT_EQ(edited->penWidthsMm[3], 0.7L);
    EXPECT_EQ(edited->program, "/usr/local/bin/hpgl-plot");
    EXPECT_EQ(prompter.log(), (std::vector<std::string>{"error: Ungültige Eingabe Maßstab", "open: Plotprogramm"}));

    ModalScript cancel({[](QWidget& d) {
        child<QComboBox>(d, "ComboBox_paper").setCurrentIndex(4);
        child<QPushButton>(d, "Button_cancel").click();
    }});
    EXPECT_FALSE(editPlotSettings(*edited, dialogEnvironment(state, nullptr)).has_value());
}

// The dialog speaks the window's language, as the window's prompter tells it.
TEST(PlotDialog, SpeaksTheWindowsLanguage) {
    const struct {
        int language;
        const char* title;
        const char* firstBox;
        const char* cancel;
    } rows[] = {{1, "Plot-Einstellungen", "Papier", "Abbrechen"},
                {2, "Plot settings", "Paper", "Cancel"},
                {3, "Paramètres du traceur", "Papier", "Annuler"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.language);
        QtPrompter prompter;
        prompter.setLanguageSource([&] { return row.language; });
        PlotSettings plot;
        QString title, firstBox, cancel;
        ModalScript script({[&](QWidget& d) {
            title = d.windowTitle();
            firstBox = d.findChildren<QGroupBox*>().value(0)->title();
            cancel = child<QPushButton>(d, "Button_cancel").text();
            child<QPushButton>(d, "Button_cancel").click();
        }});
        QtDesktop window(nullptr, nullptr);
        window.setPrompter(&prompter);
        EXPECT_FALSE(window.editPlotSettings(plot).has_value());
        EXPECT_EQ(title.toStdString(), row.title);
        EXPECT_EQ(firstBox.toStdString(), row.firstBox);
        EXPECT_EQ(cancel.toStdString(), row.cancel);
        EXPECT_EQ(script.unused(), 0u);
    }
}

// The German pass of these tests must really run under the German locale (an
// environment lost on the way to the test made it a second English pass once).
TEST(GermanLocalePass, TheSystemLocaleIsGermanWhenThePassAsksForIt) {
    if (!qgetenv("LC_ALL").startsWith("de_DE")) GTEST_SKIP() << "not the German pass";
    EXPECT_EQ(QLocale::system().decimalPoint(), QStringLiteral(","));
}

// Keeps the drawing the plot device hands over, as the window's port would print it.
class CapturingPort final : public PlotPort {
public:
    std::optional<PlotSettings> editPlotSettings(const PlotSettings& plot) override { return plot; }
    bool printDrawing(GraphicsWindow& drawing, const PlotSettings& plot) override {
        thin = renderPlotImage(drawing, plot);
        PlotSettings thick = plot;
        thick.penWidthsMm.fill(1.0L);
        wide = renderPlotImage(drawing, thick);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(QPageLayout::Landscape);
        return paintPlot(printer, drawing, plot);
    }
    QString pdf;
    QImage thin, wide;
};

long inkPixels(const QImage& image) {
    long n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    }
    return n;
}

TEST(PlotPrint, TheDrawingIsPrintedWithItsPensOnWhitePaper) {
    test::TempFolder folder;
    test::TestPrompter prompter;
    ErrorFlag error;
    FixedClock clock{{2024, 3, 9, 14, 5, 30}};
    CapturingPort port;
    port.pdf = QString::fromStdString(folder.file("plot.pdf"));
    PlotSettings plot;
    plot.penWidthsMm.fill(0.1L);
    DrawingSettings settings;
    settings.tempFolder = folder.path();
    settings.plotCommandLines = {kDefaultPlotCommand};
    settings.window.backgroundColour = 0;
    DrawingContext ctx;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.error = &error;
    ctx.plot = &port;
    ctx.plotSettings = &plot;
    DrawingLayer layer(settings, ctx);
    ASSERT_TRUE(layer.startRun(kDevicePlot));
    layer.openSheet(0, 0, 160, 120);
    layer.beginPage();
    for (int layerNumber : {1, 2, 3, 20}) {
        layer.setLayer(layerNumber);
        layer.line(10, 10 + layerNumber, 150, 110 - layerNumber);
        layer.circle(80, 60, 5 + layerNumber);
    }
    layer.endPage();
    layer.finishRun();
    EXPECT_FALSE(error.isSet());

    ASSERT_FALSE(port.thin.isNull());
    EXPECT_EQ(port.thin.pixel(0, 0), qRgb(255, 255, 255)) << "paper, not the screen's background";
    const long thin = inkPixels(port.thin);
    EXPECT_GT(thin, 1000);
    EXPECT_GT(inkPixels(port.wide), 3 * thin) << "1 mm pens draw wider than 0.1 mm pens";
    const std::string pdf = test::readBytes(folder.file("plot.pdf"));
    EXPECT_EQ(pdf.substr(0, 4), "%PDF");
    if (!qEnvironmentVariableIsEmpty("ZAM1_SHOT_DIR")) {
        port.wide.scaledToWidth(800).save(qEnvironmentVariable("ZAM1_SHOT_DIR") + QStringLiteral("/plot.png"));
    }
}

} // namespace
} // namespace zam1
