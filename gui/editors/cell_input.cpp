#include "gui/editors/cell_input.h"

#include <QPushButton>

#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {

std::string qtToOem(const QString& text, std::size_t capacity) { return storedText(text.toStdString(), capacity); }

void showHelpNumber(ProgramState& state, int number, bool picture) {
    if (!state.prompter) return;
    state.prompter->showNote(std::string(picture ? "Hilfebild " : "Hilfetext ") + intText(number) +
                             " ist nicht installiert.");
}

} // namespace zam1
