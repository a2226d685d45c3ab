#include "core/app/documentation_commands.h"

#include "core/app/report_setup.h"
#include "core/config/program_start.h"
#include "core/lang/language.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/prompter.h"
#include "core/report/change_listing.h"
#include "core/report/output_channel.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

void listChanges(ProgramState& state, bool onScreen) {
    CommandChannel channel(state);
    OutputChannel& out = channel.out;
    if (onScreen) {
        showChanges(state.documentation, out);
    } else {
        printChanges(state.documentation, out);
    }
}

} // namespace

void showChangeListing(ProgramState& state) {
    state.error.clear();
    listChanges(state, true);
}

void printChangeListing(ProgramState& state) {
    state.error.clear();
    listChanges(state, false);
}

bool newChange(ProgramState& state, DocumentationDialogs& dialogs) {
    state.error.clear();
    Documentation& docs = state.documentation;
    const std::string date = todayText(state);
    const int number = appendChange(docs, date);
    if (number == 0) {
        state.prompter->showError(state.texts.main.maxChanges + intText(kMaxChanges) + " !");
        state.error.set();
        return false;
    }
    ChangeRecord& record = docs.changes[static_cast<std::size_t>(number - 1)];
    const std::optional<ChangeForm> form = dialogs.editChange(number, changeFormOf(record), date);
    if (!form) {
        // A cancelled new change leaves no half-made record behind.
        dropLastChange(docs);
        state.error.set();
        return false;
    }
    storeChangeForm(record, *form);
    listChanges(state, true);
    return true;
}

bool modifyChange(ProgramState& state, DocumentationDialogs& dialogs) {
    state.error.clear();
    Documentation& docs = state.documentation;
    if (docs.changeCount == 0) return false;
    ChangeRecord& record = docs.changes[static_cast<std::size_t>(docs.changeCount - 1)];
    const std::optional<ChangeForm> form = dialogs.editChange(docs.changeCount, changeFormOf(record), todayText(state));
    if (!form) {
        state.error.set();
        return false;
    }
    storeChangeForm(record, *form);
    listChanges(state, true);
    return true;
}

bool deleteChange(ProgramState& state) {
    state.error.clear();
    const bool removed = removeLastChange(state.documentation);
    listChanges(state, true);
    return removed;
}

bool editDrawingInfo(ProgramState& state, DocumentationDialogs& dialogs) {
    state.error.clear();
    DrawingInfo& info = state.documentation.drawing;
    const std::optional<DrawingInfoForm> form =
        dialogs.editDrawingInfo(drawingInfoFormOf(info), state.config.approvalText, todayText(state));
    if (!form) {
        state.error.set();
        return false;
    }
    storeDrawingInfoForm(info, *form);
    return true;
}

bool editDocumentSetup(ProgramState& state, DocumentationDialogs& dialogs) {
    state.error.clear();
    const auto forms = dialogs.editDocumentSlots(documentSlotFormsOf(state.documentation));
    if (!forms) {
        state.error.set();
        return false;
    }
    storeDocumentSlotForms(state.documentation, *forms);
    return true;
}

bool openDocument(ProgramState& state, int slot) {
    state.error.clear();
    const DocumentLaunch launch = documentLaunch(state.documentation, slot);
    if (launch.program.empty() || !state.desktop->startProgram(launch.program, launch.arguments)) {
        // Said, not silently dropped: the user waits for a document that will not come.
        state.prompter->showError(programStartFailure(state.texts.main, launch.program, launch.arguments));
        state.error.set();
        return false;
    }
    return true;
}

} // namespace zam1
