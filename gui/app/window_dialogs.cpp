#include "gui/app/window_dialogs.h"

#include "core/app/documentation_commands.h"
#include "core/app/view_commands.h"
#include "core/messages/message_display.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "gui/app/main_window.h"
#include "core/app/spreadsheet_commands.h"
#include "core/app/table_commands.h"
#include "gui/editors/closing_dimension_dialogs.h"
#include "gui/editors/dialog_geometry.h"
#include "gui/editors/exchange_dialogs.h"
#include "gui/editors/monte_carlo_dialog.h"
#include "gui/editors/project_text_dialog.h"
#include "gui/editors/text_screen.h"

namespace zam1 {
namespace {

// Until the dialogs of a kind are in place, they say so and change nothing.
void notYet(ProgramState& state) {
    state.prompter->showNote(utf8ToOem("Dieser Dialog ist noch nicht verfügbar."));
    state.error.set();
}

class PendingDocumentationDialogs final : public DocumentationDialogs {
public:
    explicit PendingDocumentationDialogs(ProgramState& state) : m_state(state) {}
    std::optional<ChangeForm> editChange(int, const ChangeForm&, std::string_view) override {
        notYet(m_state);
        return std::nullopt;
    }
    std::optional<DrawingInfoForm> editDrawingInfo(const DrawingInfoForm&, std::string_view, std::string_view) override {
        notYet(m_state);
        return std::nullopt;
    }
    std::optional<std::array<DocumentSlotForm, kDocumentSlots>> editDocumentSlots(
        const std::array<DocumentSlotForm, kDocumentSlots>&) override {
        notYet(m_state);
        return std::nullopt;
    }

private:
    ProgramState& m_state;
};

class PendingExplanationView final : public ExplanationView {
public:
    explicit PendingExplanationView(ProgramState& state) : m_state(state) {}
    ExplanationEdit show(std::string_view, std::string_view cause, std::string_view remedy) override {
        notYet(m_state);
        return {std::string(cause), std::string(remedy), false, true};
    }

private:
    ProgramState& m_state;
};

// The configured scale of the input windows, centred over the main window.
DialogLook lookOf(Thh& window) {
    DialogLook look;
    look.sizePercent = look.fontPercent = window.state().config.inputWindowScale;
    look.centreOver = &window;
    return look;
}

} // namespace

WindowDialogs::WindowDialogs(Thh& window)
    : m_window(window),
      m_documentation(std::make_unique<PendingDocumentationDialogs>(window.state())),
      m_explanation(std::make_unique<PendingExplanationView>(window.state())),
      m_overview(std::make_unique<QtOverviewWindow>(
          &window, lookOf(window), [&window] { window.projectOpenedFromTable(); },
          [&window](int number) { window.prompter().showHelp(number, false); })),
      m_importPreview(std::make_unique<QtImportPreview>(&window, lookOf(window), window.state().texts,
                                                         window.state().config.language)) {}

WindowDialogs::~WindowDialogs() = default;

bool WindowDialogs::editProjectText() { return zam1::editProjectText(m_window.state(), &m_window); }
bool WindowDialogs::editElementTable() {
    notYet(m_window.state());
    return false;
}
bool WindowDialogs::editClosingDimensions() { return zam1::editClosingDimensions(m_window.state(), &m_window); }
bool WindowDialogs::editMonteCarlo(int& closing) {
    return editMonteCarloSettings(m_window.state(), &m_window, closing);
}
bool WindowDialogs::editSettings() {
    notYet(m_window.state());
    return false;
}
DocumentationDialogs& WindowDialogs::documentation() { return *m_documentation; }
ExplanationView& WindowDialogs::explanation() { return *m_explanation; }
OverviewWindow& WindowDialogs::overview() { return *m_overview; }
ImportPreview& WindowDialogs::importPreview() { return *m_importPreview; }
void WindowDialogs::showTextScreen(std::string_view title, const std::vector<std::string>& lines) {
    zam1::showTextScreen(&m_window, title, lines);
}

} // namespace zam1
