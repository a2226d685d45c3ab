#include "gui/editors/text_screen.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/editors/dialog_geometry.h"
#include "gui/graphics/report_window.h"

namespace zam1 {

void showTextScreen(QWidget* parent, std::string_view title, const std::vector<std::string>& lines) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("TextScreen"));
    dialog.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    auto* text = new QPlainTextEdit(&dialog);
    text->setObjectName(QStringLiteral("Memo_text"));
    text->setReadOnly(true);
    text->setFont(reportFont());
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString all;
    for (const std::string& line : lines) all += QString::fromStdString(line) + QLatin1Char('\n');
    text->setPlainText(all);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("Button_ok"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    const QFontMetrics metrics(text->font());
    dialog.resize(metrics.horizontalAdvance(QLatin1Char('M')) * 84, metrics.lineSpacing() * (static_cast<int>(lines.size()) + 6));
    DialogLook look;
    look.centreOver = parent;
    applyDialogLook(dialog, look);
    dialog.exec();
}

} // namespace zam1
