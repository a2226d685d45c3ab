#pragma once
// Answers the modal dialogs a call opens, one action per dialog in the order
// they appear, so a test can run the prompter's blocking calls as a user would.
// A script whose answers are not all used fails the test when it ends, unless
// the test said it leaves some on purpose. A dialog no script answers is closed
// by the watchdog (modal_watchdog.h) and fails the test too.

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace zam1::test {

// The dialogs a script action is running on now: the watchdog leaves them alone.
inline std::vector<QPointer<QWidget>>& dialogsBeingAnswered() {
    static std::vector<QPointer<QWidget>> dialogs;
    return dialogs;
}

inline bool isBeingAnswered(const QWidget* dialog) {
    const auto& all = dialogsBeingAnswered();
    return std::any_of(all.begin(), all.end(), [dialog](const QPointer<QWidget>& p) { return p.data() == dialog; });
}

class ModalScript {
public:
    using Action = std::function<void(QWidget& dialog)>;

    explicit ModalScript(std::deque<Action> actions) : m_actions(std::move(actions)) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    ~ModalScript() {
        if (!m_leftoversExpected && !m_actions.empty()) {
            ADD_FAILURE() << m_actions.size() << " scripted dialog answer(s) never used: a dialog the test "
                                                 "expected did not open";
        }
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    std::size_t unused() const { return m_actions.size(); }
    // The test leaves answers unused on purpose (and checks unused() itself).
    void expectLeftovers() { m_leftoversExpected = true; }

private:
    void poll() {
        QWidget* dialog = QApplication::activeModalWidget();
        // The dialog acted on last is still closing; once it is gone, whatever
        // modal widget is on top (a new one, or the one under a closed message) is next.
        if (!dialog || dialog == m_last.data() || m_actions.empty()) return;
        m_last = dialog;
        // Run outside this timer's slot: an action that opens a nested dialog
        // (a help message) must leave the poll free to answer that one too.
        // A dialog that was already closing when the poll saw it (a message box's
        // OK also closes the dialog under it) is gone or hidden by then: the action
        // goes back to the front of the queue for whatever dialog comes next.
        QTimer::singleShot(0, &m_timer, [this, target = QPointer<QWidget>(dialog),
                                         action = std::move(m_actions.front())]() mutable {
            if (!target || !target->isVisible()) {
                m_actions.push_front(std::move(action));
                m_last = nullptr;
                return;
            }
            // Nested actions come and go inside this one: this one's entry is the last.
            struct Answering {
                explicit Answering(QWidget* d) { dialogsBeingAnswered().emplace_back(d); }
                ~Answering() { dialogsBeingAnswered().pop_back(); }
                Answering(const Answering&) = delete;
                Answering& operator=(const Answering&) = delete;
            } answering(target.data());
            action(*target);
        });
        m_actions.pop_front();
    }

    std::deque<Action> m_actions;
    QPointer<QWidget> m_last;
    QTimer m_timer;
    bool m_leftoversExpected = false;
};

template <class W>
W& child(QWidget& dialog, const char* name) {
    W* w = dialog.findChild<W*>(QLatin1String(name));
    if (!w) throw std::runtime_error(std::string("no child ") + name + " in " + dialog.objectName().toStdString());
    return *w;
}

// Replaces the text dialog's text and presses Enter.
inline ModalScript::Action typeAndEnter(QString text, QString* shown = nullptr) {
    return [text = std::move(text), shown](QWidget& d) {
        auto& edit = child<QLineEdit>(d, "EditEinText");
        if (shown) *shown = edit.text();
        edit.clear();
        QTest::keyClicks(&edit, text);
        QTest::keyClick(&edit, Qt::Key_Return);
    };
}

inline ModalScript::Action pressKey(Qt::Key key) {
    return [key](QWidget& d) {
        QWidget* target = d.focusWidget() ? d.focusWidget() : &d;
        QTest::keyClick(target, key);
    };
}

} // namespace zam1::test
