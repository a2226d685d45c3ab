#pragma once
// What the tests of the program's dialogs share: typing any text as key presses
// (umlauts included, which QTest's own key clicks cannot), and a picture of a
// dialog as the user sees it when ZAM1_SHOT_DIR names a folder.

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace zam1::test {

// One key press and release per character, each carrying its text.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

inline void keepShot(QWidget& dialog, const QString& name) {
    const QString folder = qEnvironmentVariable("ZAM1_SHOT_DIR");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    dialog.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace zam1::test
