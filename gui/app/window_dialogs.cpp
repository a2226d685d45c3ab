#include "gui/app/window_dialogs.h"

#include "core/app/documentation_commands.h"
#include "core/app/view_commands.h"
#include "core/messages/message_display.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "gui/app/main_window.h"
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

} // namespace

WindowDialogs::WindowDialogs(Thh& window)
    : m_window(window),
      m_documentation(std::make_unique<PendingDocumentationDialogs>(window.state())),
      m_explanation(std::make_unique<PendingExplanationView>(window.state())) {}

WindowDialogs::~WindowDialogs() = default;

bool WindowDialogs::editProjectText() {
    notYet(m_window.state());
    return false;
}
bool WindowDialogs::editElementTable() {
    notYet(m_window.state());
    return false;
}
bool WindowDialogs::editClosingDimensions() {
    notYet(m_window.state());
    return false;
}
bool WindowDialogs::editMonteCarlo(int& closing) {
    return chooseClosingDimension(m_window.state(), closing);
}
bool WindowDialogs::editSettings() {
    notYet(m_window.state());
    return false;
}
DocumentationDialogs& WindowDialogs::documentation() { return *m_documentation; }
ExplanationView& WindowDialogs::explanation() { return *m_explanation; }
void WindowDialogs::showOverview(const std::function<void()>&) { notYet(m_window.state()); }
void WindowDialogs::showTextScreen(std::string_view title, const std::vector<std::string>& lines) {
    zam1::showTextScreen(&m_window, title, lines);
}

} // namespace zam1
