#include "gui/app/window_dialogs.h"

#include "core/app/documentation_commands.h"
#include "core/app/signoff_commands.h"
#include "core/session/program_state.h"
#include "gui/app/batch_painter.h"
#include "gui/app/main_window.h"
#include "core/app/spreadsheet_commands.h"
#include "gui/editors/allocation_dialog.h"
#include "gui/editors/closing_dimension_dialogs.h"
#include "gui/editors/dialog_geometry.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/element_table_dialog.h"
#include "gui/editors/documentation_dialogs.h"
#include "gui/editors/explanation_dialog.h"
#include "gui/editors/settings_dialog.h"
#include "gui/editors/exchange_dialogs.h"
#include "gui/editors/monte_carlo_dialog.h"
#include "gui/editors/project_text_dialog.h"
#include "gui/editors/text_screen.h"

namespace zam1 {
namespace {

// The dialogs' environment from the configuration, centred over the main window;
// their help goes through the window's prompter, which opens the manual.
DialogEnvironment environmentOf(Thh& window) {
    DialogEnvironment env = dialogEnvironment(window.state(), &window);
    env.help = [&window](int number) { window.prompter().showHelp(number, false); };
    env.prompter = &window.prompter();
    return env;
}

} // namespace

WindowDialogs::WindowDialogs(Thh& window) : m_window(window) {}

WindowDialogs::~WindowDialogs() = default;

bool WindowDialogs::editProjectText() {
    ProgramState& state = m_window.state();
    return takeProjectText(state.projectTexts,
                           zam1::editProjectText(projectTextFields(state.projectTexts), state.texts.main, environmentOf(m_window)),
                           state.error);
}
// The element table's ".." and spreadsheet buttons run the window's own editors and commands.
bool WindowDialogs::editElementTable() {
    ElementTableCollaborators with;
    with.closingEditor = [](ProgramState& state, QWidget* parent) { return zam1::editClosingDimensions(state, parent); };
    with.exportTable = [](ProgramState& state, QWidget*) { return exportElementTableSpreadsheet(state); };
    with.importTable = [this](ProgramState& state, QWidget*) { return importSpreadsheet(state, importPreview()); };
    return zam1::editElementTable(m_window.state(), &m_window, std::move(with));
}
bool WindowDialogs::editClosingDimensions() { return zam1::editClosingDimensions(m_window.state(), &m_window); }
bool WindowDialogs::editMonteCarlo(int& closing) {
    ProgramState& state = m_window.state();
    QtExportPainter painter;
    return editProjectMonteCarlo(state, closing, [&](const AnalysisData& data, int shown) {
        return editMonteCarloSettings(
            state.chain, data, shown, state.texts,
            [&](const AnalysisData& settings) { saveSignoffReport(state, settings, &painter); }, environmentOf(m_window));
    });
}
bool WindowDialogs::allocateTolerances(int& closing) {
    ProgramState& state = m_window.state();
    return allocateProjectTolerances(state, closing, [&](Chain& chain, const AnalysisData& data, int shown) {
        return zam1::allocateTolerances(chain, data, shown, state.texts, environmentOf(m_window));
    });
}
bool WindowDialogs::editSettings() {
    ProgramState& state = m_window.state();
    const auto chosen = zam1::editSettings(state.config, settingsFileOf(state), environmentOf(m_window));
    if (chosen) state.config = *chosen;
    return chosen.has_value();
}
// Each command gets its dialogs made afresh, with the scale and language the
// configuration has now.
DocumentationDialogs& WindowDialogs::documentation() {
    m_documentation = std::make_unique<QtDocumentationDialogs>(&m_window, &m_window.prompter(), environmentOf(m_window));
    return *m_documentation;
}
ExplanationView& WindowDialogs::explanation() {
    m_explanation = std::make_unique<QtExplanationView>(&m_window, environmentOf(m_window));
    return *m_explanation;
}
OverviewWindow& WindowDialogs::overview() {
    Thh& window = m_window;
    m_overview = std::make_unique<QtOverviewWindow>(
        &window, editorLook(window.state(), &window), [&window] { window.projectOpenedFromTable(); },
        [&window](int number) { window.prompter().showHelp(number, false); });
    return *m_overview;
}
ImportPreview& WindowDialogs::importPreview() {
    m_importPreview = std::make_unique<QtImportPreview>(&m_window, editorLook(m_window.state(), &m_window), m_window.state().texts,
                                                        m_window.state().config.language);
    return *m_importPreview;
}
void WindowDialogs::showTextScreen(std::string_view title, const std::vector<std::string>& lines) {
    Thh& window = m_window;
    zam1::showTextScreen(&window, title, lines, [&window](int number) { window.prompter().showHelp(number, false); });
}

} // namespace zam1
