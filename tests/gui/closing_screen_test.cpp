// The closing text screen at the end of the window program: shown after the
// close query let the program end, in the program's language, for its display
// time and no longer; a key ends it sooner; a cancelled close shows nothing.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/session/program_state.h"
#include "gui/app/main_window.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

// Watches for the closing screen while the window closes: its text, whether it
// lay on the screen, and (when asked) a key pressed into it.
class ScreenWatch {
public:
    explicit ScreenWatch(int keyAfterMs) : m_keyAfterMs(keyAfterMs) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
        m_clock.start();
    }
    QString text;
    bool onScreen = false;

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String("ClosingScreen") || !w->isVisible()) continue;
            if (text.isEmpty()) {
                if (auto* label = w->findChild<QLabel*>(QStringLiteral("ClosingText"))) text = label->text();
                onScreen = w->screen()->availableGeometry().contains(w->frameGeometry());
                m_seenAt = m_clock.elapsed();
            }
            if (m_keyAfterMs >= 0 && m_clock.elapsed() - m_seenAt >= m_keyAfterMs) {
                QTest::keyClick(w, Qt::Key_Space);
                m_keyAfterMs = -1;
            }
        }
    }
    int m_keyAfterMs;
    qint64 m_seenAt = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

TEST(ClosingScreen, ShownForItsDisplayTimeAtMostInTheProgramsLanguage) {
    constexpr int kSlackMs = 1500;  // the window's own closing, under the sanitizers
    const struct {
        const char* name;
        int language;
        int displayMs;
        int keyAfterMs;  // -1: no key
        const char* farewell;
        int longestMs;
    } rows[] = {
        {"German, runs out", 0, 400, -1, "Auf Wiedersehen.", 400 + kSlackMs},
        {"English, runs out", 2, 300, -1, "Goodbye.", 300 + kSlackMs},
        {"French, a key ends it at once", 3, 20000, 50, "Au revoir.", 50 + kSlackMs},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ProgramState state;
        state.config.language = row.language;
        Thh window(state);
        window.setClosingScreenTime(row.displayMs);
        window.show();
        ScreenWatch watch(row.keyAfterMs);
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(window.close());
        const qint64 took = clock.elapsed();
        EXPECT_TRUE(watch.text.startsWith(QStringLiteral("ZAM1 - Toleranzrechnung\nVersion 11.1"))) << watch.text.toStdString();
        EXPECT_TRUE(watch.text.endsWith(QString::fromUtf8(row.farewell))) << watch.text.toStdString();
        EXPECT_TRUE(watch.onScreen);
        if (row.keyAfterMs < 0) {
            EXPECT_GE(took, row.displayMs - 20);
        }
        EXPECT_LT(took, row.longestMs);
    }
}

TEST(ClosingScreen, ACancelledCloseShowsNothing) {
    ProgramState state;
    Thh window(state);
    window.setClosingScreenTime(300);
    window.show();
    state.file.modified = true;
    test::ModalScript script({[](QWidget& d) { QTest::keyClick(&d, Qt::Key_Escape); }});
    ScreenWatch watch(-1);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(watch.text.isEmpty());
    EXPECT_TRUE(window.isVisible());
    state.file.modified = false;
    window.setClosingScreenTime(0);
    EXPECT_TRUE(window.close());
}

} // namespace
} // namespace zam1
