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
        const std::size_t dot = name.find_last_of('.');
        std::string text = texts.noProgramFor;
        const std::size_t slot = text.find("%s");
        if (dot != std::string_view::npos && dot > 0 && slot != std::string::npos) {
            return text.replace(slot, 2, utf8ToOem(name.substr(dot)));
        }
    }
    return texts.programNotStarted + ": " + utf8ToOem(program);
}

} // namespace zam1
