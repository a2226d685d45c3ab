#include "gui/editors/dialog_support.h"

#include "core/text/codepage.h"
#include "gui/editors/dialog_help.h"

namespace zam1 {

QString fromOem(std::string_view oem) { return QString::fromStdString(oemToUtf8(oem)); }

std::string toOem(const QString& text) { return utf8ToOem(text.toStdString()); }

QPushButton* addButton(QDialog& dialog, QHBoxLayout* row, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, &dialog);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

QHBoxLayout* okCancelHelpRow(QDialog& dialog, const HelpFunction& help, int helpContext, const QString& helpCaption) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton* ok = addButton(dialog, row, "Button_ok", QStringLiteral("OK"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QPushButton* cancel = addButton(dialog, row, "Button_cancel", QStringLiteral("Abbrechen"));
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    installHelp(dialog, helpContext, help, addButton(dialog, row, "Button_help", helpCaption));
    return row;
}

} // namespace zam1
