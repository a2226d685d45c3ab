#pragma once
// A prompter for tests: answers come from a queue, every prompt and message is
// logged in UTF-8 so a test can assert the exact text the user saw. A prompt the
// script did not expect, and answers left over at the end, are failures; they go
// to the failure handler (tests hook their own; the default throws).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/platform/prompter.h"

namespace zam1 {

class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Choice, Text, YesNo, YesNoCancel, OpenFile, SaveFile, Device, Folder };

    using FailureHandler = std::function<void(const std::string&)>;
    explicit ScriptedPrompter(FailureHandler onFailure = {});
    ~ScriptedPrompter() override;

    // Queue answers; texts and paths in UTF-8.
    ScriptedPrompter& choose(int choice);
    ScriptedPrompter& type(std::string_view utf8);
    ScriptedPrompter& yesNo(bool yes);
    ScriptedPrompter& answer(Answer a);
    ScriptedPrompter& openFile(std::string path);
    ScriptedPrompter& saveFile(std::string path);
    ScriptedPrompter& device(int device);
    ScriptedPrompter& folder(std::string path);
    ScriptedPrompter& cancel(Kind kind);

    bool askChoice(std::string_view prompt, const std::vector<std::string>& lines, int& choice) override;
    bool askText(std::string_view prompt, std::size_t maxLength, std::string& text) override;
    bool askYesNo(std::string_view prompt, bool& value) override;
    Answer askYesNoCancel(std::string_view question) override;
    void showError(std::string_view text) override;
    void showNote(std::string_view text) override;
    bool chooseOpenFile(const FileChoice& choice, std::string& path) override;
    bool chooseSaveFile(const FileChoice& choice, std::string& path) override;
    bool chooseDevice(std::string_view title, const std::vector<std::string>& devices, int& device) override;
    bool chooseFolder(std::string_view title, std::string& folder) override;
    void showStatus(std::string_view text) override;
    void beep() override;

    // "choice: ...", "text: ...", "yesno: ...", "question: ...", "error: ...",
    // "note: ...", "open: ...", "save: ...", "device: ...", "folder: ...", "status: ...", "beep".
    const std::vector<std::string>& log() const { return m_log; }
    // The folder each file dialog was to start in.
    const std::vector<std::string>& offeredFolders() const { return m_folders; }
    // The choice each choice prompt had selected when it opened.
    const std::vector<int>& offeredChoices() const { return m_offered; }
    std::vector<std::string> errors() const;   // the texts of showError, UTF-8
    std::size_t pendingAnswers() const { return m_answers.size(); }
    // Reports answers that were never asked for; the destructor calls it too.
    void finish();

private:
    struct Scripted {
        Kind kind;
        bool cancelled = false;
        int number = 0;
        std::string text;
        Answer answer = Answer::Cancel;
    };
    const Scripted* next(Kind kind, const std::string& logEntry);
    void fail(const std::string& why);

    FailureHandler m_onFailure;
    std::deque<Scripted> m_answers;
    Scripted m_current{};
    std::vector<std::string> m_log;
    std::vector<int> m_offered;
    std::vector<std::string> m_folders;
    bool m_finished = false;
};

} // namespace zam1
