#include "gui/editors/overview_window.h"

#include <QDialog>
#include <QHeaderView>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

#include "core/app/overview_commands.h"
#include "core/platform/desktop.h"
#include "core/session/program_state.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

constexpr int kOverviewHelp = 3400;
constexpr int kColumnWidths[] = {150, 64, 90, 90};

// The whole grid, heading row included, as tab-separated lines: what a
// spreadsheet takes from the clipboard.
std::string gridText(const std::vector<OverviewRow>& rows) {
    std::string out;
    const auto line = [&out](const auto& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0) out += '\t';
            out += cells[c];
        }
        out += '\n';
    };
    line(overviewHeadings());
    for (const OverviewRow& row : rows) line(row.cells);
    return out;
}

class OverviewDialog {
public:
    OverviewDialog(ProgramState& state, QWidget* parent, std::vector<OverviewRow>& rows, const std::string& lastChosen)
        : m_state(state), m_dialog(parent), m_rows(rows), m_lastChosen(lastChosen) {
        m_dialog.setObjectName(QStringLiteral("Form_preview"));
        m_dialog.setWindowTitle(QString::fromStdString(overviewCaption(state.file.dataDirectory)));
        auto* layout = new QVBoxLayout(&m_dialog);
        layout->setMenuBar(menuBar());

        m_table = new QTableWidget(0, kOverviewColumns, &m_dialog);
        m_table->setObjectName(QStringLiteral("StringGrid1"));
        QStringList headings;
        for (std::string_view h : overviewHeadings()) headings << fromOem(h);
        m_table->setHorizontalHeaderLabels(headings);
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_table->setSelectionMode(QAbstractItemView::SingleSelection);
        m_table->verticalHeader()->setVisible(false);
        m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_table->horizontalHeader()->setSectionsClickable(true);
        QObject::connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, m_table, [this](int column) {
            sortOverview(m_rows, column);
            fill();
        });
        QObject::connect(m_table, &QTableWidget::cellClicked, m_table, [this](int row, int) { choose(row); });
        QObject::connect(m_table, &QTableWidget::cellActivated, m_table, [this](int row, int) { choose(row); });
        layout->addWidget(m_table);

        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        QPushButton* ok = addButton(m_dialog, buttons, "Button_ok", QStringLiteral("OK"));
        QPushButton* cancel = addButton(m_dialog, buttons, "Button_cancel", QStringLiteral("Abbrechen"));
        QObject::connect(ok, &QPushButton::clicked, &m_dialog, &QDialog::reject);
        QObject::connect(cancel, &QPushButton::clicked, &m_dialog, &QDialog::reject);
        layout->addLayout(buttons);
        fill();
        m_dialog.resize(1000, 520);
    }

    // The path of the chosen row; nothing when the window was closed without a choice.
    std::optional<std::string> run() {
        if (m_dialog.exec() != QDialog::Accepted) return std::nullopt;
        return m_chosen;
    }

private:
    QMenuBar* menuBar() {
        auto* bar = new QMenuBar(&m_dialog);
        QMenu* file = bar->addMenu(QStringLiteral("File"));
        QAction* exportAction = file->addAction(QStringLiteral("Export Excel"));
        exportAction->setObjectName(QStringLiteral("mi_exportExcel"));
        QObject::connect(exportAction, &QAction::triggered, &m_dialog,
                         [this] { m_state.desktop->copyToClipboard(oemToClipboard(gridText(m_rows))); });
        QAction* exit = file->addAction(QStringLiteral("E&xit"));
        exit->setObjectName(QStringLiteral("mi_exit"));
        QObject::connect(exit, &QAction::triggered, &m_dialog, &QDialog::reject);
        QMenu* help = bar->addMenu(QStringLiteral("Help"));
        QAction* helpAction = help->addAction(QStringLiteral("Help"));
        helpAction->setObjectName(QStringLiteral("mi_help"));
        helpAction->setProperty("helpContext", kOverviewHelp);
        helpAction->setEnabled(false);  // no help texts are installed with this build
        return bar;
    }

    static std::string oemToClipboard(const std::string& oem) { return fromOem(oem).toStdString(); }

    void fill() {
        m_table->setRowCount(static_cast<int>(m_rows.size()));
        for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
            const OverviewRow& row = m_rows[static_cast<std::size_t>(r)];
            for (int c = 0; c < kOverviewColumns; ++c) {
                auto* item = new QTableWidgetItem(fromOem(row.cells[static_cast<std::size_t>(c)]));
                if (overviewColumnIsNumeric(c)) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_table->setItem(r, c, item);
            }
        }
        // The classic widths, widened where today's fonts would cut a date or a heading.
        for (int c = 0; c < kOverviewColumns; ++c) {
            const int classic = c < 4 ? kColumnWidths[c] : 64;
            m_table->resizeColumnToContents(c);
            m_table->setColumnWidth(c, std::max(classic, m_table->columnWidth(c)));
        }
    }

    // Choosing the row chosen last again is no change of row: nothing reopens.
    void choose(int row) {
        if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
        const std::string& path = m_rows[static_cast<std::size_t>(row)].path;
        if (path == m_lastChosen) return;
        m_chosen = path;
        m_dialog.accept();
    }

    ProgramState& m_state;
    QDialog m_dialog;
    std::vector<OverviewRow>& m_rows;
    std::string m_lastChosen;
    std::string m_chosen;
    QTableWidget* m_table = nullptr;
};

} // namespace

void showOverview(ProgramState& state, QWidget* parent, const std::function<void()>& afterOpen) {
    state.error.clear();
    OverviewScan scan = scanDataDirectory(state);
    std::string lastChosen;
    for (;;) {
        OverviewDialog dialog(state, parent, scan.rows, lastChosen);
        const std::optional<std::string> chosen = dialog.run();
        if (!chosen) {
            state.error.set();  // closed without a choice
            return;
        }
        // Only a project that was opened counts as chosen: after a cancelled
        // close query the same row may be tried again.
        if (!openOverviewRow(state, *chosen)) continue;
        lastChosen = *chosen;
        if (afterOpen) afterOpen();
    }
}

} // namespace zam1
