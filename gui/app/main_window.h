#pragma once
// The main window "Thh": construction, caption, start-up and close. The menus
// come from the menu builder; the commands are the core's, each run through the
// exception boundary.

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/platform/qt_desktop.h"
#include "gui/platform/qt_prompter.h"

namespace zam1 {

class GraphicsWindow;
class TFkorvgra;
struct ProgramState;

class Thh final : public QMainWindow {
    Q_OBJECT

public:
    // Installs the window's prompter and desktop in `state` for its lifetime.
    explicit Thh(ProgramState& state);
    ~Thh() override;

    // The start-up after construction: configuration, recent files, the project
    // named on the command line, graphics settings, stored language, caption.
    void start(const std::string& project);

    // One menu command inside the exception boundary; the caption follows.
    void runCommand(const std::function<void()>& command);

    // The View commands; `closing` 0 asks which closing dimension.
    void viewDiagram(int kind, int closing);
    void viewStandardReport();
    void viewMonteCarlo();
    void openProject();
    void openRecent(int k);

    TFkorvgra& graphicsWidget() { return *m_graphicsWidget; }
    QtPrompter& prompter() { return m_prompter; }
    QtDesktop& desktop() { return *m_desktop; }
    ProgramState& state() { return m_state; }

    void refreshCaption();
    // The menu captions of the current language.
    void applyMenuCaptions();

protected:
    // Exit and every other way of closing run the close query; a cancelled one keeps the window.
    void closeEvent(QCloseEvent* event) override;

private:
    ProgramState& m_state;
    std::unique_ptr<GraphicsWindow> m_graphics;
    std::unique_ptr<TFkorvgra> m_graphicsWidget;
    QtPrompter m_prompter;
    std::unique_ptr<QtDesktop> m_desktop;
    Prompter* m_savedPrompter;
    Desktop* m_savedDesktop;
    int m_closing = 1;  // the closing dimension chosen last
};

} // namespace zam1
