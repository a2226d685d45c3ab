#include "gui/graphics/report_window.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/platform/file_io.h"
#include "core/text/codepage.h"

namespace zam1 {

ReportWindow::ReportWindow(PrintText print, QWidget* parent)
    : QWidget(parent, Qt::Window), m_view(new QPlainTextEdit(this)), m_print(std::move(print)) {
    setObjectName(QStringLiteral("TextWindow"));
    m_view->setObjectName(QStringLiteral("Memo1"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setFont(reportFont());

    auto* copy = new QPushButton(QStringLiteral("&Kopieren"), this);
    copy->setObjectName(QStringLiteral("Button_copy"));
    auto* printButton = new QPushButton(QStringLiteral("&Drucken"), this);
    printButton->setObjectName(QStringLiteral("Button_print"));
    auto* close = new QPushButton(QStringLiteral("&Schlie\u00dfen"), this);
    close->setObjectName(QStringLiteral("Button_close"));
    connect(copy, &QPushButton::clicked, this, &ReportWindow::copyAll);
    connect(printButton, &QPushButton::clicked, this, [this] {
        if (m_print) m_print(text());
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(printButton);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);
    resize(700, 440);
}

QFont reportFont() {
    // The system's fixed font is not fixed on every machine (fontconfig may hand
    // "monospace" to a font it only calls so); the report's columns need one that is.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (QFontInfo(font).fixedPitch()) return font;
    for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Noto Mono", "Nimbus Mono PS", "Courier New"}) {
        QFont candidate(QString::fromLatin1(family), font.pointSize());
        candidate.setFixedPitch(true);
        if (QFontInfo(candidate).fixedPitch()) return candidate;
    }
    return font;
}

std::optional<QString> reportTextForDisplay(const std::string& path) {
    std::string bytes;
    if (readWholeFile(path, bytes) != 0) return std::nullopt;
    QString shown = QString::fromStdString(oemToUtf8(bytes));
    // CR LF line ends and the form feeds of the page frame mean nothing on screen.
    shown.remove(QLatin1Char('\r')).remove(QLatin1Char('\f'));
    return shown;
}

bool ReportWindow::showFile(const std::string& path, std::string_view title) {
    const std::optional<QString> shown = reportTextForDisplay(path);
    if (!shown) return false;
    m_view->setPlainText(*shown);
    setWindowTitle(QString::fromStdString(oemToUtf8(title)));
    return true;
}

void ReportWindow::applyGeometry(const std::array<int, 4>& g) {
    if (g[2] > 0 && g[3] > 0) setGeometry(g[0], g[1], g[2], g[3]);
}

void ReportWindow::copyAll() { QGuiApplication::clipboard()->setText(text()); }

} // namespace zam1
