#include "gui/editors/dialog_support.h"

#include <algorithm>

#include <QComboBox>

#include "core/editors/closing_editor.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "gui/editors/dialog_help.h"

namespace zam1 {

QString fromOem(std::string_view oem) { return QString::fromStdString(oemToUtf8(oem)); }

std::string toOem(const QString& text) { return utf8ToOem(text.toStdString()); }

QPushButton* namedButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QPushButton* addButton(QWidget& dialog, QBoxLayout& row, const char* name, const QString& caption) {
    QPushButton* b = namedButton(&dialog, name, caption);
    row.addWidget(b);
    return b;
}

DialogLook editorLook(const ProgramState& state, QWidget* parent) {
    DialogLook look;
    look.sizePercent = state.config.inputWindowScale;
    look.fontPercent = state.config.inputWindowScale;
    look.centreOver = parent ? parent->window() : nullptr;
    return look;
}

DialogEnvironment dialogEnvironment(const ProgramState& state, QWidget* parent) {
    DialogEnvironment environment;
    environment.look = editorLook(state, parent);
    environment.help = manualHelp(state);
    environment.words = buttonWords(state.config.language);
    environment.prompter = state.prompter;
    environment.parent = parent;
    environment.language = state.config.language;
    return environment;
}

QComboBox* namedChoice(QWidget& dialog, const char* name) {
    auto* choice = new QComboBox(&dialog);
    choice->setObjectName(QLatin1String(name));
    return choice;
}

QComboBox* closingChoice(QWidget& dialog, const Chain& chain, int closing) {
    QComboBox* choice = namedChoice(dialog, "ComboBox_closing");
    for (int k = 1; k <= chain.closingCount(); ++k) choice->addItem(fromOem(closingListText(chain, k)));
    choice->setCurrentIndex(std::clamp(closing, 1, std::max(1, choice->count())) - 1);
    return choice;
}

ButtonWords buttonWords(int language) {
    switch (language) {
    case 2: return {QStringLiteral("OK"), QStringLiteral("Cancel"), QStringLiteral("&Help"), QStringLiteral("Help &text"),
                    QStringLiteral("Help &picture")};
    case 3: return {QStringLiteral("OK"), QStringLiteral("Annuler"), QStringLiteral("&Aide"),
                    QStringLiteral("&Texte d'aide"), QStringLiteral("&Image d'aide")};
    default: return {};
    }
}

ButtonRow buttonRow(QDialog& dialog, const ButtonWords& words, const ButtonRowOptions& options) {
    ButtonRow row;
    row.layout = new QHBoxLayout;
    row.layout->addStretch(1);
    row.ok = addButton(dialog, *row.layout, "Button_ok", words.ok);
    row.ok->setDefault(true);
    if (options.onOk) {
        QObject::connect(row.ok, &QPushButton::clicked, &dialog, options.onOk);
    } else {
        QObject::connect(row.ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    }
    row.cancel = addButton(dialog, *row.layout, "Button_cancel", words.cancel);
    QObject::connect(row.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    if (!options.helpButton) return row;
    row.help = addButton(dialog, *row.layout, "Button_help", options.helpText ? words.helpText : words.help);
    if (options.helpContext >= 0) installHelp(dialog, options.helpContext, options.help, row.help);
    return row;
}

} // namespace zam1
