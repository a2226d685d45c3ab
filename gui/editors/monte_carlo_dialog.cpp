#include "gui/editors/monte_carlo_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>
#include <utility>
#include <vector>

#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/editors/closing_editor.h"
#include "core/editors/monte_carlo_form.h"
#include "core/platform/prompter.h"
#include "core/text/number_format.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

constexpr std::array<std::pair<Distribution, const char*>, 5> kDistributionCaptions = {{
    {Distribution::Normal, "normal (Sigma)"},
    {Distribution::Uniform, "gleichverteilt"},
    {Distribution::Triangular, "dreieckig"},
    {Distribution::ShiftedNormal, "normal, Mitte verschoben"},
    {Distribution::Measured, "Messwerte (Datei)"},
}};

constexpr std::array<std::pair<AnalysisMethod, const char*>, 3> kMethodCaptions = {{
    {AnalysisMethod::WorstCase, "klassische Methode (Worst Case)"},
    {AnalysisMethod::Statistical, "statistische Methode"},
    {AnalysisMethod::MonteCarlo, "Monte Carlo"},
}};

QString distributionCaption(Distribution kind) {
    for (const auto& [d, caption] : kDistributionCaptions) {
        if (d == kind) return QString::fromUtf8(caption);
    }
    return {};
}

// Element table columns; the distribution is picked from a list in its cell.
enum ElementColumn { ColNumber, ColText, ColUpper, ColLower, ColDistribution, ColShift, ElementColumns };
enum LimitColumn { ColClosing, ColLowerLimit, ColUpperLimit, LimitColumns };

constexpr int kDistributionRole = Qt::UserRole;
// Set on the rows whose element has measured values in the settings file: only
// they offer them, as the file is named there.
constexpr int kMeasuredRole = Qt::UserRole + 1;

class DistributionDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("ComboBox_distribution"));
        const bool measured = index.data(kMeasuredRole).toBool();
        for (const auto& [kind, caption] : kDistributionCaptions) {
            if (kind == Distribution::Measured && !measured) continue;
            combo->addItem(QString::fromUtf8(caption), static_cast<int>(kind));
        }
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* combo = static_cast<QComboBox*>(editor);
        combo->setCurrentIndex(std::max(0, combo->findData(index.data(kDistributionRole))));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        auto* combo = static_cast<QComboBox*>(editor);
        model->setData(index, combo->currentData(), kDistributionRole);
        model->setData(index, combo->currentText(), Qt::DisplayRole);
    }
};

QTableWidgetItem* fixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QTableWidget* makeTable(QWidget& parent, const char* name, const QStringList& headers, int rows) {
    auto* table = new QTableWidget(rows, static_cast<int>(headers.size()), &parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    return table;
}

class MonteCarloSettingsDialog {
public:
    MonteCarloSettingsDialog(const Chain& chain, const AnalysisData& data, int closing, const LanguageTexts& texts,
                             const SignoffReportSaver& reportSaver, const DialogEnvironment& environment)
        : m_chain(chain), m_data(data), m_texts(texts), m_saveReport(reportSaver), m_prompter(environment.prompter),
          m_dialog(environment.parent) {
        const MonteCarloForm form = monteCarloForm(data, chain.elementCount(), chain.closingCount());
        m_dialog.setObjectName(QStringLiteral("Form_montecarlo"));
        m_dialog.setWindowTitle(QStringLiteral("ZAM1 Monte Carlo"));
        auto* layout = new QVBoxLayout(&m_dialog);
        layout->addWidget(limitsBox(form));
        layout->addWidget(elementsBox(form), 1);
        layout->addWidget(correlationsBox(data.correlations));
        layout->addLayout(runRow(form, closing));
        QHBoxLayout* buttons = buttonRow(m_dialog, environment.words,
                                         {.onOk = [this] { accept(); }, .helpContext = 3500, .help = environment.help})
                                   .layout;
        QPushButton* signoff = addButton(m_dialog, *buttons, "Button_signoff", fromOem(texts.main.saveSignoffReport));
        buttons->insertWidget(0, signoff);
        QObject::connect(signoff, &QPushButton::clicked, &m_dialog, [this] { saveReport(); });
        layout->addLayout(buttons);
        applyDialogLook(m_dialog, environment.look);
    }

    // The settings taken over, or nothing when cancelled.
    std::optional<MonteCarloAnswer> run() {
        if (m_dialog.exec() != QDialog::Accepted) return std::nullopt;
        return MonteCarloAnswer{m_data, m_closing->currentIndex() + 1};
    }

private:
    QGroupBox* limitsBox(const MonteCarloForm& form) {
        auto* box = new QGroupBox(QStringLiteral("Geforderte Grenzen der Schließmaße (leer: keine)"), &m_dialog);
        m_limits = makeTable(*box, "StringGrid_limits",
                             {fromOem(m_texts.main.closingDimension), QStringLiteral("untere Grenze"),
                              QStringLiteral("obere Grenze")},
                             static_cast<int>(form.limits.size()));
        for (int r = 0; r < m_limits->rowCount(); ++r) {
            m_limits->setItem(r, ColClosing, fixedItem(fromOem(closingListText(m_chain, r + 1))));
            m_limits->setItem(r, ColLowerLimit, new QTableWidgetItem(QString::fromStdString(form.limits[r].lower)));
            m_limits->setItem(r, ColUpperLimit, new QTableWidgetItem(QString::fromStdString(form.limits[r].upper)));
        }
        m_limits->horizontalHeader()->setSectionResizeMode(ColClosing, QHeaderView::Stretch);
        m_limits->setColumnWidth(ColLowerLimit, 110);
        m_limits->setColumnWidth(ColUpperLimit, 110);
        m_limits->setMinimumSize(620, 150);
        (new QVBoxLayout(box))->addWidget(m_limits);
        return box;
    }

    QGroupBox* elementsBox(const MonteCarloForm& form) {
        auto* box = new QGroupBox(QStringLiteral("Verteilung der Maßelemente"), &m_dialog);
        const MainTexts& t = m_texts.main;
        m_elements = makeTable(*box, "StringGrid_elements",
                               {fromOem(t.elementNumber), fromOem(t.text), fromOem(t.upperTolerance),
                                fromOem(t.lowerTolerance), QStringLiteral("Verteilung"),
                                QStringLiteral("Verschiebung %")},
                               static_cast<int>(form.elements.size()));
        m_elements->setItemDelegateForColumn(ColDistribution, new DistributionDelegate(m_elements));
        const NumberFormat format;
        for (int r = 0; r < m_elements->rowCount(); ++r) {
            const Element& e = m_chain.element(r + 1);
            const MonteCarloForm::Element& row = form.elements[static_cast<std::size_t>(r)];
            m_elements->setItem(r, ColNumber, fixedItem(QString::number(r + 1)));
            m_elements->setItem(r, ColText, fixedItem(fromOem(e.text.view())));
            m_elements->setItem(r, ColUpper, fixedItem(QString::fromStdString(fixedText(e.upperDev, 0, m_chain.decimals, false))));
            m_elements->setItem(r, ColLower, fixedItem(QString::fromStdString(fixedText(e.lowerDev, 0, m_chain.decimals, false))));
            auto* kind = new QTableWidgetItem(distributionCaption(row.kind));
            kind->setData(kDistributionRole, static_cast<int>(row.kind));
            kind->setData(kMeasuredRole, row.kind == Distribution::Measured);
            m_elements->setItem(r, ColDistribution, kind);
            m_elements->setItem(r, ColShift, new QTableWidgetItem(QString::fromStdString(row.shiftPercent)));
        }
        m_elements->resizeColumnsToContents();
        m_elements->setColumnWidth(ColDistribution, 190);
        m_elements->setColumnWidth(ColShift, 110);
        int width = 2 * m_elements->frameWidth() + m_elements->verticalScrollBar()->sizeHint().width();
        for (int c = 0; c < ElementColumns; ++c) width += m_elements->columnWidth(c);
        m_elements->setMinimumSize(std::min(width, 900), 260);
        (new QVBoxLayout(box))->addWidget(m_elements);
        return box;
    }

    // The pairs of the settings file, to be read only: they are written there.
    QGroupBox* correlationsBox(const std::vector<Correlation>& pairs) {
        const MainTexts& t = m_texts.main;
        auto* box = new QGroupBox(fromOem(t.correlatedElements), &m_dialog);
        box->setObjectName(QStringLiteral("GroupBox_correlations"));
        auto* layout = new QVBoxLayout(box);
        if (pairs.empty()) {
            auto* none = new QLabel(fromOem(t.noCorrelations), box);
            none->setObjectName(QStringLiteral("Label_correlations"));
            layout->addWidget(none);
            return box;
        }
        auto* table = makeTable(*box, "StringGrid_correlations",
                                {fromOem(t.elementNumber), fromOem(t.elementNumber), QStringLiteral("r")},
                                static_cast<int>(pairs.size()));
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (int r = 0; r < table->rowCount(); ++r) {
            const Correlation& c = pairs[static_cast<std::size_t>(r)];
            table->setItem(r, 0, fixedItem(QString::number(c.first)));
            table->setItem(r, 1, fixedItem(QString::number(c.second)));
            auto* value = fixedItem(QString::fromStdString(autoNumber(c.r, {}, 6)));
            value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, 2, value);
        }
        table->resizeColumnsToContents();
        table->setColumnWidth(2, std::max(table->columnWidth(2), 90));
        const int shown = std::min(table->rowCount(), 4);
        table->setFixedHeight(2 * table->frameWidth() + table->horizontalHeader()->sizeHint().height() +
                              shown * table->verticalHeader()->defaultSectionSize());
        layout->addWidget(table);
        return box;
    }

    QLayout* runRow(const MonteCarloForm& form, int closing) {
        auto* fields = new QFormLayout;
        m_closing = closingChoice(m_dialog, m_chain, closing);
        fields->addRow(QStringLiteral("Histogramm von"), m_closing);

        m_method = enumChoice(m_dialog, "ComboBox_method", kMethodCaptions, form.method);
        fields->addRow(QStringLiteral("Prüfung nach"), m_method);

        m_samples = new QLineEdit(QString::fromStdString(form.samples), &m_dialog);
        m_samples->setObjectName(QStringLiteral("Edit_samples"));
        fields->addRow(QStringLiteral("Anzahl N"), m_samples);
        m_seed = new QLineEdit(QString::fromStdString(form.seed), &m_dialog);
        m_seed->setObjectName(QStringLiteral("Edit_seed"));
        fields->addRow(QStringLiteral("Startwert"), m_seed);
        return fields;
    }

    MonteCarloForm collect() const {
        MonteCarloForm form;
        for (int r = 0; r < m_limits->rowCount(); ++r) {
            form.limits.push_back({m_limits->item(r, ColLowerLimit)->text().toStdString(),
                                   m_limits->item(r, ColUpperLimit)->text().toStdString()});
        }
        for (int r = 0; r < m_elements->rowCount(); ++r) {
            form.elements.push_back({static_cast<Distribution>(m_elements->item(r, ColDistribution)->data(kDistributionRole).toInt()),
                                     m_elements->item(r, ColShift)->text().toStdString()});
        }
        form.method = static_cast<AnalysisMethod>(m_method->currentData().toInt());
        form.samples = m_samples->text().toStdString();
        form.seed = m_seed->text().toStdString();
        return form;
    }

    // OK closes only over a form without faults; a fault is named and its field gets the cursor.
    void accept() {
        AnalysisData taken = m_data;
        const std::optional<MonteCarloFault> fault = takeMonteCarloForm(collect(), m_texts, taken);
        if (!fault) {
            m_data = std::move(taken);
            m_dialog.accept();
            return;
        }
        showFault(*fault);
    }

    // The report of the settings as they stand in the form, saved or not; the dialog stays open.
    void saveReport() {
        AnalysisData taken = m_data;
        if (const std::optional<MonteCarloFault> fault = takeMonteCarloForm(collect(), m_texts, taken)) {
            showFault(*fault);
            return;
        }
        if (m_saveReport) m_saveReport(taken);
    }

    void showFault(const MonteCarloFault& fault) {
        if (m_prompter) m_prompter->showError(fault.message);
        switch (fault.field) {
        case MonteCarloField::Lower:
        case MonteCarloField::Upper:
            focusCell(*m_limits, fault.number - 1, fault.field == MonteCarloField::Lower ? ColLowerLimit : ColUpperLimit);
            break;
        case MonteCarloField::ShiftPercent:
            focusCell(*m_elements, fault.number - 1, ColShift);
            break;
        case MonteCarloField::Samples:
            m_samples->setFocus();
            m_samples->selectAll();
            break;
        case MonteCarloField::Seed:
            m_seed->setFocus();
            m_seed->selectAll();
            break;
        }
    }

    static void focusCell(QTableWidget& table, int row, int column) {
        table.setCurrentCell(row, column);
        table.scrollToItem(table.item(row, column));
        table.setFocus();
    }

    const Chain& m_chain;
    AnalysisData m_data;
    const LanguageTexts& m_texts;
    SignoffReportSaver m_saveReport;
    Prompter* m_prompter;
    QDialog m_dialog;
    QTableWidget* m_limits = nullptr;
    QTableWidget* m_elements = nullptr;
    QComboBox* m_closing = nullptr;
    QComboBox* m_method = nullptr;
    QLineEdit* m_samples = nullptr;
    QLineEdit* m_seed = nullptr;
};

} // namespace

std::optional<MonteCarloAnswer> editMonteCarloSettings(const Chain& chain, const AnalysisData& data, int closing,
                                                       const LanguageTexts& texts, const SignoffReportSaver& saveReport,
                                                       const DialogEnvironment& environment) {
    MonteCarloSettingsDialog dialog(chain, data, closing, texts, saveReport, environment);
    return dialog.run();
}

} // namespace zam1
