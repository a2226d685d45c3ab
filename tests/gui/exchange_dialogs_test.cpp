// The import preview and the folder table driven by object name: what they
// show, what OK, Cancel, a heading click and a row click answer. Each window is
// also saved as a picture under /tmp/exchange-shots/ for a look by eye.
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "core/exchange/element_import.h"
#include "core/exchange/sheet.h"
#include "core/files/overview.h"
#include "core/lang/language.h"
#include "gui/editors/exchange_dialogs.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

using test::ModalScript;
using test::child;

void shoot(QWidget& window, const char* name) {
    QDir().mkpath(QStringLiteral("/tmp/exchange-shots"));
    window.grab().save(QStringLiteral("/tmp/exchange-shots/%1.png").arg(QLatin1String(name)));
}

ElementTableChanges sampleChanges() {
    ElementTableChanges changes;
    changes.elementsBefore = 3;
    changes.elementsAfter = 3;
    changes.changes.push_back({2, ElementChange::Kind::Changed, {kColUpper, kColText}, "2; 1; +; 10; 0; 0; ; Welle; ",
                               "2; 1; +; 10; 0.2; 0; ; Gehäuse; "});
    changes.changes.push_back({3, ElementChange::Kind::Removed, {}, "3; 2; -; 5; 0; 0; H 7; Nabe; ", ""});
    return changes;
}

TEST(ImportPreview, ShowsTheChangesAndAnswersOkOrCancel) {
    LanguageTexts texts;
    for (const char* button : {"Button_ok", "Button_cancel"}) {
        SCOPED_TRACE(button);
        QtImportPreview preview(nullptr, {}, texts, kGerman);
        int rows = 0;
        QString summary, header;
        ModalScript script({[&, button](QWidget& d) {
            auto& grid = child<QTableWidget>(d, "StringGrid_changes");
            rows = grid.rowCount();
            header = grid.horizontalHeaderItem(2)->text() + QLatin1Char('|') + grid.item(0, 2)->text() + QLatin1Char('|') +
                     grid.item(1, 1)->text();
            summary = child<QLabel>(d, "Label_summary").text();
            shoot(d, "import_preview");
            child<QPushButton>(d, button).click();
        }});
        const bool confirmed = preview.confirmImport("teile.csv", sampleChanges());
        EXPECT_EQ(confirmed, std::string(button) == "Button_ok");
        EXPECT_EQ(rows, 2);
        EXPECT_EQ(header.toStdString(), "Spalten|ob.Tol., Text|entfällt");
        EXPECT_TRUE(summary.startsWith(QStringLiteral("teile.csv\nMaßelemente: 3 \u2192 3"))) << summary.toStdString();
        EXPECT_EQ(script.unused(), 0u);
    }
}

std::vector<OverviewRow> overviewRows() {
    std::vector<OverviewRow> rows(3);
    const char* names[] = {"a.zm1", "b.zm1", "c.zm1"};
    const char* counts[] = {"9", "10", "2"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].cells[0] = names[i];
        rows[i].cells[1] = "2026/12/08";
        rows[i].cells[2] = "Geh\x84use";  // OEM ä
        rows[i].cells[8] = "25.021";
        rows[i].cells[4] = counts[i];
        rows[i].path = std::string("/x/") + names[i];
    }
    return rows;
}

TEST(OverviewTable, HeadingSortsRowClickChoosesOtherRowsOnly) {
    std::vector<OverviewRow> rows = overviewRows();
    QtOverviewWindow window(nullptr, {}, [] {});
    int row = 0;  // the first row was chosen last time
    QString caption, name;
    ModalScript script({[&](QWidget& d) {
        caption = d.windowTitle();
        auto& grid = child<QTableWidget>(d, "StringGrid1");
        name = grid.item(0, 2)->text();
        grid.horizontalHeader()->sectionClicked(4);  // "n elem"
        shoot(d, "overview_table");
        emit grid.cellClicked(0, 3);  // now c.zm1 (2 elements) is on top: the row chosen last, no change
        emit grid.cellClicked(2, 0);  // b.zm1 (10 elements)
    }});
    EXPECT_EQ(window.show("ZAM1  /x", rows, row), OverviewWindow::Action::Choose);
    EXPECT_EQ(caption.toStdString(), "ZAM1  /x");
    EXPECT_EQ(name.toStdString(), "Gehäuse");
    EXPECT_EQ(row, 2);
    EXPECT_EQ(rows[static_cast<std::size_t>(row)].path, "/x/b.zm1");
}

TEST(OverviewTable, MenuExportsOrCloses) {
    struct Row {
        const char* action;
        OverviewWindow::Action expected;
    };
    for (const Row& r : {Row{"mi_exportexcel", OverviewWindow::Action::ExportSpreadsheet},
                         Row{"mi_exit", OverviewWindow::Action::Close}}) {
        SCOPED_TRACE(r.action);
        std::vector<OverviewRow> rows = overviewRows();
        QtOverviewWindow window(nullptr, {}, [] {});
        int row = -1;
        ModalScript script({[&](QWidget& d) { d.findChild<QAction*>(QLatin1String(r.action))->trigger(); }});
        EXPECT_EQ(window.show("ZAM1  /x", rows, row), r.expected);
        EXPECT_EQ(row, -1);
    }
}

} // namespace
} // namespace zam1
