#pragma once
// Every GUI test runs with one watchdog over the modal dialogs: a dialog that
// stays on top for kModalWatchdogSeconds without a ModalScript action running on
// it would wait for a user who never comes. The watchdog records a test failure
// naming the dialog (class, object name, title, a message box's text), closes it,
// and then closes whatever unanswered dialog lies under it within a short grace,
// so the test ends and fails instead of hanging until the CTest timeout.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

#include "tests/gui/modal_script.h"

namespace zam1::test {

// Long enough for an answer on a loaded machine, short enough to fail well within half a minute.
inline constexpr int kModalWatchdogSeconds = 15;
// Once one dialog was stuck, the dialogs under it get this long before they are closed too.
inline constexpr int kModalGraceMs = 2000;

inline std::string describeDialog(const QWidget& w) {
    std::string text = std::string(w.metaObject()->className()) + " \"" + w.objectName().toStdString() +
                       "\" titled \"" + w.windowTitle().toStdString() + "\"";
    if (const auto* box = qobject_cast<const QMessageBox*>(&w)) text += " saying \"" + box->text().toStdString() + "\"";
    return text;
}

class ModalWatchdog {
public:
    explicit ModalWatchdog(int limitMs = kModalWatchdogSeconds * 1000) : m_limitMs(limitMs) {
        m_timer.setInterval(250);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

private:
    void poll() {
        QWidget* top = QApplication::activeModalWidget();
        if (!top) {
            m_top = nullptr;
            m_tripped = false;  // everything is closed: the next stuck dialog gets the full time
            return;
        }
        if (top != m_top.data() || isBeingAnswered(top)) {
            m_top = top;
            m_since.start();
            return;
        }
        if (m_since.elapsed() < (m_tripped ? kModalGraceMs : m_limitMs)) return;
        ADD_FAILURE() << "a modal dialog nobody answers, open for " << m_since.elapsed() / 1000 << " s: "
                      << describeDialog(*top) << "; closed by the watchdog";
        m_tripped = true;
        m_since.start();
        if (auto* dialog = qobject_cast<QDialog*>(top)) {
            // A dialog whose reject asks back or refuses is hidden, which ends its exec.
            if (m_rejected == dialog) dialog->hide();
            else dialog->reject();
            m_rejected = dialog;
        } else {
            top->close();
        }
    }

    int m_limitMs;
    QTimer m_timer;
    QPointer<QWidget> m_top;
    QPointer<QWidget> m_rejected;
    QElapsedTimer m_since;
    bool m_tripped = false;
};

} // namespace zam1::test
