#pragma once
// The main window "Thh": construction, caption, start-up and close. The menus
// come from the core's menu table through the menu builder; the window is the
// commands' workbench (graphics window, editors, text screens).

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

#include "core/app/menu_table.h"
#include "core/app/workbench.h"
#include "gui/platform/qt_desktop.h"
#include "gui/platform/qt_prompter.h"
#include "gui/platform/qt_translations.h"

namespace zam1 {

class MenuBuilder;
class PrivateFolder;
class ScreenKeeper;
class ProjectDrop;
class SignalWatch;
class TFkorvgra;
class WindowDialogs;
struct ProgramState;
struct WindowStartPlan;

class Thh final : public QMainWindow, public Workbench {
    Q_OBJECT

public:
    // Installs the window's prompter and desktop in `state` for its lifetime.
    explicit Thh(ProgramState& state);
    ~Thh() override;

    // The start-up after construction: configuration, recent files, the project
    // of the command line or the template, the working copy, graphics settings,
    // stored language, caption. False when the program must end (exit code 1).
    bool start(const WindowStartPlan& plan);
    // A start with this project read (empty: none), as "wzam1 name.zm1" does.
    bool start(const std::string& project);

    // Places the graphics window at the top of the screen and this window, its
    // menu strip, right under it, both wholly on the screen, and shows it.
    void showBelowGraphics();
    // Both windows where showBelowGraphics puts them, without showing either.
    void placeWindows();
    // How long the closing text screen stays (ms); 0 ends the program without it.
    void setClosingScreenTime(int milliseconds) { m_closingScreenMs = milliseconds; }

    // A menu item by object name, as the menu runs it.
    void runItem(const MenuItem& item);
    // Any command through the exception boundary; captions and menus follow.
    void runCommand(const std::function<void()>& command);

    TFkorvgra& graphicsWidget() { return *m_graphicsWidget; }
    QtPrompter& prompter() { return m_prompter; }
    QtDesktop& desktop() { return *m_desktop; }
    ProgramState& state() { return m_state; }
    MenuContext& context() { return m_context; }

    // Opens a project as a recent file is opened (a file dropped on a window).
    void openProject(const std::string& path);

    // A project chosen in the folder table is the current one: its result and caption.
    void projectOpenedFromTable();

    // The caption, the menu captions (language, recent files, message count) and enabled states.
    void refreshCaption();

    // Workbench
    GraphicsWindow& graphics() override;
    bool editProjectText() override;
    bool editElementTable() override;
    bool editClosingDimensions() override;
    bool editMonteCarlo(int& closing) override;
    bool allocateTolerances(int& closing) override;
    bool editSettings() override;
    DocumentationDialogs& documentationDialogs() override;
    ExplanationView& explanationView() override;
    OverviewWindow& overviewWindow() override;
    ImportPreview& importPreview() override;
    void closeWindow() override;
    void printLastOutput() override;
    void showHelp(int helpNumber) override;
    void showTextScreen(std::string_view title, const std::vector<std::string>& lines) override;

protected:
    // Exit and every other way of closing run the close query; a cancelled one keeps the window.
    void closeEvent(QCloseEvent* event) override;

private:
    void applySettings();
    // SIGTERM, SIGHUP, SIGINT: the working copy is written, the private folder removed, the program ends.
    void endOnSignal(int number);

    ProgramState& m_state;
    std::unique_ptr<GraphicsWindow> m_graphics;
    std::unique_ptr<TFkorvgra> m_graphicsWidget;
    QtPrompter m_prompter;
    QtTranslations m_qtTexts;  // Qt's own dialogs in the chosen language
    std::unique_ptr<QtDesktop> m_desktop;
    Prompter* m_savedPrompter;
    Desktop* m_savedDesktop;
    MenuContext m_context;
    std::unique_ptr<WindowDialogs> m_dialogs;
    std::unique_ptr<MenuBuilder> m_menus;
    std::unique_ptr<PrivateFolder> m_privateFolder;  // removed when the window goes
    std::unique_ptr<SignalWatch> m_signals;
    std::unique_ptr<ScreenKeeper> m_screenKeeper;  // every window shown stays on its screen
    int m_closingScreenMs;
    ProjectDrop* m_drops;  // owned by the window
};

} // namespace zam1
