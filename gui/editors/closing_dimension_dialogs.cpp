#include "gui/editors/closing_dimension_dialogs.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <functional>

#include "core/app/view_commands.h"
#include "core/editors/closing_editor.h"
#include "core/session/program_state.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/dialog_geometry.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/explanation_dialog.h"
#include "gui/platform/qt_prompter.h"

namespace zam1 {
namespace {

const QString kProgramName = QStringLiteral("ZAM1");

// The list of closing dimensions; the button that closes it says what the loop does next.
class ClosingListDialog {
public:
    ClosingListDialog(QWidget* parent, const ProgramState& state, const std::vector<std::string>& lines, int chosen)
        : m_dialog(parent), m_chosen(chosen) {
        m_dialog.setObjectName(QStringLiteral("Form_einarray"));
        m_dialog.setProperty("className", QStringLiteral("TForm_einarray"));
        m_dialog.setWindowTitle(kProgramName + QLatin1Char(' ') + fromOem(state.texts.main.closingDimensions));

        auto* list = new QListWidget(&m_dialog);
        list->setObjectName(QStringLiteral("ListBox1"));
        for (const std::string& line : lines) list->addItem(fromOem(line));
        if (chosen >= 1 && chosen <= list->count()) list->setCurrentRow(chosen - 1);
        list->setMinimumWidth(list->fontMetrics().averageCharWidth() * 50);
        // A click (or the arrow keys) chooses a line; a double click changes it.
        QObject::connect(list, &QListWidget::itemSelectionChanged, &m_dialog, [this, list] {
            const QList<QListWidgetItem*> selected = list->selectedItems();
            m_chosen = selected.isEmpty() ? 0 : list->row(selected.front()) + 1;
        });
        QObject::connect(list, &QListWidget::itemDoubleClicked, &m_dialog, [this, list](QListWidgetItem* item) {
            m_chosen = list->row(item) + 1;
            close(ClosingListAction::DoubleClick);
        });

        auto* side = new QVBoxLayout;
        connectAction(addButton(m_dialog, *side, "Button_neu", QStringLiteral("&Neu")), ClosingListAction::New);
        connectAction(addButton(m_dialog, *side, "Button_aendern", QStringLiteral("&Ändern")), ClosingListAction::Change);
        connectAction(addButton(m_dialog, *side, "Button_einfuegen", QStringLiteral("&Einfügen")), ClosingListAction::Insert);
        connectAction(addButton(m_dialog, *side, "Button_loeschen", QStringLiteral("&Löschen")), ClosingListAction::Delete);
        QPushButton* errors = addButton(m_dialog, *side, "Button_error", QStringLiteral("&Fehlermeldungen"));
        errors->setVisible(state.chain.messages.count() > 0);
        m_errors = errors;
        // Kept for the other uses of this form; hidden here.
        addButton(m_dialog, *side, "Button_hilfebild", QStringLiteral("Hilfe&bild"))->hide();
        connectAction(addButton(m_dialog, *side, "Button_156", QStringLiteral("156")), ClosingListAction::Extra156);
        connectAction(addButton(m_dialog, *side, "Button_157", QStringLiteral("157")), ClosingListAction::Extra157);
        connectAction(addButton(m_dialog, *side, "Button_158", QStringLiteral("158")), ClosingListAction::Extra158);
        for (const char* name : {"Button_156", "Button_157", "Button_158"}) {
            m_dialog.findChild<QPushButton*>(QLatin1String(name))->hide();
        }
        side->addStretch();

        auto* top = new QHBoxLayout;
        top->addWidget(list, 1);
        top->addLayout(side);

        // The help button's number follows the editor: its view installs it.
        const ButtonRow bottom =
            buttonRow(m_dialog, buttonWords(state.config.language), {.onOk = [this] { close(ClosingListAction::Ok); }});
        m_help = bottom.help;

        auto* layout = new QVBoxLayout(&m_dialog);
        layout->addLayout(top, 1);
        layout->addLayout(bottom.layout);
        list->setFocus();
    }

    QPushButton& errorsButton() { return *m_errors; }
    QDialog& window() { return m_dialog; }
    QPushButton& helpButton() { return *m_help; }

    ClosingEditorView::ListAnswer run(const DialogLook& look) {
        applyDialogLook(m_dialog, look);
        ClosingEditorView::ListAnswer answer;
        answer.cancelled = m_dialog.exec() != QDialog::Accepted;
        answer.action = m_action;
        answer.chosenLine = m_action == ClosingListAction::New ? 0 : m_chosen;
        return answer;
    }

private:
    void connectAction(QPushButton* button, ClosingListAction action) {
        QObject::connect(button, &QPushButton::clicked, &m_dialog, [this, action] { close(action); });
    }
    void close(ClosingListAction action) {
        m_action = action;
        m_dialog.accept();
    }

    QDialog m_dialog;
    QPushButton* m_errors = nullptr;
    QPushButton* m_help = nullptr;
    int m_chosen = 0;
    ClosingListAction m_action = ClosingListAction::Ok;
};

// One closing dimension: its two element numbers and its two texts.
bool runRecordDialog(QWidget* parent, const ProgramState& state, const DialogLook& look, int k,
                     ClosingRecordInput& input, const std::function<void()>& help) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("Form_einkrit"));
    dialog.setProperty("className", QStringLiteral("TForm_einkrit"));
    dialog.setWindowTitle(kProgramName + QLatin1Char(' ') + fromOem(state.texts.main.closingDimension) +
                          QLatin1Char(' ') + QString::number(k));
    const ClosingEditorTexts& t = state.texts.closingEditor;
    auto* grid = new QGridLayout;
    const auto row = [&](int r, const char* labelName, const QString& caption, const char* editName,
                         const std::string& value, int maxLength) {
        auto* edit = new QLineEdit(fromOem(value), &dialog);
        edit->setObjectName(QLatin1String(editName));
        edit->setMaxLength(maxLength);
        auto* label = new QLabel(caption, &dialog);
        label->setObjectName(QLatin1String(labelName));
        label->setBuddy(edit);
        grid->addWidget(label, r, 0);
        grid->addWidget(edit, r, 1);
        return edit;
    };
    // Element numbers take digits only: a typo must not quietly become element 0.
    const auto* digits = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kElementNumberDigits)), &dialog);
    QLineEdit* from = row(0, "Label_vonel", fromOem(t.fromElement), "Edit_vonel", input.fromElement,
                          kElementNumberDigits);
    QLineEdit* to = row(1, "Label_bisel", fromOem(t.toElement), "Edit_bisel", input.toElement,
                        kElementNumberDigits);
    from->setValidator(digits);
    to->setValidator(digits);
    from->setMaximumWidth(from->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    to->setMaximumWidth(from->maximumWidth());
    QLineEdit* text = row(2, "Label_komment", fromOem(t.text) + QStringLiteral(" 1"), "Edit_komment", input.text,
                          static_cast<int>(ClosingDimension{}.text.capacity));
    QLineEdit* remark = row(3, "Label_komment2", fromOem(t.text) + QStringLiteral(" 2"), "Edit_komment2",
                            input.remark, static_cast<int>(ClosingDimension{}.remark.capacity));
    remark->setMinimumWidth(remark->fontMetrics().averageCharWidth() * 52);

    QHBoxLayout* buttons = buttonRow(dialog, buttonWords(state.config.language),
                                     {.helpContext = kHelpClosingRecord, .help = [help](int) { help(); }})
                               .layout;

    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    from->setFocus();
    from->selectAll();
    applyDialogLook(dialog, look);
    if (dialog.exec() != QDialog::Accepted) return false;
    input.fromElement = from->text().toStdString();
    input.toElement = to->text().toStdString();
    input.text = toOem(text->text());
    input.remark = toOem(remark->text());
    return true;
}

class QtClosingEditorView final : public ClosingEditorView {
public:
    QtClosingEditorView(ProgramState& state, QWidget* parent)
        : m_state(state), m_parent(parent), m_look(editorLook(state, parent)),
          m_qtPrompter(dynamic_cast<QtPrompter*>(state.prompter)),
          m_outerHelpContext(m_qtPrompter ? m_qtPrompter->helpContext() : 0) {}
    // The editor's numbers are its own: a prompt opened after it (Sigma, the
    // decimals) must not open the manual at the closing dimensions.
    ~QtClosingEditorView() override {
        if (m_qtPrompter) m_qtPrompter->setHelpContext(m_outerHelpContext);
    }
    QtClosingEditorView(const QtClosingEditorView&) = delete;
    QtClosingEditorView& operator=(const QtClosingEditorView&) = delete;

    ListAnswer showList(const std::vector<std::string>& lines, int chosenLine) override {
        ClosingListDialog dialog(m_parent, m_state, lines, chosenLine);
        QObject::connect(&dialog.errorsButton(), &QPushButton::clicked, [this] { showMessages(); });
        // The number the editor set last (list, insert or delete), for the button and F1 alike.
        installHelp(dialog.window(), m_helpContext, [this](int) {
            showHelp();
            m_state.error.clear();
        }, &dialog.helpButton());
        return dialog.run(m_look);
    }

    bool editRecord(int k, ClosingRecordInput& input) override {
        return runRecordDialog(m_parent, m_state, m_look, k, input, [this] { showHelp(); });
    }

    void setHelpContext(int helpContext) override {
        m_helpContext = helpContext;
        if (m_qtPrompter) m_qtPrompter->setHelpContext(helpContext);
    }

private:
    void showHelp() {
        if (m_qtPrompter) m_qtPrompter->showHelp(m_helpContext, false);
    }

    // The calculation's messages with their causes and remedies, as Hilfe >
    // Fehlermeldungen shows them. Leaving that display does not cancel the list.
    void showMessages() {
        const bool errorBefore = m_state.error.isSet();
        QtExplanationView view(m_parent, DialogEnvironment{m_look, [this](int number) {
                                   if (m_qtPrompter) m_qtPrompter->showHelp(number, false);
                               }, buttonWords(m_state.config.language)});
        showProjectMessages(m_state, view);
        if (!errorBefore) m_state.error.clear();
    }

    ProgramState& m_state;
    QWidget* m_parent;
    DialogLook m_look;
    QtPrompter* m_qtPrompter;
    int m_outerHelpContext;
    int m_helpContext = kHelpClosingList;
};

} // namespace

bool editClosingDimensions(ProgramState& state, QWidget* parent) {
    QtClosingEditorView view(state, parent);
    return runClosingEditor(state.chain, state.texts, *state.prompter, state.error, view).changed;
}

} // namespace zam1
