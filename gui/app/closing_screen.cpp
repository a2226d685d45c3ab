#include "gui/app/closing_screen.h"

#include <QEvent>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/app/window_arrangement.h"

namespace zam1 {
namespace {

// Ends the screen's wait at the first click or key.
class AnyInput final : public QObject {
public:
    explicit AnyInput(QEventLoop& loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::KeyPress) {
            m_loop.quit();
            return true;
        }
        return false;
    }

private:
    QEventLoop& m_loop;
};

} // namespace

void showClosingScreen(QWidget* over, const std::vector<std::string>& lines, int displayMs) {
    if (displayMs <= 0) return;
    QFrame screen(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    screen.setObjectName(QStringLiteral("ClosingScreen"));
    screen.setFocusPolicy(Qt::StrongFocus);
    screen.setFrameStyle(QFrame::Box | QFrame::Plain);
    screen.setLineWidth(2);
    screen.setWindowModality(Qt::ApplicationModal);
    auto* text = new QLabel(&screen);
    text->setObjectName(QStringLiteral("ClosingText"));
    text->setAlignment(Qt::AlignCenter);
    QString all;
    for (const std::string& line : lines) {
        if (!all.isEmpty()) all += QLatin1Char('\n');
        all += QString::fromStdString(line);
    }
    text->setText(all);
    auto* layout = new QVBoxLayout(&screen);
    layout->setContentsMargins(40, 24, 40, 24);
    layout->addWidget(text);
    screen.adjustSize();
    const QRect room = over ? over->frameGeometry() : screenRoom(screen);
    QRect frame(QPoint(), screen.size());
    frame.moveCenter(room.center());
    screen.move(fitInto(frame, screenRoom(over ? *over : screen)).topLeft());

    QEventLoop loop;
    AnyInput input(loop);
    screen.installEventFilter(&input);
    text->installEventFilter(&input);
    QTimer::singleShot(displayMs, &loop, &QEventLoop::quit);
    screen.show();
    screen.activateWindow();
    screen.setFocus();
    loop.exec();
    screen.hide();
}

} // namespace zam1
