#pragma once
// After a calculation: the note that all went well, or the loop over the
// collected messages in which the user reads, and may correct, the cause and
// remedy of each. The explanation dialog is a port, so that the loop runs and
// is tested without a window.

#include <string>
#include <string_view>

namespace zam1 {

class ErrorFlag;
class MessageList;
class Prompter;
struct MainTexts;

// What the explanation dialog gives back however it was closed: the two texts as
// they are then, whether the user changed either, and whether it was cancelled.
struct ExplanationEdit {
    std::string cause;
    std::string remedy;
    bool changed = false;
    bool cancelled = false;
};

class ExplanationView {
public:
    virtual ~ExplanationView() = default;
    // Shows the message with its cause and remedy (stored code page) until the
    // user closes the dialog.
    virtual ExplanationEdit show(std::string_view message, std::string_view cause, std::string_view remedy) = 0;
};

struct MessageDisplay {
    const MainTexts& texts;
    Prompter& prompter;
    ExplanationView& view;
    ErrorFlag& error;
    std::string messageFolder;  // where zam1.err lies (the help-picture folder)
    std::string tempFolder;     // where a rewritten message file is put together
    int helpLevel = 1;          // below 2 the loop starts on "Weiter/zurück..."
    bool noGui = false;         // "/NOGUI": nothing is shown
};

// The note "Berechnung erfolgreich ohne Fehlermeldungen", or the choice loop over
// the messages: each chosen message is explained, then the next one is offered,
// until "Weiter/zurück..." is chosen, the last message was explained or the user
// cancels.
void showCalculationMessages(const MessageList& messages, const MessageDisplay& display);

// Message `index` (0-based) in the explanation dialog, or the note that the file
// has no entry for it. Edited texts are saved after "Save Changes ?", however the
// dialog was closed. False when cancelled or the file could not be read.
bool explainMessage(const MessageList& messages, int index, const MessageDisplay& display);

} // namespace zam1
