#pragma once
// What the chain editors' dialogs share: the code-page conversion at the window's
// edge, the look of a dialog from the configuration, buttons by object name, the
// number validator and the help buttons' answer.

#include <QString>

#include <string>
#include <string_view>

#include "gui/editors/dialog_geometry.h"

class QPushButton;
class QValidator;
class QWidget;
class QObject;

namespace zam1 {

struct ProgramState;

QString oemToQt(std::string_view oem);
// What the user typed, in the stored code page, cut to `capacity` characters.
std::string qtToOem(const QString& text, std::size_t capacity = 255);

DialogLook editorLook(const ProgramState& state, QWidget* parent);

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
