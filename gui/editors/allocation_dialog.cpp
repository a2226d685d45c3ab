#include "gui/editors/allocation_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>
#include <optional>
#include <utility>

#include "core/editors/allocation_form.h"
#include "core/editors/closing_editor.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/platform/prompter.h"
#include "core/text/number_format.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

constexpr int kAllocationHelp = 3510;

constexpr std::array<std::pair<AllocationMethod, const char*>, 3> kMethodCaptions = {{
    {AllocationMethod::Cost, "geringste Kosten"},
    {AllocationMethod::Proportional, "proportional (ein Faktor für alle)"},
    {AllocationMethod::Iso, "ISO-Toleranzgrade"},
}};

enum Column { ColElement, ColText, ColUpperBefore, ColLowerBefore, ColCodeBefore, ColUpperAfter, ColLowerAfter,
              ColCodeAfter, ColCostAfter, Columns };

QTableWidgetItem* cell(const QString& text, bool number = true) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QString costText(const std::optional<long double>& cost) {
    return cost ? QString::fromStdString(fixedText(*cost, 0, 4, false)) : QStringLiteral("-");
}

class ToleranceAllocationDialog {
public:
    ToleranceAllocationDialog(Chain& chain, const AnalysisData& data, int closing, const LanguageTexts& texts,
                              const DialogEnvironment& environment)
        : m_chain(chain), m_data(data), m_texts(texts), m_prompter(environment.prompter), m_dialog(environment.parent) {
        m_dialog.setObjectName(QStringLiteral("Form_toleranzverteilung"));
        m_dialog.setWindowTitle(QStringLiteral("ZAM1 Toleranzverteilung"));
        auto* layout = new QVBoxLayout(&m_dialog);
        layout->addLayout(fields(allocationForm(data, closing)));
        m_summary = new QLabel(&m_dialog);
        m_summary->setObjectName(QStringLiteral("Label_summary"));
        m_summary->setWordWrap(true);
        m_summary->setMinimumHeight(3 * m_summary->fontMetrics().height());
        layout->addWidget(m_summary);
        layout->addWidget(table(), 1);
        auto* buttons = new QHBoxLayout;
        QPushButton* propose = addButton(m_dialog, *buttons, "Button_propose", QStringLiteral("&Vorschlag"));
        propose->setDefault(true);
        QObject::connect(propose, &QPushButton::clicked, &m_dialog, [this] { proposeNow(); });
        buttons->addStretch();
        m_apply = addButton(m_dialog, *buttons, "Button_apply", QStringLiteral("Ü&bernehmen"));
        m_apply->setEnabled(false);
        QObject::connect(m_apply, &QPushButton::clicked, &m_dialog, &QDialog::accept);
        QObject::connect(addButton(m_dialog, *buttons, "Button_cancel", environment.words.cancel),
                         &QPushButton::clicked, &m_dialog, &QDialog::reject);
        addButton(m_dialog, *buttons, "Button_help", environment.words.help);
        layout->addLayout(buttons);
        installHelp(m_dialog, kAllocationHelp, environment.help);
        applyDialogLook(m_dialog, environment.look);
    }

    // The proposal taken over, or nothing when cancelled.
    std::optional<Allocation> run() {
        if (m_dialog.exec() != QDialog::Accepted || !m_proposal) return std::nullopt;
        return m_proposal;
    }

private:
    QLayout* fields(const AllocationForm& form) {
        auto* fields = new QFormLayout;
        m_ask.closing = closingChoice(m_dialog, m_chain, form.closing);
        fields->addRow(QStringLiteral("&Schließmaß"), m_ask.closing);

        auto* targetRow = new QHBoxLayout;
        m_ask.kind = new QComboBox(&m_dialog);
        m_ask.kind->setObjectName(QStringLiteral("ComboBox_target"));
        m_ask.kind->addItem(QStringLiteral("Cpk mindestens"));
        m_ask.kind->addItem(QStringLiteral("Ausschuss höchstens (ppm)"));
        m_ask.kind->setCurrentIndex(form.byCpk ? 0 : 1);
        m_ask.target = new QLineEdit(QString::fromStdString(form.target), &m_dialog);
        m_ask.target->setObjectName(QStringLiteral("Edit_target"));
        targetRow->addWidget(m_ask.kind);
        targetRow->addWidget(m_ask.target, 1);
        auto* targetLabel = new QLabel(QStringLiteral("&Ziel"), &m_dialog);
        targetLabel->setBuddy(m_ask.kind);
        fields->addRow(targetLabel, targetRow);

        m_ask.method = enumChoice(m_dialog, "ComboBox_method", kMethodCaptions, form.method);
        fields->addRow(QStringLiteral("&Methode"), m_ask.method);

        // A proposal belongs to what was asked: any change of the question withdraws it.
        const auto withdraw = [this] { showProposal(nullptr); };
        QObject::connect(m_ask.closing, &QComboBox::currentIndexChanged, &m_dialog, [this, withdraw](int index) {
            withdraw();
            const AllocationForm offered = allocationForm(m_data, index + 1);
            m_ask.kind->setCurrentIndex(offered.byCpk ? 0 : 1);
            m_ask.target->setText(QString::fromStdString(offered.target));
        });
        QObject::connect(m_ask.kind, &QComboBox::currentIndexChanged, &m_dialog, withdraw);
        QObject::connect(m_ask.method, &QComboBox::currentIndexChanged, &m_dialog, withdraw);
        QObject::connect(m_ask.target, &QLineEdit::textEdited, &m_dialog, withdraw);
        return fields;
    }

    QTableWidget* table() {
        const MainTexts& t = m_texts.main;
        m_table = new QTableWidget(0, Columns, &m_dialog);
        m_table->setObjectName(QStringLiteral("StringGrid_allocation"));
        m_table->setHorizontalHeaderLabels({fromOem(t.elementNumber), fromOem(t.text),
                                            QStringLiteral("heute oben"), QStringLiteral("heute unten"),
                                            QStringLiteral("heute ISO"), QStringLiteral("neu oben"),
                                            QStringLiteral("neu unten"), QStringLiteral("neu ISO"),
                                            QStringLiteral("Kosten neu")});
        m_table->verticalHeader()->hide();
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_table->horizontalHeader()->setSectionResizeMode(ColText, QHeaderView::Stretch);
        m_table->setMinimumSize(860, 260);
        return m_table;
    }

    AllocationForm form() const {
        AllocationForm f;
        f.closing = m_ask.closing->currentIndex() + 1;
        f.byCpk = m_ask.kind->currentIndex() == 0;
        f.target = m_ask.target->text().toStdString();
        f.method = static_cast<AllocationMethod>(m_ask.method->currentData().toInt());
        return f;
    }

    void proposeNow() {
        AllocationProposal p = proposeAllocation(m_chain, m_data, form(), m_texts);
        if (!p.fault.empty()) {
            showProposal(nullptr);
            if (m_prompter) m_prompter->showError(p.fault);
            if (p.targetFault) {
                m_ask.target->setFocus();
                m_ask.target->selectAll();
            }
            return;
        }
        m_proposal = std::move(p.allocation);
        showProposal(&*m_proposal);
    }

    void showProposal(const Allocation* a) {
        if (!a) m_proposal.reset();
        m_apply->setEnabled(a != nullptr);
        m_summary->setText(a ? QString::fromStdString(proposalSummary(*a)) : QString());
        m_table->setRowCount(a ? static_cast<int>(a->elements.size()) : 0);
        if (!a) return;
        const int decimals = m_chain.decimals;
        const auto mm = [decimals](long double v) { return QString::fromStdString(deviationCell(v, decimals)); };
        for (int r = 0; r < m_table->rowCount(); ++r) {
            const AllocatedElement& e = a->elements[static_cast<std::size_t>(r)];
            m_table->setItem(r, ColElement, cell(QString::number(e.element)));
            QString text = fromOem(m_chain.element(e.element).text.view());
            if (e.fixed) text += QStringLiteral(" (fest)");
            if (e.atLimit) text += QStringLiteral(" (an der Grenze)");
            m_table->setItem(r, ColText, cell(text, false));
            m_table->setItem(r, ColUpperBefore, cell(mm(e.before.upper)));
            m_table->setItem(r, ColLowerBefore, cell(mm(e.before.lower)));
            m_table->setItem(r, ColCodeBefore, cell(QString::fromStdString(isoCell(e.before)), false));
            m_table->setItem(r, ColUpperAfter, cell(mm(e.after.upper)));
            m_table->setItem(r, ColLowerAfter, cell(mm(e.after.lower)));
            m_table->setItem(r, ColCodeAfter, cell(QString::fromStdString(isoCell(e.after)), false));
            m_table->setItem(r, ColCostAfter, cell(costText(e.costAfter)));
        }
        m_table->resizeColumnsToContents();
        m_table->horizontalHeader()->setSectionResizeMode(ColText, QHeaderView::Stretch);
    }

    Chain& m_chain;
    const AnalysisData& m_data;
    const LanguageTexts& m_texts;
    Prompter* m_prompter;
    std::optional<Allocation> m_proposal;
    QDialog m_dialog;
    // The question: a change of any of these withdraws the proposal.
    struct Question {
        QComboBox* closing = nullptr;
        QComboBox* kind = nullptr;  // Cpk or ppm
        QLineEdit* target = nullptr;
        QComboBox* method = nullptr;
    } m_ask;
    // The answer.
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace

std::optional<Allocation> allocateTolerances(Chain& chain, const AnalysisData& data, int closing,
                                             const LanguageTexts& texts, const DialogEnvironment& environment) {
    ToleranceAllocationDialog dialog(chain, data, closing, texts, environment);
    return dialog.run();
}

} // namespace zam1
