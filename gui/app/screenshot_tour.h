#pragma once
// A walk through the View commands for the test under Xvfb: with
// ZAM1_SCREENSHOT_DIR set, the window shows the overall graphic, the scheme and
// the normal distribution of closing dimension 1 and the standard report, saves
// a picture of the screen after each as PNG in that folder, and quits.

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace zam1 {

class Thh;

class ScreenshotTour final : public QObject {
    Q_OBJECT

public:
    explicit ScreenshotTour(Thh& window) : m_window(window) {}
    // Does nothing unless the variable names a folder.
    void startFromEnvironment();

private:
    struct Step {
        QString name;
        std::function<void()> command;
        bool waitsForReplay;
    };
    void runStep();
    void takePicture();

    Thh& m_window;
    QString m_folder;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    bool m_failed = false;
    bool m_waiting = false;  // for the replay of the step's diagram
};

} // namespace zam1
