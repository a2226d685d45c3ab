#pragma once
// A workbench without a window for the menu tests: a real graphics window state,
// editors that do what the test scripts, and a log of what was asked of it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/documentation_commands.h"
#include "core/app/spreadsheet_commands.h"
#include "core/app/table_commands.h"
#include "core/app/workbench.h"
#include "core/files/overview.h"
#include "core/graphics/graphics_window.h"
#include "core/messages/message_display.h"
#include "core/session/program_state.h"

namespace zam1::test {

class ScriptedWorkbench final : public Workbench,
                                public DocumentationDialogs,
                                public ExplanationView,
                                public OverviewWindow,
                                public ImportPreview {
public:
    explicit ScriptedWorkbench(ProgramState& state) : m_state(state), m_graphics(WindowSettings{}, state.error) {}

    // What an editor does when it is opened; none: it is cancelled (error flag set).
    using Editor = std::function<bool(ProgramState&)>;
    Editor projectText, elementTable, closingDimensions, settings, allocation;

    std::vector<std::string> log;
    bool acceptImport = false;  // what the import preview answers

    GraphicsWindow& graphics() override { return m_graphics; }
    bool editProjectText() override { return run("text", projectText); }
    bool editElementTable() override { return run("elements", elementTable); }
    bool editClosingDimensions() override { return run("closing", closingDimensions); }
    bool editMonteCarlo(int& closing) override {
        log.push_back("montecarlo " + std::to_string(closing));
        m_state.error.set();
        return false;
    }
    bool allocateTolerances(int& closing) override {
        return run("allocation " + std::to_string(closing), allocation);
    }
    bool editSettings() override { return run("settings", settings); }
    DocumentationDialogs& documentationDialogs() override { return *this; }
    ExplanationView& explanationView() override { return *this; }
    OverviewWindow& overviewWindow() override { return *this; }
    ImportPreview& importPreview() override { return *this; }
    // The table is closed without a choice; an import preview answers acceptImport.
    Action show(const std::string&, std::vector<OverviewRow>& rows, int&) override {
        log.push_back("table " + std::to_string(rows.size()));
        return Action::Close;
    }
    void projectOpened() override { log.push_back("opened"); }
    bool confirmImport(const std::string& file, const ElementTableChanges&) override {
        log.push_back("preview " + file);
        return acceptImport;
    }
    void closeWindow() override { log.push_back("close"); }
    void printLastOutput() override { log.push_back("print"); }
    void showHelp(int number) override { log.push_back("help " + std::to_string(number)); }
    void showTextScreen(std::string_view title, const std::vector<std::string>& lines) override {
        log.push_back("screen " + std::string(title) + " (" + std::to_string(lines.size()) + ")");
    }

    std::optional<ChangeForm> editChange(int, const ChangeForm&, std::string_view) override { return cancelled("change"); }
    std::optional<DrawingInfoForm> editDrawingInfo(const DrawingInfoForm&, std::string_view, std::string_view) override {
        log.push_back("drawing info");
        return std::nullopt;
    }
    std::optional<std::array<DocumentSlotForm, kDocumentSlots>> editDocumentSlots(
        const std::array<DocumentSlotForm, kDocumentSlots>&) override {
        log.push_back("documents");
        return std::nullopt;
    }
    ExplanationEdit show(std::string_view message, std::string_view cause, std::string_view remedy) override {
        log.push_back("explain " + std::string(message));
        return {std::string(cause), std::string(remedy), false, true};
    }

private:
    bool run(const std::string& name, const Editor& editor) {
        log.push_back(name);
        if (!editor) {
            m_state.error.set();
            return false;
        }
        return editor(m_state);
    }
    std::nullopt_t cancelled(const std::string& name) {
        log.push_back(name);
        return std::nullopt;
    }

    ProgramState& m_state;
    GraphicsWindow m_graphics;
};

} // namespace zam1::test
