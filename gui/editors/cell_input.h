#pragma once
// What the chain editors' input fields share beyond the editor dialogs' common
// helpers: typed text back into the stored code page at a field's capacity, the
// number validators, named buttons and the help buttons' answer.

#include <QString>

#include <string>

class QObject;
class QPushButton;
class QValidator;
class QWidget;

namespace zam1 {

struct ProgramState;

// What the user typed, in the stored code page, cut to `capacity` characters.
std::string qtToOem(const QString& text, std::size_t capacity = 255);

// A push button with its object name; never a default button unless asked.
QPushButton* namedButton(QWidget* parent, const char* name, const QString& caption);

// A number as the program reads it: optional sign, digits, "." or "," once.
// A regular expression, not the locale's number validator, so "." works under de_DE.
QValidator* numberValidator(QObject* parent);
// An element number: up to 4 digits.
QValidator* elementNumberValidator(QObject* parent);

// No help files come with this build: the help buttons say which text they would show.
void showHelpNumber(ProgramState& state, int number, bool picture = false);

} // namespace zam1
