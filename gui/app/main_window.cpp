#include "gui/app/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include "core/app/command_guard.h"
#include "core/app/file_commands.h"
#include "core/app/show_result.h"
#include "core/files/zam_import.h"
#include "core/platform/prompter.h"
#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/app/view_commands.h"
#include "core/app/window_start.h"
#include "core/config/config_file.h"
#include "core/graphics/diagram_run.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/program_drawings.h"
#include "core/lang/language.h"
#include "gui/app/menu_builder.h"
#include "gui/graphics/graphics_widget.h"

namespace zam1 {
namespace {

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
      m_savedDesktop(state.desktop) {
    setObjectName(QStringLiteral("hh"));
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    state.prompter = &m_prompter;
    state.desktop = m_desktop.get();
    applyMenuCaptions();
    refreshCaption();
}

Thh::~Thh() {
    m_state.prompter = m_savedPrompter;
    m_state.desktop = m_savedDesktop;
}

void Thh::start(const std::string& project) {
    readStartConfiguration(m_state, screenInfo(*this));
    startWindowSession(m_state, project);
    const Configuration& config = m_state.config;
    m_graphics->setSettings(drawingSettingsFrom(config, config.tempDirectory).window);
    m_graphicsWidget->resize(m_graphics->settings().width + 1, m_graphics->settings().height + 1);
    m_prompter.setScalePercent(config.inputWindowScale, config.inputWindowScale);
    m_desktop->setReportGeometry(config.textWindow);
    applyMenuCaptions();
    refreshCaption();
    m_state.error.clear();
}

void Thh::runCommand(const std::function<void()>& command) {
    runGuarded(m_state, command);
    refreshCaption();
}

void Thh::viewDiagram(int kind, int closing) {
    if (closing == 0) {
        if (!chooseClosingDimension(m_state, m_closing)) return;
        closing = m_closing;
    }
    zam1::viewDiagram(m_state, *m_graphics, kind, closing);
}

void Thh::viewStandardReport() { zam1::viewStandardReport(m_state); }

void Thh::openProject() {
    if (openProjectCommand(m_state)) zam1::viewDiagram(m_state, *m_graphics, kDiagramOverall, m_closing = 1);
    applyMenuCaptions();  // the recent files changed
}

void Thh::openRecent(int k) {
    const bool read = fileOpenRecent(m_state, k);
    applyMenuCaptions();
    if (read && resultGraphic(m_state) != ResultGraphic::None) {
        zam1::viewDiagram(m_state, *m_graphics, kDiagramOverall, m_closing = 1);
    }
}

void Thh::viewMonteCarlo() {
    if (!chooseClosingDimension(m_state, m_closing)) return;
    zam1::viewMonteCarlo(m_state, *m_graphics, m_closing);
}

void Thh::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    runGuarded(m_state, [&] { mayClose = fileExit(m_state); });
    if (mayClose) {
        event->accept();
    } else {
        event->ignore();
    }
}

void Thh::refreshCaption() { setWindowTitle(QString::fromStdString(windowCaption(m_state))); }

void Thh::applyMenuCaptions() {
    const LanguageTexts& t = m_state.texts;
    const auto common = [&t](const std::string& text) { return QString::fromStdString(commonMenuToUtf8(t, text)); };
    const auto view = [&t](const std::string& text) { return QString::fromStdString(viewMenuToUtf8(t, text)); };
    std::vector<MenuCommand> file = {
        {QStringLiteral("mi_fileNew"), common(t.menu.fileNew), QKeySequence(Qt::CTRL | Qt::Key_N),
         [this] { fileNew(m_state); }},
        {QStringLiteral("mi_fileOpen"), common(t.menu.fileOpen), QKeySequence(Qt::CTRL | Qt::Key_O),
         [this] { openProject(); }},
        {QStringLiteral("mi_FileSave"), common(t.menu.save), QKeySequence(Qt::CTRL | Qt::Key_S),
         [this] { fileSave(m_state); }},
        {QStringLiteral("mi_FileSaveAs"), common(t.menu.saveAs), {}, [this] {
             fileSaveAs(m_state);
             applyMenuCaptions();
         }},
        {QStringLiteral("mi_fileImportZAM"), common(t.menu.importWord) + QStringLiteral(" ZAM"), {}, [this] {
             FileChoice choice;
             choice.filter = "*.zam|*.zam";
             choice.folder = m_state.file.dataDirectory;
             std::string path;
             if (m_state.prompter->chooseOpenFile(choice, path) && importZamFile(m_state, path)) {
                 zam1::viewDiagram(m_state, *m_graphics, kDiagramOverall, m_closing = 1);
             }
         }},
    };
    // The recent files stand above Exit, the separator only when there is one.
    for (int k = 1; k <= 4; ++k) {
        const std::string caption = recentFileCaption(m_state.file.recentFiles, k);
        if (caption.empty()) continue;
        if (k == 1) file.push_back({});
        file.push_back({QStringLiteral("mi_file%1").arg(k), QString::fromStdString(caption), {}, [this, k] { openRecent(k); }});
    }
    file.push_back({});
    file.push_back({QStringLiteral("mi_fileexit"), common(t.menu.exit), {}, [this] { close(); }});
    const std::vector<MenuSection> sections = {
        {QStringLiteral("mi_file"), common(t.menu.fileMenu), file},
        {QStringLiteral("mi_view"), common(t.menu.viewMenu),
         {
             {QStringLiteral("mi_ViewStandard"), common(t.menu.viewStandard), {}, [this] { viewStandardReport(); }},
             {},
             {QStringLiteral("mi_viewgesamtgrafik"), view(t.viewMenu.overallGraphic), {},
              [this] { viewDiagram(kDiagramOverall, m_closing); }},
             {QStringLiteral("mi_viewschema"), view(t.viewMenu.scheme), {},
              [this] { viewDiagram(kDiagramScheme, 0); }},
             {QStringLiteral("mi_viewmasstaeblich"), view(t.viewMenu.chainToScale), {},
              [this] { viewDiagram(kDiagramToScale, 0); }},
             {QStringLiteral("mi_viewnormalverteilung"), view(t.viewMenu.normalDistribution), {},
              [this] { viewDiagram(kDiagramNormalDistribution, 0); }},
             {},
             {QStringLiteral("mi_viewmontecarlo"), QStringLiteral("Monte Carlo ..."), {}, [this] { viewMonteCarlo(); }},
         }},
    };
    buildMenuBar(*menuBar(), sections, [this](const std::function<void()>& command) { runCommand(command); });
}

} // namespace zam1
