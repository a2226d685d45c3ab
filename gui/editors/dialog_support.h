#pragma once
// What the program's own dialogs share: the conversion of the stored (OEM) code
// page to what the user sees and back, the row of OK / Abbrechen / help buttons,
// and the help callback the window hands in.

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

#include "gui/editors/dialog_geometry.h"

namespace zam1 {

QString fromOem(std::string_view oem);
std::string toOem(const QString& text);

// Shows help text `helpContext`; an empty function disables the help buttons.
using HelpFunction = std::function<void(int helpContext)>;

// How the window wants its dialogs: scaled, centred, with help.
struct DialogEnvironment {
    DialogLook look;
    HelpFunction help;
};

// A push button named `name` added to `row`; never the default button unless asked.
QPushButton* addButton(QDialog& dialog, QHBoxLayout* row, const char* name, const QString& caption);

// OK (default, accepts), "Abbrechen" (rejects) and a help button for `helpContext`,
// right-aligned in a new row; F1 in the dialog opens the same help.
QHBoxLayout* okCancelHelpRow(QDialog& dialog, const HelpFunction& help, int helpContext,
                             const QString& helpCaption = QStringLiteral("&Hilfe"));

} // namespace zam1
