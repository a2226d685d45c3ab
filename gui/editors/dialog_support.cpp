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
