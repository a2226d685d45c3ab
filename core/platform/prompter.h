#pragma once
// The one way the core asks the user something or tells him something. Texts go
// in and come out in the stored (OEM) code page; an implementation converts them
// for display. Every ask returns false when the user cancelled; the caller then
// sets the error flag and leaves the value alone.

#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

enum class Answer { Yes, No, Cancel };

struct FileChoice {
    std::string title;
    std::string filter;            // e.g. "ZAM1 (*.zm1)"
    std::string folder;            // initial folder
    std::string defaultExtension;  // without the dot
    // The caller asks its own overwrite question afterwards, so the dialog must
    // not ask as well.
    bool callerAsksOverwrite = false;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A choice among lines[0..n-1]; `choice` is 1-based in and out. A choice of 0
    // or above n is taken as 1 before the prompt opens.
    virtual bool askChoice(std::string_view prompt, const std::vector<std::string>& lines, int& choice) = 0;
    virtual bool askText(std::string_view prompt, std::size_t maxLength, std::string& text) = 0;
    virtual bool askYesNo(std::string_view prompt, bool& value) = 0;
    virtual Answer askYesNoCancel(std::string_view question) = 0;
    virtual void showError(std::string_view text) = 0;
    virtual void showNote(std::string_view text) = 0;
    virtual bool chooseOpenFile(const FileChoice& choice, std::string& path) = 0;
    virtual bool chooseSaveFile(const FileChoice& choice, std::string& path) = 0;
    // The output device of a report or drawing run; `device` is 1-based in and out.
    virtual bool chooseDevice(std::string_view title, const std::vector<std::string>& devices, int& device) = 0;
    // A folder; `folder` (file-system text) is where the dialog starts and what it
    // gives back. Without a window there is nobody to choose one.
    virtual bool chooseFolder(std::string_view title, std::string& folder) {
        (void)title;
        (void)folder;
        return false;
    }
    // The help number that the next prompts' help buttons and F1 open (0: the
    // manual's contents). Without a window there is no help to open.
    virtual void setHelpContext(int helpContext) { (void)helpContext; }
    virtual int helpContext() const { return 0; }
    // A passing status text ("Ausdruck erfolgt  -   bitte warten ..."); no answer.
    virtual void showStatus(std::string_view text) { (void)text; }
    virtual void beep() {}
};

// The help number of the prompts asked while it lives; the one before comes back after.
class PromptHelp {
public:
    PromptHelp(Prompter& prompter, int helpContext) : m_prompter(prompter), m_before(prompter.helpContext()) {
        prompter.setHelpContext(helpContext);
    }
    ~PromptHelp() { m_prompter.setHelpContext(m_before); }
    PromptHelp(const PromptHelp&) = delete;
    PromptHelp& operator=(const PromptHelp&) = delete;

private:
    Prompter& m_prompter;
    int m_before;
};

// The integer and number prompts: a text prompt in a loop that answers invalid
// input and values out of range with a beep and an error, and asks again with
// the text typed, so that a typo is mended rather than typed anew. Limits
// given the wrong way round are swapped. False when cancelled (value unchanged).
bool askInteger(Prompter& prompter, std::string_view prompt, long long& value, long long lower, long long upper);
bool askNumber(Prompter& prompter, std::string_view prompt, long double& value, long double lower,
               long double upper);

} // namespace zam1
