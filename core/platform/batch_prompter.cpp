#include "core/platform/batch_prompter.h"

#include <ostream>

#include "core/text/codepage.h"

namespace zam1 {

bool BatchPrompter::askChoice(std::string_view, const std::vector<std::string>&, int&) { return false; }
bool BatchPrompter::askText(std::string_view, std::size_t, std::string&) { return false; }
bool BatchPrompter::askYesNo(std::string_view, bool&) { return false; }
Answer BatchPrompter::askYesNoCancel(std::string_view) { return Answer::Cancel; }

void BatchPrompter::showError(std::string_view text) {
    ++m_errorCount;
    m_errors << oemToUtf8(text) << '\n' << std::flush;
}

void BatchPrompter::showNote(std::string_view) {}
bool BatchPrompter::chooseOpenFile(const FileChoice&, std::string&) { return false; }
bool BatchPrompter::chooseSaveFile(const FileChoice&, std::string&) { return false; }
bool BatchPrompter::chooseDevice(std::string_view, const std::vector<std::string>&, int&) { return false; }

} // namespace zam1
