#include "core/messages/message_display.h"

#include <vector>

#include "core/lang/language.h"
#include "core/messages/message_file.h"
#include "core/model/records.h"
#include "core/platform/error_flag.h"
#include "core/platform/file_messages.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

constexpr std::size_t kChoiceWidth = 65;

} // namespace

bool explainMessage(const MessageList& messages, int index, const MessageDisplay& display) {
    if (index < 0 || index >= messages.count()) return false;
    const std::string path = messageFilePath(display.messageFolder);
    const MessageFile file(path);
    if (!file.exists()) {
        display.prompter.showError(openForReadingText(utf8ToOem(path)));
        display.error.set();
        return false;
    }
    const std::string_view message = messages.at(index);
    if (file.findKey(message) < 0) {
        display.prompter.showNote(display.texts.noDescription);
        return true;
    }
    const MessageExplanation e = file.explain(message, display.texts.noDescription);
    const ExplanationEdit edit = display.view.show(message, e.cause, e.remedy);
    // Edits are offered for saving whichever way the dialog was left: closing it
    // must not lose what the user wrote without a word.
    if (edit.changed) {
        bool save = false;
        if (display.prompter.askYesNo(display.texts.saveChanges, save) && save) {
            saveExplanation(display.messageFolder, display.tempFolder, message, edit.cause, edit.remedy,
                            display.prompter, display.error);
        }
    }
    return !edit.cancelled;
}

void showCalculationMessages(const MessageList& messages, const MessageDisplay& display) {
    if (display.noGui) return;
    if (messages.empty()) {
        display.prompter.showNote(display.texts.calculationClean);
        return;
    }
    const int n = messages.count();
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i < n; ++i) items.emplace_back(messages.at(i).substr(0, kChoiceWidth));
    items.push_back(display.texts.continueBack);
    int selection = display.helpLevel < 2 ? n + 1 : 1;
    for (;;) {
        int choice = selection;
        if (!display.prompter.askChoice(display.texts.calculationWarnings, items, choice)) return;
        if (choice < 1 || choice > n) return;
        if (!explainMessage(messages, choice - 1, display)) return;
        selection = choice + 1;
        if (selection > n) return;
    }
}

} // namespace zam1
