#include "gui/editors/dialog_support.h"

#include "core/text/codepage.h"
#include "gui/editors/dialog_help.h"

namespace zam1 {

QString fromOem(std::string_view oem) { return QString::fromStdString(oemToUtf8(oem)); }

std::string toOem(const QString& text) { return utf8ToOem(text.toStdString()); }

QPushButton* addButton(QWidget& dialog, QBoxLayout& row, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, &dialog);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    row.addWidget(b);
    return b;
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

QHBoxLayout* okCancelHelpRow(QDialog& dialog, const ButtonWords& words, const HelpFunction& help, int helpContext,
                             bool helpText) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton* ok = addButton(dialog, *row, "Button_ok", words.ok);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QPushButton* cancel = addButton(dialog, *row, "Button_cancel", words.cancel);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    installHelp(dialog, helpContext, help, addButton(dialog, *row, "Button_help", helpText ? words.helpText : words.help));
    return row;
}

} // namespace zam1
