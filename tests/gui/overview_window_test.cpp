// The overview window driven by mouse: a heading sorts (numbers by value), a row
// opens its project and the table comes back, the same row again opens nothing.
#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>

#include <gtest/gtest.h>

#include "core/files/project_file.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/session/program_state.h"
#include "gui/editors/overview_window.h"
#include "gui/platform/qt_desktop.h"
#include "tests/gui/dialog_test_support.h"
#include "tests/gui/modal_script.h"
#include "tests/report/report_harness.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

QStringList column(const QTableWidget& table, int c) {
    QStringList out;
    for (int r = 0; r < table.rowCount(); ++r) out << table.item(r, c)->text();
    return out;
}

void clickHeading(QTableWidget& table, int c) {
    QHeaderView* header = table.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(c) + 5, header->height() / 2));
}

void clickRow(QTableWidget& table, const QString& file) {
    for (int r = 0; r < table.rowCount(); ++r) {
        if (table.item(r, 0)->text() == file) {
            QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualItemRect(table.item(r, 1)).center());
            return;
        }
    }
    ADD_FAILURE() << "no row " << file.toStdString();
}

struct OverviewHarness {
    test::TempFolder folder;
    test::TestPrompter prompter;
    HeadlessDesktop desktop;
    ProgramState state;

    OverviewHarness() {
        state.prompter = &prompter;
        state.desktop = &desktop;
        state.file.dataDirectory = folder.path();
        state.config.tempDirectory = folder.path();
        project("zehn.zm1", 10);
        project("neun.zm1", 9);
        project("zwei.zm1", 2);
    }
    void project(const std::string& name, int elements) {
        Chain chain;
        chain.setElementCount(elements);
        for (int i = 1; i <= elements; ++i) chain.element(i).distance = i;
        ASSERT_EQ(writeFileSafely(folder.file(name), projectFileText(chain, {}, state.documentation, {})), kIoOk);
    }
};

TEST(OverviewWindow, HeadingsSortByValueAndARowOpensItsProjectOnce) {
    OverviewHarness h;
    QString caption;
    QStringList byName, byCount;
    int opened = 0;
    ModalScript script({
        [&](QWidget& d) {
            caption = d.windowTitle();
            auto& table = child<QTableWidget>(d, "StringGrid1");
            byName = column(table, 0);
            clickHeading(table, 4);  // "n elem"
            byCount = column(table, 0);
            test::keepShot(d, QStringLiteral("Form_preview"));
            clickRow(table, QStringLiteral("neun.zm1"));
        },
        [&](QWidget& d) {
            auto& table = child<QTableWidget>(d, "StringGrid1");
            EXPECT_EQ(column(table, 0), byCount) << "the table comes back as it was";
            clickRow(table, QStringLiteral("neun.zm1"));  // no change of row: stays open
            EXPECT_TRUE(d.isVisible());
            child<QPushButton>(d, "Button_cancel").click();
        },
    });
    showOverview(h.state, nullptr, [&] { ++opened; });
    EXPECT_EQ(caption, QString::fromStdString("ZAM1  " + h.folder.path()));
    EXPECT_EQ(byName, (QStringList{QStringLiteral("neun.zm1"), QStringLiteral("zehn.zm1"), QStringLiteral("zwei.zm1")}));
    EXPECT_EQ(byCount, (QStringList{QStringLiteral("zwei.zm1"), QStringLiteral("neun.zm1"), QStringLiteral("zehn.zm1")}));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(h.state.file.currentFile, "neun");
    EXPECT_EQ(h.state.chain.elementCount(), 9);
    EXPECT_TRUE(h.state.error.isSet()) << "closing without a choice";
    EXPECT_EQ(script.unused(), 0u);
}

TEST(OverviewWindow, ProgressCanBeCancelled) {
    QtDesktop desktop(nullptr, nullptr);
    ModalScript script({[](QWidget& d) { dynamic_cast<QProgressDialog&>(d).cancel(); }});
    long stoppedAt = -1;
    for (long k = 0; k < 200; ++k) {
        if (!desktop.showProgress("datei.zm1", k, 200)) {
            stoppedAt = k;
            break;
        }
        QThread::msleep(10);
    }
    EXPECT_GT(stoppedAt, 0);
    EXPECT_LT(stoppedAt, 200);
    EXPECT_EQ(script.unused(), 0u);
}

} // namespace
} // namespace zam1
