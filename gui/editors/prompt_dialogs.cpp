#include "gui/editors/prompt_dialogs.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/editors/dialog_help.h"

namespace zam1 {
namespace {

// The frame every prompt shares: the prompt label on top, the content, then
// OK, Cancel and the two help buttons.
class PromptFrame {
public:
    PromptFrame(QWidget* parent, const PromptContext& context, const char* dialogName, const QString& caption,
                const QString& prompt)
        : m_dialog(parent), m_context(context) {
        m_dialog.setObjectName(QLatin1String(dialogName));
        m_dialog.setWindowTitle(caption);
        auto* label = new QLabel(prompt, &m_dialog);
        label->setObjectName(QStringLiteral("Label1"));
        label->setWordWrap(true);
        m_layout = new QVBoxLayout(&m_dialog);
        m_layout->addWidget(label);
    }

    QDialog& dialog() { return m_dialog; }
    void add(QWidget* content) { m_layout->addWidget(content); }

    // The buttons' object names differ between the dialogs, as they always have.
    bool run(const char* okName, const char* cancelName, bool centre = true) {
        auto* row = new QHBoxLayout;
        auto* ok = button(okName, m_context.words.ok, row);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &m_dialog, &QDialog::accept);
        auto* cancel = button(cancelName, m_context.words.cancel, row);
        QObject::connect(cancel, &QPushButton::clicked, &m_dialog, &QDialog::reject);
        // The help text on its button and on F1; the help picture on its own button.
        auto help = m_context.help;
        installHelp(m_dialog, m_context.helpContext, [help](int number) { if (help) help(number, false); },
                    button("Button_hilfetext", m_context.words.helpText, row));
        helpPictureButton(row);
        m_layout->addLayout(row);
        applyDialogLook(m_dialog, m_context.look, centre);
        return m_dialog.exec() == QDialog::Accepted;
    }

private:
    QPushButton* button(const char* name, const QString& caption, QHBoxLayout* row) {
        auto* b = new QPushButton(caption, &m_dialog);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    }

    void helpPictureButton(QHBoxLayout* row) {
        QPushButton* b = button("Button_hilfebild", m_context.words.helpPicture, row);
        const int number = m_context.helpContext;
        b->setProperty("helpContext", number);
        auto help = m_context.help;
        QObject::connect(b, &QPushButton::clicked, &m_dialog, [help, number] {
            if (help) help(number, true);
        });
    }

    QDialog m_dialog;
    const PromptContext& m_context;
    QVBoxLayout* m_layout = nullptr;
};

const QString kChoiceCaption = QStringLiteral("Auswahl");
const QString kInputCaption = QStringLiteral("Eingabe");

std::optional<int> radioChoice(QWidget* parent, const PromptContext& context, const QString& prompt,
                               const QStringList& lines, int current) {
    PromptFrame frame(parent, context, "Tin_radiodialog", kChoiceCaption, prompt);
    auto* box = new QGroupBox(&frame.dialog());
    box->setObjectName(QStringLiteral("RadioGroup1"));
    auto* boxLayout = new QVBoxLayout(box);
    QButtonGroup group(&frame.dialog());
    for (int i = 0; i < lines.size(); ++i) {
        auto* radio = new QRadioButton(lines[i], box);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        radio->setChecked(i + 1 == current);
        group.addButton(radio, i + 1);
        boxLayout->addWidget(radio);
    }
    box->setMinimumHeight(25 * static_cast<int>(lines.size()) + 25);
    frame.add(box);
    if (group.checkedButton()) group.checkedButton()->setFocus();
    if (!frame.run("button_ok", "button_cancel")) return std::nullopt;
    return group.checkedId() > 0 ? group.checkedId() : current;
}

std::optional<int> listChoice(QWidget* parent, const PromptContext& context, const QString& prompt,
                              const QStringList& lines, int current) {
    PromptFrame frame(parent, context, "Tin_codedialog", kChoiceCaption, prompt);
    auto* list = new QListWidget(&frame.dialog());
    list->setObjectName(QStringLiteral("ListBox1"));
    list->addItems(lines);
    list->setCurrentRow(current - 1);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &frame.dialog(), &QDialog::accept);
    frame.add(list);
    list->setFocus();
    if (!frame.run("button_ok", "button_cancel")) return std::nullopt;
    return list->currentRow() >= 0 ? list->currentRow() + 1 : current;
}

} // namespace

std::optional<int> askChoiceDialog(QWidget* parent, const PromptContext& context, const QString& prompt,
                                   const QStringList& lines, int current) {
    if (current < 1 || current > lines.size()) current = 1;
    if (lines.size() > kMaxRadioChoices) return listChoice(parent, context, prompt, lines, current);
    return radioChoice(parent, context, prompt, lines, current);
}

std::optional<QString> askTextDialog(QWidget* parent, const PromptContext& context, const QString& prompt,
                                     int maxLength, const QString& text) {
    PromptFrame frame(parent, context, "Tin_textdialog", kInputCaption, prompt);
    auto* edit = new QLineEdit(&frame.dialog());
    edit->setObjectName(QStringLiteral("EditEinText"));
    if (maxLength > 0) edit->setMaxLength(maxLength);
    edit->setText(text);
    edit->selectAll();
    edit->setMinimumWidth(300);
    frame.add(edit);
    edit->setFocus();
    // The text dialog keeps its place: only the size follows the configured scale.
    if (!frame.run("Button_ok", "Button_Cancel", false)) return std::nullopt;
    return edit->text();
}

std::optional<bool> askYesNoDialog(QWidget* parent, const PromptContext& context, const QString& prompt, bool value) {
    PromptFrame frame(parent, context, "Tin_janeindialog", kInputCaption, prompt);
    auto* box = new QGroupBox(kChoiceCaption, &frame.dialog());
    box->setObjectName(QStringLiteral("RadioGroup_janein"));
    auto* yes = new QRadioButton(QStringLiteral("&Ja"), box);
    yes->setObjectName(QStringLiteral("RadioButton_ja"));
    auto* no = new QRadioButton(QStringLiteral("&Nein"), box);
    no->setObjectName(QStringLiteral("RadioButton_nein"));
    (value ? yes : no)->setChecked(true);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(yes);
    boxLayout->addWidget(no);
    frame.add(box);
    if (!frame.run("Button_ok", "button_cancel")) return std::nullopt;
    return yes->isChecked();
}

} // namespace zam1
