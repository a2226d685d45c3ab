#pragma once
// What the window shows after New, Quick, a recent file or a project chosen in
// the overview: the error-messages entry with the number of calculation
// messages, and the result graphic the settings ask for.

#include <string>

namespace zam1 {

struct LanguageTexts;
struct ProgramState;

// The error-messages entry of the View menu: its text + " (" + count + ")",
// enabled only when there are messages.
struct ErrorMessagesEntry {
    std::string caption;  // UTF-8, converted from the menu table's code page
    bool enabled = false;
};
ErrorMessagesEntry errorMessagesEntry(const LanguageTexts& texts, int messageCount);

enum class ResultGraphic { None, OverallGraphic, ProjectDrawing };

// Nothing after an error or with help level 0; the project drawing for the
// settings "Fertigungszeichnung" (3) and "Zeichnung" (5); otherwise the overall
// graphic.
ResultGraphic resultGraphic(const ProgramState& state);

} // namespace zam1
