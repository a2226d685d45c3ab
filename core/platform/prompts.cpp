#include "core/platform/prompter.h"

#include <utility>

#include "core/text/number_format.h"

namespace zam1 {
namespace {

std::string invalidInput(std::string_view text) {
    std::string message = "Ung\x81ltige Eingabe \"";  // "Ungültige" in the stored code page
    message += text;
    message += "\" !";
    return message;
}

} // namespace

bool askInteger(Prompter& prompter, std::string_view prompt, long long& value, long long lower, long long upper) {
    if (lower > upper) std::swap(lower, upper);
    std::string text = intText(value);
    for (;;) {
        if (!prompter.askText(prompt, 12, text)) return false;
        long long entered = 0;
        if (!parseInteger(text, entered)) {
            prompter.beep();
            prompter.showError(invalidInput(text));
            continue;  // the value stays; the typo stays in the field to be mended
        }
        if (entered < lower || entered > upper) {
            prompter.beep();
            prompter.showError("G\x81ltiger Wertebereich: " + intText(lower) + " .. " + intText(upper) + " !");
            text = intText(entered);
            continue;
        }
        value = entered;
        return true;
    }
}

bool askNumber(Prompter& prompter, std::string_view prompt, long double& value, long double lower,
               long double upper) {
    if (lower > upper) std::swap(lower, upper);
    const std::string shown = autoNumber(value);
    std::string text = shown;
    for (;;) {
        if (!prompter.askText(prompt, 30, text)) return false;
        long double entered = value;
        // An unchanged text keeps the exact previous value, not its rounded display.
        if (text != shown && !parseNumber(text, entered)) {
            prompter.beep();
            prompter.showError(invalidInput(text));
            continue;  // the value stays; the typo stays in the field to be mended
        }
        if (entered < lower || entered > upper) {
            prompter.beep();
            prompter.showError("G\x81ltiger Wertebereich: " + autoNumber(lower) + " .. " + autoNumber(upper) + " !");
            continue;
        }
        value = entered;
        return true;
    }
}

} // namespace zam1
