#pragma once
// What the chain editors' input fields share beyond the editor dialogs' common
// helpers: typed text back into the stored code page at a field's capacity and
// the help buttons' answer. Number fields take every character:
// a validator that drops the ones it does not like turns "1O.5" into 1.5; what
// was typed is read when it is taken over and refused there with a message.

#include <QString>

#include <string>


namespace zam1 {

struct ProgramState;

// What the user typed, in the stored code page, cut to `capacity` characters.
std::string qtToOem(const QString& text, std::size_t capacity = 255);

// No help files come with this build: the help buttons say which text they would show.
void showHelpNumber(ProgramState& state, int number, bool picture = false);

} // namespace zam1
