#pragma once
// The prompter of the window: the prompt dialogs, message boxes and file dialogs.
// The core's texts are CP850 and are converted here, both ways.

#include <QPointer>
#include <QWidget>

#include <functional>

#include "core/platform/prompter.h"
#include "gui/editors/prompt_dialogs.h"

namespace zam1 {

// The file-dialog filter of a core file choice, in Qt's form.
QString qtFileFilter(const FileChoice& choice);

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* mainWindow = nullptr) : m_mainWindow(mainWindow) {}

    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }
    // The configured input window scale, in percent, for size and font.
    void setScalePercent(int sizePercent, int fontPercent);
    // The help number that the next prompts' help buttons show.
    void setHelpContext(int helpContext) override { m_helpContext = helpContext; }
    int helpContext() const override { return m_helpContext; }
    // The configured language, asked each time a help text opens (the manual
    // follows the language switch); without a source the help is German.
    void setLanguageSource(std::function<int()> language) { m_language = std::move(language); }
    int language() const { return m_language ? m_language() : 1; }
    int beeps() const { return m_beeps; }

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
    // The help text (false) or help picture (true) of a help number, for the
    // editors' own help buttons.
    void showHelp(int helpContext, bool picture);

private:
    PromptContext context();

    QPointer<QWidget> m_mainWindow;
    DialogLook m_look;
    int m_helpContext = 0;
    std::function<int()> m_language;
    int m_beeps = 0;
};

} // namespace zam1
