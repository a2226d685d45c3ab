#pragma once
// The dialog kit: what the program's own dialogs share. The conversion of the
// stored (OEM) code page to what the user sees and back, the configured look,
// the row of OK / Abbrechen / help buttons in the program's language, the help
// callback the window hands in, and the choice of a closing dimension.
//
// A dialog takes the form it shows and its environment and gives back the
// edited form after OK, nothing after Abbrechen. It changes nothing else; the
// caller takes the answer over (core/editors/dialog_answer.h) by the rules of
// core/editors.

#include <QDialog>
#include <QBoxLayout>
#include <QHBoxLayout>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "gui/editors/dialog_geometry.h"

namespace zam1 {

class Chain;
class Prompter;
struct ProgramState;

QString fromOem(std::string_view oem);
std::string toOem(const QString& text);

// The captions of the buttons every dialog has, in the program's language
// (the language index of the configuration; German where it has no words).
struct ButtonWords {
    QString ok = QStringLiteral("OK");
    QString cancel = QStringLiteral("Abbrechen");
    QString help = QStringLiteral("&Hilfe");
    QString helpText = QStringLiteral("&Hilfetext");
    QString helpPicture = QStringLiteral("Hilfe&bild");
};
ButtonWords buttonWords(int language);

// Shows help text `helpContext`; an empty function disables the help buttons.
using HelpFunction = std::function<void(int helpContext)>;

// How the window wants its dialogs: scaled, centred, with help.
struct DialogEnvironment {
    DialogLook look;
    HelpFunction help{};
    ButtonWords words;
    // Says what the dialog's own checks find (a field that does not read); none:
    // the dialog stays open without a word.
    Prompter* prompter = nullptr;
    QPointer<QWidget> parent{};
    // The language index of the configuration (German where it has no words).
    int language = 1;
};
// The environment of the program's state: the configured scale centred over
// `parent`'s window, the manual in the configured language, its button words
// and its prompter.
DialogEnvironment dialogEnvironment(const ProgramState& state, QWidget* parent);

// A push button named `name` of `parent`; never the default button by
// accident: only OK takes Enter.
QPushButton* namedButton(QWidget* parent, const char* name, const QString& caption);
// The same, added to `row`.
QPushButton* addButton(QWidget& dialog, QBoxLayout& row, const char* name, const QString& caption);

// The row every dialog ends with: OK (the default button), cancel (rejects) and a
// help button, right-aligned; a dialog's own buttons go in front of them.
struct ButtonRow {
    QHBoxLayout* layout = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;  // null without one
};
struct ButtonRowOptions {
    // What OK does; without it OK accepts the dialog.
    std::function<void()> onOk{};
    // The help button and F1 open help `helpContext` ("&Hilfe", or "&Hilfetext"
    // when `helpText`). A context below 0 leaves the button to the caller, who
    // installs its help (its number changes while the dialog is open).
    bool helpButton = true;
    int helpContext = -1;
    HelpFunction help{};
    bool helpText = false;
};
ButtonRow buttonRow(QDialog& dialog, const ButtonWords& words, const ButtonRowOptions& options);

// The configured input window scale, centred over the window `parent` belongs to.
DialogLook editorLook(const ProgramState& state, QWidget* parent);

// A choice among the values of an enumeration, each shown by its caption (UTF-8)
// and carrying its value; `current` chosen, else the first.
template <class Enum, std::size_t N>
QComboBox* enumChoice(QWidget& dialog, const char* name, const std::array<std::pair<Enum, const char*>, N>& captions,
                      Enum current);

// An empty choice named `name` of `dialog`.
QComboBox* namedChoice(QWidget& dialog, const char* name);

// The choice of one of the chain's closing dimensions, as the closing-dimension
// list shows them, `closing` (counted from 1) chosen.
QComboBox* closingChoice(QWidget& dialog, const Chain& chain, int closing);

template <class Enum, std::size_t N>
QComboBox* enumChoice(QWidget& dialog, const char* name, const std::array<std::pair<Enum, const char*>, N>& captions,
                      Enum current) {
    QComboBox* choice = namedChoice(dialog, name);
    for (const auto& [value, caption] : captions) choice->addItem(QString::fromUtf8(caption), static_cast<int>(value));
    choice->setCurrentIndex(std::max(0, choice->findData(static_cast<int>(current))));
    return choice;
}

} // namespace zam1
