#include "gui/editors/exchange_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/files/overview.h"
#include "core/lang/language.h"
#include "core/text/codepage.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/help_window.h"

namespace zam1 {
namespace {

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QTableWidgetItem* readOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString changeKind(const ElementChange& change, const ExchangeTexts& words) {
    switch (change.kind) {
    case ElementChange::Kind::Added: return fromUtf8(words.added);
    case ElementChange::Kind::Removed: return fromUtf8(words.removed);
    case ElementChange::Kind::Changed: break;
    }
    return fromUtf8(words.changed);
}

QString summary(const std::string& file, const ElementTableChanges& changes, const ExchangeTexts& words,
                const QString& elementsWord) {
    int counts[3] = {0, 0, 0};
    for (const ElementChange& c : changes.changes) ++counts[static_cast<int>(c.kind)];
    return QStringLiteral("%1\n%2: %3 \u2192 %4   (%5 %6, %7 %8, %9 %10)")
        .arg(fromUtf8(file), elementsWord)
        .arg(changes.elementsBefore)
        .arg(changes.elementsAfter)
        .arg(counts[static_cast<int>(ElementChange::Kind::Added)])
        .arg(fromUtf8(words.added))
        .arg(counts[static_cast<int>(ElementChange::Kind::Changed)])
        .arg(fromUtf8(words.changed))
        .arg(counts[static_cast<int>(ElementChange::Kind::Removed)])
        .arg(fromUtf8(words.removed));
}

void fillOverview(QTableWidget& grid, const std::vector<OverviewRow>& rows) {
    grid.setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < grid.rowCount(); ++r) {
        const OverviewRow& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < kOverviewColumns; ++c) {
            QTableWidgetItem* item = readOnlyItem(fromOem(row.cells[static_cast<std::size_t>(c)]));
            if (overviewColumnIsNumeric(c)) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid.setItem(r, c, item);
        }
    }
}

} // namespace

QtImportPreview::QtImportPreview(QWidget* parent, DialogLook look, const LanguageTexts& texts, int language)
    : m_parent(parent), m_look(std::move(look)), m_texts(texts), m_language(language) {}

bool QtImportPreview::confirmImport(const std::string& file, const ElementTableChanges& changes) {
    const ExchangeTexts& words = exchangeTexts(m_language);
    const std::vector<std::string> headings = elementHeadings(m_texts);
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("Form_importpreview"));
    dialog.setWindowTitle(fromUtf8(words.importTitle));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(summary(file, changes, words, fromOem(m_texts.main.dimensionElements)), &dialog);
    label->setObjectName(QStringLiteral("Label_summary"));
    layout->addWidget(label);

    auto* grid = new QTableWidget(static_cast<int>(changes.changes.size()), 5, &dialog);
    grid->setObjectName(QStringLiteral("StringGrid_changes"));
    grid->setHorizontalHeaderLabels({fromUtf8(headings[kColNumber]), fromUtf8(words.change), fromUtf8(words.columns),
                                     fromUtf8(words.before), fromUtf8(words.after)});
    grid->verticalHeader()->hide();
    for (int r = 0; r < grid->rowCount(); ++r) {
        const ElementChange& change = changes.changes[static_cast<std::size_t>(r)];
        QStringList columns;
        if (change.kind == ElementChange::Kind::Changed) {
            for (int c : change.columns) columns << fromUtf8(headings[static_cast<std::size_t>(c)]);
        }
        grid->setItem(r, 0, readOnlyItem(QString::number(change.element)));
        grid->setItem(r, 1, readOnlyItem(changeKind(change, words)));
        grid->setItem(r, 2, readOnlyItem(columns.join(QStringLiteral(", "))));
        grid->setItem(r, 3, readOnlyItem(fromUtf8(change.before)));
        grid->setItem(r, 4, readOnlyItem(fromUtf8(change.after)));
    }
    grid->resizeColumnsToContents();
    grid->horizontalHeader()->setStretchLastSection(true);
    // Wide enough for the rows before and after side by side, as far as the screen allows.
    int width = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < grid->columnCount(); ++c) width += grid->columnWidth(c);
    const QScreen* screen = m_parent ? m_parent->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : width;
    grid->setMinimumSize(std::clamp(width, 720, std::max(720, room)), 260);
    layout->addWidget(grid);

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(buttonWords(m_language).ok, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Button_ok"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(buttonWords(m_language).cancel, QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button_cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    installHelp(dialog, 3600, [language = m_language](int number) { showHelp(nullptr, number, language); });
    applyDialogLook(dialog, m_look);
    return dialog.exec() == QDialog::Accepted;
}

QtOverviewWindow::QtOverviewWindow(QWidget* parent, DialogLook look, std::function<void()> onProjectOpened,
                                   std::function<void(int)> onHelp)
    : m_parent(parent), m_look(std::move(look)), m_onProjectOpened(std::move(onProjectOpened)),
      m_onHelp(std::move(onHelp)) {}

OverviewWindow::Action QtOverviewWindow::show(const std::string& caption, std::vector<OverviewRow>& rows, int& row) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("TForm_preview"));
    dialog.setWindowTitle(fromUtf8(caption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* menus = new QMenuBar(&dialog);
    QMenu* file = menus->addMenu(QStringLiteral("File"));
    QAction* exportExcel = file->addAction(QStringLiteral("Export Excel"));
    exportExcel->setObjectName(QStringLiteral("mi_exportexcel"));
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mi_exit"));
    QMenu* help = menus->addMenu(QStringLiteral("Help"));
    QAction* helpAction = help->addAction(QStringLiteral("Help"));
    helpAction->setObjectName(QStringLiteral("mi_help"));
    layout->setMenuBar(menus);

    auto* grid = new QTableWidget(0, kOverviewColumns, &dialog);
    grid->setObjectName(QStringLiteral("StringGrid1"));
    QStringList headings;
    for (std::string_view h : overviewHeadings()) headings << fromUtf8(h);
    grid->setHorizontalHeaderLabels(headings);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    fillOverview(*grid, rows);
    // The first four columns have their customary widths, but never cut what they show.
    const int customary[] = {150, 64, 90, 90};
    for (int c = 0; c < kOverviewColumns; ++c) {
        grid->resizeColumnToContents(c);
        if (c < 4) grid->setColumnWidth(c, std::max(grid->columnWidth(c), customary[c]));
    }
    grid->setMinimumSize(900, 360);
    layout->addWidget(grid);

    Action action = Action::Close;
    const int lastRow = row;
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, grid, [&rows, grid](int column) {
        sortOverview(rows, column);
        fillOverview(*grid, rows);
    });
    const auto choose = [&](int chosen) {
        if (chosen < 0 || chosen == lastRow) return;  // the row chosen last is no change of row
        row = chosen;
        action = Action::Choose;
        dialog.accept();
    };
    QObject::connect(grid, &QTableWidget::cellClicked, &dialog, [choose](int r, int) { choose(r); });
    QObject::connect(grid, &QTableWidget::cellActivated, &dialog, [choose](int r, int) { choose(r); });
    QObject::connect(exportExcel, &QAction::triggered, &dialog, [&] {
        action = Action::ExportSpreadsheet;
        dialog.accept();
    });
    QObject::connect(exit, &QAction::triggered, &dialog, &QDialog::reject);
    QObject::connect(helpAction, &QAction::triggered, &dialog, [this] {
        if (m_onHelp) m_onHelp(3400);
    });
    installHelp(dialog, 3400, m_onHelp);
    applyDialogLook(dialog, m_look);
    dialog.exec();
    return action;
}

void QtOverviewWindow::projectOpened() {
    if (m_onProjectOpened) m_onProjectOpened();
}

} // namespace zam1
