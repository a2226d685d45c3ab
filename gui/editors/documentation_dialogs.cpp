#include "gui/editors/documentation_dialogs.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/platform/prompter.h"

namespace zam1 {
namespace {

constexpr int kChangeIdLength = 20;
constexpr int kDateLength = 10;
constexpr int kEditorLength = 5;
constexpr int kDescriptionLength = 255;
constexpr int kReplacementLength = 15;
constexpr int kSlotPathLength = 50;
constexpr int kTitleBlockRows = 4;

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength, const QString& text) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    edit->setText(text);
    return edit;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

// A description holds its line breaks as CR; the memo shows them as lines.
QString descriptionForDisplay(std::string_view oem) {
    QString text = fromOem(oem);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string storedDescription(QString text) {
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    std::string oem = toOem(text);
    if (oem.size() > static_cast<std::size_t>(kDescriptionLength)) oem.resize(kDescriptionLength);
    return oem;
}

QString cellText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

void setCell(QTableWidget& table, int row, int column, const QString& text) {
    table.setItem(row, column, new QTableWidgetItem(text));
}

QTableWidget* grid(QWidget* parent, const char* name, int rows, const QStringList& columns) {
    auto* table = new QTableWidget(rows, static_cast<int>(columns.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

} // namespace

QtDocumentationDialogs::QtDocumentationDialogs(QWidget* parent, Prompter* prompter, DialogEnvironment environment)
    : m_parent(parent), m_prompter(prompter), m_environment(std::move(environment)) {}

std::optional<ChangeForm> QtDocumentationDialogs::editChange(int number, const ChangeForm& form, std::string_view today) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("Form_EinAend"));
    dialog.setWindowTitle(QString::number(number) + QStringLiteral(" Änderung"));
    auto* layout = new QGridLayout;
    QLineEdit* id = lineEdit(&dialog, "Edit_aenderung", kChangeIdLength, fromOem(form.changeId));
    QLineEdit* date = lineEdit(&dialog, "Edit_datum", kDateLength, fromOem(form.changeDate));
    QLineEdit* editor = lineEdit(&dialog, "Edit_bearbeiter", kEditorLength, fromOem(form.changeEditor));
    auto* description = new QPlainTextEdit(descriptionForDisplay(form.changeDescription), &dialog);
    description->setObjectName(QStringLiteral("Memo_beschreibung"));
    description->setMinimumSize(360, 110);
    auto* dateButton = new QPushButton(QStringLiteral("<") + fromOem(today), &dialog);
    dateButton->setObjectName(QStringLiteral("Button_datum"));
    dateButton->setAutoDefault(false);
    QObject::connect(dateButton, &QPushButton::clicked, date, [date, t = fromOem(today)] { date->setText(t); });

    layout->addWidget(label(&dialog, "Label_aenderung", QStringLiteral("Änderungstext")), 0, 0);
    layout->addWidget(id, 0, 1, 1, 2);
    layout->addWidget(label(&dialog, "Label_datum", QStringLiteral("Datum")), 1, 0);
    layout->addWidget(date, 1, 1);
    layout->addWidget(dateButton, 1, 2);
    layout->addWidget(label(&dialog, "Label_bearbeiter", QStringLiteral("Bearbeiter")), 2, 0);
    layout->addWidget(editor, 2, 1);
    layout->addWidget(label(&dialog, "Label_beschreibung", QStringLiteral("Beschreibung")), 3, 0, Qt::AlignTop);
    layout->addWidget(description, 3, 1, 1, 2);
    auto* outer = new QVBoxLayout(&dialog);
    outer->addLayout(layout);
    outer->addLayout(buttonRow(dialog, m_environment.words, {.helpContext = 7020, .help = m_environment.help}).layout);
    applyDialogLook(dialog, m_environment.look);
    id->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ChangeForm{toOem(id->text()), toOem(date->text()), toOem(editor->text()),
                      storedDescription(description->toPlainText())};
}

std::optional<DrawingInfoForm> QtDocumentationDialogs::editDrawingInfo(const DrawingInfoForm& form,
                                                                       std::string_view approvalLabel,
                                                                       std::string_view today) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("Form_zeichInfo"));
    dialog.setWindowTitle(QStringLiteral("Zeichnungsinfo"));
    auto* outer = new QVBoxLayout(&dialog);

    auto* replacements = new QGridLayout;
    QLineEdit* replaces = lineEdit(&dialog, "Edit_ersatzfuer", kReplacementLength, fromOem(form.replaces));
    QLineEdit* replacedBy = lineEdit(&dialog, "Edit_ersetztdurch", kReplacementLength, fromOem(form.replacedBy));
    replacements->addWidget(label(&dialog, "Label_ersatzfuer", QStringLiteral("Ersatz für")), 0, 0);
    replacements->addWidget(replaces, 0, 1);
    replacements->addWidget(label(&dialog, "Label_ersetztdurch", QStringLiteral("Ersetzt durch")), 0, 2);
    replacements->addWidget(replacedBy, 0, 3);
    outer->addLayout(replacements);

    // The title block, with a button per row that dates it today.
    QTableWidget* block = grid(&dialog, "StringGrid1", kTitleBlockRows, {QStringLiteral("Datum"), QStringLiteral("Name")});
    block->setVerticalHeaderLabels({QStringLiteral("Bearb."), QStringLiteral("Gepr."), QStringLiteral("Norm"),
                                    fromOem(approvalLabel)});
    block->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* blockRow = new QHBoxLayout;
    auto* dateButtons = new QVBoxLayout;
    for (int r = 0; r < kTitleBlockRows; ++r) {
        setCell(*block, r, 0, fromOem(form.dates[static_cast<std::size_t>(r)]));
        setCell(*block, r, 1, fromOem(form.names[static_cast<std::size_t>(r)]));
        auto* b = new QPushButton(QStringLiteral("< ") + fromOem(today), &dialog);
        b->setObjectName(QStringLiteral("Button%1").arg(r + 1));
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, block, [block, r, t = fromOem(today)] { setCell(*block, r, 0, t); });
        dateButtons->addWidget(b);
    }
    dateButtons->addStretch(1);
    blockRow->addWidget(block, 1);
    blockRow->addLayout(dateButtons);
    outer->addLayout(blockRow);

    // The free texts on the drawing.
    QTableWidget* texts = grid(&dialog, "StringGrid2", kMaxTextRows,
                               {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("h"), QStringLiteral("phi"),
                                QStringLiteral("Text")});
    texts->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < 4; ++c) texts->setColumnWidth(c, 60);
    texts->setMinimumWidth(520);
    for (int r = 0; r < kMaxTextRows; ++r) {
        const TextRowForm& row = form.rows[static_cast<std::size_t>(r)];
        const std::string* cells[] = {&row.x, &row.y, &row.h, &row.phi, &row.text};
        for (int c = 0; c < 5; ++c) setCell(*texts, r, c, fromOem(*cells[c]));
    }
    outer->addWidget(texts);
    outer->addLayout(buttonRow(dialog, m_environment.words, {.helpContext = 7010, .help = m_environment.help}).layout);
    applyDialogLook(dialog, m_environment.look);
    replaces->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    DrawingInfoForm out;
    out.replaces = toOem(replaces->text());
    out.replacedBy = toOem(replacedBy->text());
    for (int r = 0; r < kTitleBlockRows; ++r) {
        out.dates[static_cast<std::size_t>(r)] = toOem(cellText(*block, r, 0));
        out.names[static_cast<std::size_t>(r)] = toOem(cellText(*block, r, 1));
    }
    for (int r = 0; r < kMaxTextRows; ++r) {
        TextRowForm& row = out.rows[static_cast<std::size_t>(r)];
        std::string* cells[] = {&row.x, &row.y, &row.h, &row.phi, &row.text};
        for (int c = 0; c < 5; ++c) *cells[c] = toOem(cellText(*texts, r, c));
    }
    return out;
}

std::optional<std::array<DocumentSlotForm, kDocumentSlots>> QtDocumentationDialogs::editDocumentSlots(
    const std::array<DocumentSlotForm, kDocumentSlots>& forms) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("Form_confDoku"));
    dialog.setWindowTitle(QStringLiteral("Document Setup"));
    auto* outer = new QVBoxLayout(&dialog);
    std::array<QLineEdit*, kDocumentSlots> programs{};
    std::array<QLineEdit*, kDocumentSlots> files{};

    // A "..." button: the file dialog on the field's current value.
    const auto picker = [this, &dialog](QGridLayout* layout, int row, QLineEdit* edit, const QString& name,
                                        const QString& title) {
        auto* b = new QPushButton(QStringLiteral("..."), &dialog);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setMaximumWidth(32);
        b->setEnabled(m_prompter != nullptr);
        layout->addWidget(b, row, 2);
        QObject::connect(b, &QPushButton::clicked, edit, [this, edit, title] {
            FileChoice choice;
            choice.title = toOem(title);
            // Programs here carry no extension, so both pickers show every file.
            choice.filter = "*|*";
            const QFileInfo current(edit->text());
            choice.folder = current.absolutePath().toStdString();
            std::string path = edit->text().toStdString();
            if (m_prompter->chooseOpenFile(choice, path)) edit->setText(QString::fromStdString(path));
        });
    };

    for (int k = 0; k < kDocumentSlots; ++k) {
        const QString n = QString::number(k + 1);
        auto* box = new QGroupBox(QStringLiteral("Document ") + n, &dialog);
        box->setObjectName(QStringLiteral("GroupBox") + n);
        auto* layout = new QGridLayout(box);
        const auto& form = forms[static_cast<std::size_t>(k)];
        programs[static_cast<std::size_t>(k)] = lineEdit(box, "", kSlotPathLength, fromOem(form.programPath));
        programs[static_cast<std::size_t>(k)]->setObjectName(QStringLiteral("Edit_prog") + n);
        files[static_cast<std::size_t>(k)] = lineEdit(box, "", kSlotPathLength, fromOem(form.documentPath));
        files[static_cast<std::size_t>(k)]->setObjectName(QStringLiteral("Edit_file") + n);
        programs[static_cast<std::size_t>(k)]->setMinimumWidth(360);
        layout->addWidget(new QLabel(QStringLiteral("Program ") + n, box), 0, 0);
        layout->addWidget(programs[static_cast<std::size_t>(k)], 0, 1);
        picker(layout, 0, programs[static_cast<std::size_t>(k)], QStringLiteral("Button_prog") + n,
               QStringLiteral("Program ") + n);
        layout->addWidget(new QLabel(QStringLiteral("File ") + n, box), 1, 0);
        layout->addWidget(files[static_cast<std::size_t>(k)], 1, 1);
        picker(layout, 1, files[static_cast<std::size_t>(k)], QStringLiteral("Button_file") + n,
               QStringLiteral("File ") + n);
        outer->addWidget(box);
    }
    outer->addLayout(buttonRow(dialog, m_environment.words, {.helpContext = 7050, .help = m_environment.help, .helpText = true}).layout);
    applyDialogLook(dialog, m_environment.look);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    std::array<DocumentSlotForm, kDocumentSlots> out;
    for (std::size_t k = 0; k < out.size(); ++k) {
        out[k].programPath = toOem(programs[k]->text());
        out[k].documentPath = toOem(files[k]->text());
    }
    return out;
}

} // namespace zam1
