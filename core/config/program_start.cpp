#include "core/config/program_start.h"

#include "core/config/configuration.h"
#include "core/lang/language.h"
#include "core/platform/path_parts.h"
#include "core/text/codepage.h"

namespace zam1 {

std::string programStartFailure(const MainTexts& texts, const std::string& program,
                                const std::vector<std::string>& arguments) {
    if (fileNamePart(program) == kDefaultViewerProgram && !arguments.empty()) {
        const std::string_view name = fileNamePart(arguments.back());
        const std::string_view extension = extensionPart(name);
        std::string text = texts.noProgramFor;
        const std::size_t slot = text.find("%s");
        // A name that is all extension (".profile") has none.
        if (!extension.empty() && extension.size() < name.size() && slot != std::string::npos) {
            return text.replace(slot, 2, utf8ToOem(extension));
        }
    }
    return texts.programNotStarted + ": " + utf8ToOem(program);
}

} // namespace zam1
