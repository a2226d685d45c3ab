#include "gui/app/main_window.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>

#include "core/app/command_guard.h"
#include "core/app/file_commands.h"
#include "core/app/window_start.h"
#include "core/config/config_file.h"
#include "core/files/working_copy.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/palette.h"
#include "core/graphics/program_drawings.h"
#include "core/platform/private_folder.h"
#include "core/session/program_state.h"
#include "gui/app/closing_screen.h"
#include "gui/app/menu_builder.h"
#include "gui/app/project_drop.h"
#include "gui/app/signal_watch.h"
#include "gui/app/window_arrangement.h"
#include "gui/app/window_dialogs.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/help_window.h"
#include "gui/graphics/graphics_widget.h"

// The resource's loader is declared by the macro, which works only outside a namespace.
static void loadIconResource() { Q_INIT_RESOURCE(program_icon); }

namespace zam1 {
namespace {

// The name of the desktop entry and of the icon, so that the window manager and
// the task bar match the running program to its entry.
constexpr const char* kApplicationId = "de.korvant.zam1";

// The installed icon theme's when there is one, else the copy built into the program.
QIcon programIcon() {
    loadIconResource();
    return QIcon::fromTheme(QLatin1String(kApplicationId), QIcon(QStringLiteral(":/de.korvant.zam1.svg")));
}

ScreenInfo screenInfo(const QWidget& window) {
    ScreenInfo info;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        info.width = screen->geometry().width();
        info.height = screen->geometry().height();
        info.dpiY = static_cast<int>(screen->logicalDotsPerInchY());
    }
    info.mainWindowHeight = window.frameGeometry().height();
    info.mainClientHeight = window.height();
    return info;
}

} // namespace

Thh::Thh(ProgramState& state)
    : m_state(state),
      m_graphics(std::make_unique<GraphicsWindow>(WindowSettings{}, state.error)),
      m_graphicsWidget(std::make_unique<TFkorvgra>(*m_graphics)),
      m_prompter(this),
      m_desktop(std::make_unique<QtDesktop>(this, m_graphicsWidget.get())),
      m_savedPrompter(state.prompter),
      m_savedDesktop(state.desktop),
      m_context(state, *this),
      m_dialogs(std::make_unique<WindowDialogs>(*this)),
      m_screenKeeper(std::make_unique<ScreenKeeper>()),
      m_closingScreenMs(kClosingScreenMs),
      m_drops(new ProjectDrop([this](const std::string& path) { openProject(path); }, this)) {
    setObjectName(QStringLiteral("hh"));
    // Every window of the program (graphics, report, help) shows the same icon.
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QLatin1String(kApplicationId));
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    // The window holds only its menu; the area below shows the background colour.
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("Area"));
    area->setAutoFillBackground(true);
    setCentralWidget(area);
    state.prompter = &m_prompter;
    state.desktop = m_desktop.get();
    m_desktop->setPrompter(&m_prompter);
    m_prompter.setLanguageSource([&state] { return state.config.language; });
    m_graphicsWidget->setPrompter(&m_prompter);
    m_graphicsWidget->setEventGuard([this](const std::function<void()>& handler) { return runGuarded(m_state, handler); });
    installHelp(*m_graphicsWidget, 0, [this](int number) { showHelp(number); });
    // A diagram brings the graphics window up; the menu strip stays on top of it.
    connect(m_graphicsWidget.get(), &TFkorvgra::pictureShown, this, [this] {
        if (isVisible()) raise();
    });
    m_menus = std::make_unique<MenuBuilder>(*menuBar(), m_context, [this](const MenuItem& item) { runItem(item); });
    // The graphics window has the keyboard after every picture: Undo, Open and the
    // like are typed there as often as in the menu strip.
    m_menus->shareShortcuts(*m_graphicsWidget);
    refreshCaption();
}

Thh::~Thh() {
    m_signals.reset();
    // Gone without the close query (the close query drops the copy): the copy
    // stays for the next start.
    releaseWorkingCopy(m_state);
    m_menus.reset();
    m_state.privateFolder.clear();
    m_state.prompter = m_savedPrompter;
    m_state.desktop = m_savedDesktop;
}

bool Thh::start(const WindowStartPlan& plan) {
    bool started = true;
    bool projectRead = false;
    runGuarded(m_state, [&] {
        readStartConfiguration(m_state, screenInfo(*this));
        // Folders of programs that were killed, before this one makes its own.
        removeOrphanedPrivateFoldersBeforeStart(temporaryFolderFromEnvironment());
        m_privateFolder = std::make_unique<PrivateFolder>(temporaryFolderFromEnvironment());
        m_state.privateFolder = m_privateFolder->path();
        applySettings();
        started = startWindowSession(m_state, plan, projectRead);
    });
    m_state.error.clear();
    m_signals = std::make_unique<SignalWatch>([this](int number) { endOnSignal(number); });
    if (started && projectRead) {
        m_context.closing = 1;
        runCommand([this] { m_graphics->ResetZoom(); });
        runItem(*findMenuItem("mi_viewgesamtgrafik"));
        m_state.error.clear();
    }
    refreshCaption();
    return started;
}

bool Thh::start(const std::string& project) {
    WindowStartPlan plan;
    if (!project.empty()) {
        plan.project = WindowStartPlan::Project::Read;
        plan.name = project;
    }
    return start(plan);
}

void Thh::applySettings() {
    const Configuration& config = m_state.config;
    m_graphics->setSettings(drawingSettingsFrom(config, temporaryFolder(m_state)).window);
    m_graphicsWidget->resize(m_graphics->settings().width + 1, m_graphics->settings().height + 1);
    placeWindows();
    m_prompter.setScalePercent(config.inputWindowScale, config.inputWindowScale);
    m_desktop->setReportGeometry(config.textWindow);
    // The window's colour is the configured background colour.
    const Rgb bg = paletteColour(config.backgroundColour);
    QWidget* area = centralWidget();
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, QColor(bg.r, bg.g, bg.b));
    area->setPalette(palette);
}

namespace {
constexpr int kMainWidth = 800;
constexpr int kMainHeight = 80;  // a menu bar and a status line
} // namespace

void Thh::placeWindows() {
    // The picture keeps its proportions in whatever size the graphics window gets.
    const QRect room = screenRoom(*this);
    const QSize graphicsClient(m_graphics->settings().width + 1, m_graphics->settings().height + 1);
    const QSize graphicsFrame = graphicsClient.grownBy(frameMargins(*m_graphicsWidget));
    const QSize mainFrame = QSize(kMainWidth, kMainHeight).grownBy(frameMargins(*this));
    const WindowArrangement places = arrangeWindows(room, graphicsFrame, mainFrame);
    placeFrame(*m_graphicsWidget, places.graphics);
    placeFrame(*this, places.main);
}

void Thh::showBelowGraphics() {
    placeWindows();
    show();
}

void Thh::runItem(const MenuItem& item) {
    runMenuItem(m_context, item);
    refreshCaption();
}

void Thh::runCommand(const std::function<void()>& command) {
    runGuarded(m_state, command);
    refreshCaption();
}

void Thh::refreshCaption() {
    m_qtTexts.follow(m_state.config.language);
    setWindowTitle(QString::fromStdString(windowCaption(m_state)));
    if (m_menus) m_menus->refresh();
}

void Thh::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    runGuarded(m_state, [&] { mayClose = fileExit(m_state); });
    if (mayClose) {
        m_graphicsWidget->close();
        showClosingScreen(this, closingScreenLines(m_state.config.language), m_closingScreenMs);
        event->accept();
    } else {
        event->ignore();
    }
    refreshCaption();
}

void Thh::endOnSignal(int number) {
    // Nobody can be asked any more: the input goes into the working copy for the
    // next start, the temporary files go, and the program ends at once (an open
    // dialog must not run on into a command).
    saveWorkingCopyOnSignal(m_state);
    if (m_privateFolder) m_privateFolder->remove();
    std::_Exit(128 + number);
}

GraphicsWindow& Thh::graphics() { return *m_graphics; }

void Thh::closeWindow() { close(); }

void Thh::printLastOutput() { m_desktop->printLastOutput(); }

void Thh::showHelp(int helpNumber) { zam1::showHelp(this, helpNumber, m_state.config.language); }

bool Thh::editProjectText() { return m_dialogs->editProjectText(); }
bool Thh::editElementTable() { return m_dialogs->editElementTable(); }
bool Thh::editClosingDimensions() { return m_dialogs->editClosingDimensions(); }
bool Thh::editMonteCarlo(int& closing) { return m_dialogs->editMonteCarlo(closing); }
bool Thh::allocateTolerances(int& closing) { return m_dialogs->allocateTolerances(closing); }
bool Thh::editSettings() {
    const bool written = m_dialogs->editSettings();
    if (written) applySettings();
    return written;
}
DocumentationDialogs& Thh::documentationDialogs() { return m_dialogs->documentation(); }
ExplanationView& Thh::explanationView() { return m_dialogs->explanation(); }
OverviewWindow& Thh::overviewWindow() { return m_dialogs->overview(); }
ImportPreview& Thh::importPreview() { return m_dialogs->importPreview(); }

void Thh::openProject(const std::string& path) {
    openNamedProject(m_context, path);
    refreshCaption();
}

void Thh::projectOpenedFromTable() {
    m_context.undo.clear();
    m_context.closing = 1;
    runCommand([this] { showResult(m_context); });
}
void Thh::showTextScreen(std::string_view title, const std::vector<std::string>& lines) {
    m_dialogs->showTextScreen(title, lines);
}

} // namespace zam1
