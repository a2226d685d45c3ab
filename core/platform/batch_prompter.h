#pragma once
// The prompter of the command-line batch modes: it never blocks. Every question is
// answered with "cancel"; errors go to the given stream (standard error) in UTF-8.

#include <iosfwd>

#include "core/platform/prompter.h"

namespace zam1 {

class BatchPrompter final : public Prompter {
public:
    explicit BatchPrompter(std::ostream& errors) : m_errors(errors) {}

    bool askChoice(std::string_view prompt, const std::vector<std::string>& lines, int& choice) override;
    bool askText(std::string_view prompt, std::size_t maxLength, std::string& text) override;
    bool askYesNo(std::string_view prompt, bool& value) override;
    Answer askYesNoCancel(std::string_view question) override;
    void showError(std::string_view text) override;
    void showNote(std::string_view text) override;
    bool chooseOpenFile(const FileChoice& choice, std::string& path) override;
    bool chooseSaveFile(const FileChoice& choice, std::string& path) override;
    bool chooseDevice(std::string_view title, const std::vector<std::string>& devices, int& device) override;

    int errorCount() const { return m_errorCount; }

private:
    std::ostream& m_errors;
    int m_errorCount = 0;
};

} // namespace zam1
