#include "core/app/command_line.h"

#include <ostream>

namespace zam1 {

int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    (void)arguments;
    (void)err;
    out << "wzam1: ZAM1 - Toleranzrechnung\n";
    return 0;
}

} // namespace zam1
