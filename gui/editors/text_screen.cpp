#include "gui/editors/text_screen.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "gui/editors/dialog_geometry.h"
#include "gui/graphics/report_window.h"

namespace zam1 {

void showTextScreen(QWidget* parent, std::string_view title, const std::vector<std::string>& lines,
                    const HelpFunction& help) {
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
    // The window takes the size of its text, so that nothing is cut off, but no
    // more than the screen has room for: a longer text scrolls.
    const QFontMetrics metrics(text->font());
    int textWidth = 0;
    for (const std::string& line : lines) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(QString::fromStdString(line)));
    }
    const int frame = 2 * text->frameWidth() + 2 * static_cast<int>(std::ceil(text->document()->documentMargin())) +
                      text->contentsMargins().left() + text->contentsMargins().right();
    QSize wanted(textWidth + frame + metrics.averageCharWidth() * 2,
                 metrics.lineSpacing() * static_cast<int>(lines.size() + 1) + frame);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size() * 0.9;
        const QSize chrome(60, buttons->sizeHint().height() + 80);  // the layout's margins, the button row, the frame
        if (wanted.height() > room.height() - chrome.height()) {
            // It will scroll: room for the vertical scroll bar beside the lines.
            wanted.rwidth() += text->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
        }
        wanted = wanted.boundedTo(room - chrome);
    }
    text->setMinimumSize(wanted);
    DialogLook look;
    look.centreOver = parent;
    applyDialogLook(dialog, look);
    // A modal window: the main window's F1 cannot reach through it.
    if (help) installHelp(dialog, 0, help);
    dialog.exec();
}

} // namespace zam1
