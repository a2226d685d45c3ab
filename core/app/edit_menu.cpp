// The Edit menu: Undo and Redo, the guided input and the editors of the project
// text, the element table, the closing dimensions, sigma and the decimals.
#include "core/app/file_commands.h"
#include "core/app/menu_rows.h"
#include "core/app/view_commands.h"
#include "core/app/workbench.h"
#include "core/files/working_copy.h"
#include "core/graphics/diagram_run.h"
#include "core/model/input_limits.h"
#include "core/platform/prompter.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

// The manual's sections of the two prompts of this menu.
constexpr int kHelpProductionSigma = 5100;
constexpr int kHelpDecimals = 5150;

// The element table; the project counts as changed when the chain then has elements.
bool editElementTable(MenuContext& c) {
    c.state.error.clear();
    const bool changed = c.bench.editElementTable();
    if (c.state.error.isSet()) return changed;
    viewOverallGraphic(c);
    return changed || c.state.chain.elementCount() > 0;
}

// The production factor sigma, 0 to 10.
bool editSigma(MenuContext& c) {
    ProgramState& state = c.state;
    state.error.clear();
    long double sigma = state.chain.productionSigma;
    const PromptHelp help(*state.prompter, kHelpProductionSigma);
    // Between 0 and 0.01 sigma would divide every standard deviation by next to nothing.
    while (askNumber(*state.prompter, state.texts.report.productionSigma, sigma, 0, kMaxProductionSigma)) {
        if (productionSigmaUsable(sigma)) {
            state.chain.productionSigma = sigma;
            return true;
        }
        state.prompter->showError(state.texts.main.validRange + "0, " + autoNumber(kMinProductionSigma) + " .. " +
                                  autoNumber(kMaxProductionSigma) + " !");
        // asked again with the value typed, as for any value out of range
    }
    state.error.set();
    return false;
}

// The decimals of the element table, 2 to 6.
bool editDecimals(MenuContext& c) {
    ProgramState& state = c.state;
    state.error.clear();
    long long decimals = state.chain.decimals;
    const PromptHelp help(*state.prompter, kHelpDecimals);
    if (!askInteger(*state.prompter, state.texts.main.decimalsTitle, decimals, 2, 6)) {
        state.error.set();
        return false;
    }
    const bool changed = decimals != state.chain.decimals;
    state.chain.decimals = static_cast<int>(decimals);
    return changed;
}

// Quick: the project text, the element table, the overall graphic, the closing
// dimensions and sigma in a row; an error stops it where it happened.
bool guidedInput(MenuContext& c) {
    ProgramState& state = c.state;
    state.error.clear();
    // Each step is in the working copy as soon as it is done: a crash in the
    // middle of the guided input keeps what was typed so far.
    const auto stepDone = [&state](bool changed) {
        if (!changed) return;
        state.file.modified = true;
        writeWorkingCopy(state);
    };
    bool changed = c.bench.editProjectText();
    stepDone(changed);
    if (state.error.isSet()) return changed;
    changed = c.bench.editElementTable() || changed || state.chain.elementCount() > 0;
    stepDone(changed);
    if (state.error.isSet()) return changed;
    // The overall graphic follows a closing dimension: a new project has none
    // yet, and an error box in the middle of the guided input would only be in the way.
    if (state.chain.closingCount() > 0) viewOverallGraphic(c);
    state.error.clear();
    changed = c.bench.editClosingDimensions() || changed;
    stepDone(changed);
    if (!state.error.isSet()) changed = editSigma(c) || changed;
    stepDone(changed);
    state.error.clear();
    showResult(c);
    return true;
}

// The picture follows the project it went back or forward to: one of the state
// left behind would show numbers the project no longer has.
bool undo(MenuContext& c) {
    if (!c.undo.undo(c.state)) return false;
    showResult(c);
    return true;
}

bool redo(MenuContext& c) {
    if (!c.undo.redo(c.state)) return false;
    showResult(c);
    return true;
}

} // namespace

bool newProject(MenuContext& c) {
    if (fileNew(c.state) == AfterNew::Cancelled) return false;
    writeWorkingCopy(c.state);
    c.undo.clear();
    c.closing = 1;
    guidedInput(c);
    return true;
}

MenuSection editMenu() {
    using T = CommonMenuTexts;
    return {"mi_edit", commonCaption<&T::editMenu>, {
        {.objectName = "mi_editUndo", .caption = commonCaption<&T::undo>, .shortcut = "Ctrl+Z", .run = undo,
         .effect = MenuEffect::UndoStep, .enabled = [](const MenuContext& c) { return c.undo.canUndo(); }},
        {.objectName = "mi_editRedo", .caption = commonCaption<&T::redo>, .shortcut = "Ctrl+Shift+Z", .run = redo,
         .effect = MenuEffect::UndoStep, .enabled = [](const MenuContext& c) { return c.undo.canRedo(); }},
        separator(),
        {.objectName = "mi_EditQuick", .caption = commonCaption<&T::editQuick>, .run = guidedInput,
         .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_EditText", .caption = commonCaption<&T::editText>,
         .run = [](MenuContext& c) {
             c.state.error.clear();
             return c.bench.editProjectText();
         },
         .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_editelementetabelle", .caption = commonCaption<&T::editElements>, .run = editElementTable,
         .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_editschliessmasse", .caption = commonCaption<&T::editClosing>,
         .run = [](MenuContext& c) {
             c.state.error.clear();
             return c.bench.editClosingDimensions();
         },
         .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_editsigma", .caption = commonCaption<&T::editSigma>, .run = editSigma,
         .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_editeinstellungen", .caption = commonCaption<&T::editDecimals>, .run = editDecimals,
         .effect = MenuEffect::ChangesProject},
    }};
}

} // namespace zam1
