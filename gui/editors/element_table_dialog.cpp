#include "gui/editors/element_table_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/command_guard.h"
#include "core/editors/dialog_answer.h"
#include "core/editors/element_table.h"
#include "core/files/working_copy.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/text/number_format.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/cell_input.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/element_table_model.h"
#include "gui/editors/general_tolerance_dialog.h"
#include "gui/editors/sigma_angle_dialogs.h"

namespace zam1 {
namespace {

constexpr int kColumnWidths[kElementColumns] = {30, 41, 29, 61, 59, 57, 45, 113, 145};
constexpr int kWorkingCopyDelayMs = 3000; // the working copy follows the typing at most this often

} // namespace

TForm_zam1elemente::TForm_zam1elemente(ProgramState& state, QWidget* parent, ElementTableCollaborators with)
    : QDialog(parent), m_state(state), m_with(std::move(with)), m_table(std::make_unique<ElementTable>(state)) {
    setObjectName(QStringLiteral("Form_zam1elemente"));
    const ProjectTexts& p = state.projectTexts;
    setWindowTitle(QStringLiteral("ZAM1 ") + fromOem(p.drawingName.view()) + QStringLiteral(" ") +
                   fromOem(p.drawingNumber.view()) + QStringLiteral(": ") + fromOem(state.texts.main.dimensionElements));
    auto* layout = new QVBoxLayout(this);
    buildGrid();
    layout->addWidget(m_grid, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(buildResults());
    bottom->addSpacing(12);
    bottom->addLayout(buildButtons(), 1);
    layout->addLayout(bottom);
    m_table->setRowsChanged([this](int first, int last) { m_model->rowsChangedByRule(first, last); });
    // What is typed reaches the working copy a few seconds later, before any OK.
    auto* copyTimer = new QTimer(this);
    copyTimer->setObjectName(QStringLiteral("WorkingCopyTimer"));
    copyTimer->setSingleShot(true);
    copyTimer->setInterval(kWorkingCopyDelayMs);
    // Every handler below that calls the core runs under the command guard: an
    // exception becomes the program's error message, the dialog stays open.
    connect(copyTimer, &QTimer::timeout, this, guardedHandler(m_state, [this] { writeWorkingCopy(m_state); }));
    connect(m_model, &ElementTableModel::cellEdited, copyTimer, [copyTimer] {
        if (!copyTimer->isActive()) copyTimer->start();
    });
    setWorkingCopyEditor(state, [this] { return m_table->typedChain(); });
}

TForm_zam1elemente::~TForm_zam1elemente() {
    setWorkingCopyEditor(m_state, nullptr);
    // An open cell editor commits when it is torn down; the grid and its model
    // must go while the table they write into still exists.
    delete m_grid;
    delete m_model;
}

void TForm_zam1elemente::buildGrid() {
    m_model = new ElementTableModel(*m_table, m_state.texts, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new ElementCellDelegate(m_grid));
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed |
                            QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_grid->setTabKeyNavigation(true);
    m_grid->verticalHeader()->hide();
    // One fixed row height: the view never measures 2500 rows.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    const double scale = std::max(1.0, m_grid->fontMetrics().averageCharWidth() / 6.0);
    const QFontMetrics header(m_grid->horizontalHeader()->font());
    for (int c = 0; c < kElementColumns; ++c) {
        // The classic widths, but never narrower than the column's heading.
        const int heading = header.horizontalAdvance(m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) + 14;
        m_grid->setColumnWidth(c, std::max(static_cast<int>(kColumnWidths[c] * scale), heading));
    }
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumWidth(static_cast<int>(600 * scale));
    m_grid->setMinimumHeight(m_grid->verticalHeader()->defaultSectionSize() * 14);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                runGuarded(m_state, [&] { StringGrid1SelectCell(current.column(), current.row() + 1); });
            });
    connect(m_model, &ElementTableModel::cellEdited, this, guardedHandler(m_state, [this] {
                m_table->previewResults();
                showResults();
            }));
}

QLayout* TForm_zam1elemente::buildResults() {
    const MainTexts& m = m_state.texts.main;
    auto* column = new QVBoxLayout;
    auto* label = new QLabel(fromOem(m.closingDimension), this);
    label->setObjectName(QStringLiteral("Label_schliessmass"));
    column->addWidget(label);
    auto* choiceRow = new QHBoxLayout;
    m_closingChoice = new QComboBox(this);
    m_closingChoice->setObjectName(QStringLiteral("ComboBox1"));
    m_closingChoice->setMinimumContentsLength(28);
    choiceRow->addWidget(m_closingChoice, 1);
    auto* dots = namedButton(this, "Button_schliessmass", QStringLiteral(".."));
    dots->setFixedWidth(dots->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
    dots->setEnabled(static_cast<bool>(m_with.closingEditor));
    connect(dots, &QPushButton::clicked, this, guardedHandler(m_state, [this] { Button_schliessmassClick(); }));
    choiceRow->addWidget(dots);
    column->addLayout(choiceRow);
    connect(m_closingChoice, &QComboBox::activated, this,
            [this](int index) { runGuarded(m_state, [&] { ComboBox1Change(index); }); });

    m_results = new QTableWidget(4, 3, this);
    m_results->setObjectName(QStringLiteral("StringGrid2"));
    m_results->horizontalHeader()->hide();
    m_results->verticalHeader()->hide();
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setFocusPolicy(Qt::NoFocus);
    const QString fixed[4][3] = {{{}, fromOem(m.classicMethod), fromOem(m.statisticalMethod)},
                                 {fromOem(m.maximumSize), {}, {}},
                                 {fromOem(m.minimumSize), {}, {}},
                                 {fromOem(m.tolerance), {}, {}}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(fixed[r][c]);
            if (r == 0 || c == 0) item->setBackground(palette().button());
            if (r > 0 && c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_results->setItem(r, c, item);
        }
    }
    m_results->resizeColumnsToContents();
    m_results->setColumnWidth(1, std::max(m_results->columnWidth(1), m_results->columnWidth(2)));
    m_results->setColumnWidth(2, m_results->columnWidth(1));
    int width = 2 * m_results->frameWidth(), height = 2 * m_results->frameWidth();
    for (int c = 0; c < 3; ++c) width += m_results->columnWidth(c);
    for (int r = 0; r < 4; ++r) height += m_results->rowHeight(r);
    m_results->setFixedSize(width, height);
    column->addWidget(m_results);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("Label_meldung"));
    m_message->setStyleSheet(QStringLiteral("color: #a00000"));
    column->addWidget(m_message);
    column->addStretch();
    return column;
}

QLayout* TForm_zam1elemente::buildButtons() {
    const MainTexts& m = m_state.texts.main;
    auto* grid = new QGridLayout;
    struct ButtonSpec {
        const char* name;
        QString caption;
        void (TForm_zam1elemente::*slot)();
        int row, column;
    };
    const ButtonSpec specs[] = {
        {"Button_berechnen", fromOem(m.calculateButton), &TForm_zam1elemente::Button_berechnenClick, 0, 0},
        {"Button_freimass", fromOem(m_state.texts.tolerance.generalTolerance), &TForm_zam1elemente::Button_freimassClick, 0, 1},
        {"Button_sigmatol", QStringLiteral("Sigma i"), &TForm_zam1elemente::Button_sigmatolClick, 1, 0},
        {"Button_winkel", fromOem(m.inclined), &TForm_zam1elemente::Button_winkelClick, 1, 1},
        {"Button_einfuegen", fromOem(m.insertButton), &TForm_zam1elemente::Button_einfuegenClick, 2, 0},
        {"Button_loeschen", fromOem(m.deleteButton), &TForm_zam1elemente::Button_loeschenClick, 2, 1},
        {"Button_ok", QStringLiteral("OK"), &TForm_zam1elemente::Button_okClick, 4, 0},
        {"Button_cancel", fromOem(m.cancelButton), &TForm_zam1elemente::Button_cancelClick, 4, 1},
        {"Button_hilfebild", fromOem(m.helpPictureButton), &TForm_zam1elemente::Button_hilfebildClick, 5, 1},
    };
    for (const ButtonSpec& s : specs) {
        QPushButton* b = namedButton(this, s.name, s.caption);
        connect(b, &QPushButton::clicked, this, guardedHandler(m_state, [this, slot = s.slot] { (this->*slot)(); }));
        grid->addWidget(b, s.row, s.column);
        if (s.slot == &TForm_zam1elemente::Button_okClick) b->setDefault(true);
    }
    QPushButton* help = namedButton(this, "Button_help", fromOem(m.helpButton));
    installHelp(*this, 9010, manualHelp(m_state), help);
    grid->addWidget(help, 5, 0);
    // The spreadsheet exchange comes from the caller; without it the buttons stay off.
    const struct {
        const char* name;
        QString caption;
        void (TForm_zam1elemente::*slot)();
        bool available;
    } exchangeButtons[] = {
        {"Button_exportexcel", QStringLiteral("Export->Excel"), &TForm_zam1elemente::Button_exportexcelClick,
         static_cast<bool>(m_with.exportTable)},
        {"Button_importExcel", QStringLiteral("Import<-Excel"), &TForm_zam1elemente::Button_importExcelClick,
         static_cast<bool>(m_with.importTable)},
    };
    int exchangeRow = 3;
    for (const auto& e : exchangeButtons) {
        QPushButton* b = namedButton(this, e.name, e.caption);
        b->setEnabled(e.available);
        connect(b, &QPushButton::clicked, this, guardedHandler(m_state, [this, slot = e.slot] { (this->*slot)(); }));
        grid->addWidget(b, exchangeRow++, 2);
    }
    QPushButton* decimals = namedButton(this, "Button_nachkomma", QStringLiteral("88.888"));
    decimals->hide();
    grid->setRowMinimumHeight(3, 10);
    grid->setRowStretch(6, 1);
    return grid;
}

void TForm_zam1elemente::FormShow() {
    m_table->fill();
    fillClosingChoice();
    showResults();
    // Placing the cursor is not the user's selection: it must not add a row.
    m_placing = true;
    moveTo(m_table->currentColumn(), m_table->currentRow());
    m_placing = false;
    // The current cell's editor is open from the start, once the grid is on screen.
    QTimer::singleShot(0, m_grid, [grid = m_grid] { grid->edit(grid->currentIndex()); });
}

void TForm_zam1elemente::fillClosingChoice() {
    m_closingChoice->clear();
    for (const std::string& item : m_table->closingItems()) m_closingChoice->addItem(fromOem(item));
    m_closingChoice->setCurrentIndex(m_table->chosenClosing() - 1);
}

void TForm_zam1elemente::showResults() {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 2; ++c) m_results->item(r + 1, c + 1)->setText(fromOem(m_table->resultText(r, c)));
    }
    m_message->setText(fromOem(m_table->results().message));
}

void TForm_zam1elemente::finishTyping() {
    // The buttons act on what the grid shows, so a cell still being typed is taken first.
    QWidget* editor = QApplication::focusWidget();
    if (!editor || editor == m_grid || !m_grid->isAncestorOf(editor)) return;
    QAbstractItemDelegate* delegate = m_grid->itemDelegate();
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TForm_zam1elemente::moveTo(int column, int row) {
    const QModelIndex index = m_model->index(row - 1, column);
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
}

void TForm_zam1elemente::StringGrid1SelectCell(int column, int row) {
    if (!m_placing) m_table->selectCell(column, row);
}

void TForm_zam1elemente::ComboBox1Change(int index) {
    m_table->chooseClosing(index + 1);
    showResults();
}

void TForm_zam1elemente::Button_okClick() {
    finishTyping();
    if (m_table->accept()) {
        m_state.error.clear();
        accept();
    } else {
        moveTo(m_table->currentColumn(), m_table->currentRow());
    }
}

void TForm_zam1elemente::Button_cancelClick() { reject(); }

void TForm_zam1elemente::Button_berechnenClick() {
    finishTyping();
    if (m_table->calculate()) {
        writeWorkingCopy(m_state);
    } else {
        moveTo(m_table->currentColumn(), m_table->currentRow());
    }
    showResults();
}

void TForm_zam1elemente::Button_freimassClick() {
    // Abbrechen keeps the setting; the table goes on either way.
    if (const auto chosen = editGeneralTolerance(m_state.generalTolerance, m_state.texts, dialogEnvironment(m_state, this))) {
        m_state.generalTolerance = *chosen;
    }
    m_state.error.clear();
}

void TForm_zam1elemente::Button_schliessmassClick() {
    m_state.error.clear();
    if (m_with.closingEditor && m_with.closingEditor(m_state, this)) writeWorkingCopy(m_state);
    fillClosingChoice();
    m_table->chooseClosing(std::max(1, m_table->chosenClosing()));
    fillClosingChoice();
    showResults();
}

void TForm_zam1elemente::Button_sigmatolClick() {
    finishTyping();
    const int row = m_table->currentRow();
    if (!m_table->takeOver()) {
        moveTo(m_table->currentColumn(), m_table->currentRow());
        return;
    }
    if (row < 1 || row > kMaxElements) return;
    Element& element = m_state.chain.element(row);
    const auto answer = runSigmaDialog(row, element, m_state.chain.productionSigma,
                                       plusMinusSign(m_state.config.specialCharacters == 0), m_state.texts,
                                       dialogEnvironment(m_state, this));
    if (const Element* rescaled = takeAnswer(answer, m_state.error);
        rescaled && (rescaled->upperDev != element.upperDev || rescaled->lowerDev != element.lowerDev)) {
        element.upperDev = rescaled->upperDev;
        element.lowerDev = rescaled->lowerDev;
        m_table->showTolerances(row);
    }
    m_table->previewResults();
    showResults();
}

void TForm_zam1elemente::Button_winkelClick() {
    finishTyping();
    const int row = m_table->currentRow();
    const auto result = runAngleDialog(fromOem(m_table->cell(row, kColPredecessor)),
                                       fromOem(m_table->cell(row, kColNumber)), m_state.texts,
                                       dialogEnvironment(m_state, this));
    if (!result) {
        m_state.error.clear();
        return;
    }
    m_table->setInclinedDistance(result->x, result->upper, result->lower);
    m_table->previewResults();
    showResults();
}

void TForm_zam1elemente::Button_hilfebildClick() {
    finishTyping();
    m_table->takeOver();
    showHelpNumber(m_state, 9010, true);
    m_state.error.clear();
}

void TForm_zam1elemente::Button_einfuegenClick() {
    finishTyping();
    if (m_table->insertRow(m_table->currentRow())) {
        m_table->previewResults();
        showResults();
    }
}

void TForm_zam1elemente::Button_loeschenClick() {
    finishTyping();
    if (m_table->deleteRow(m_table->currentRow())) {
        m_table->previewResults();
        showResults();
    }
}

void TForm_zam1elemente::Button_exportexcelClick() {
    finishTyping();
    if (!m_with.exportTable || !m_table->takeOver()) return;
    m_with.exportTable(m_state, this);
    m_state.error.clear();
}

void TForm_zam1elemente::Button_importExcelClick() {
    finishTyping();
    if (!m_with.importTable) return;
    if (m_with.importTable(m_state, this)) FormShow();
    m_state.error.clear();
}

bool editElementTable(ProgramState& state, QWidget* parent, ElementTableCollaborators with) {
    TForm_zam1elemente dialog(state, parent, std::move(with));
    applyDialogLook(dialog, editorLook(state, parent));
    dialog.FormShow();
    if (dialog.exec() == QDialog::Accepted) {
        state.error.clear();
    } else {
        state.error.set();
    }
    return dialog.table().chainChanged();
}

} // namespace zam1
