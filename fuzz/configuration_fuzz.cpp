// Any bytes given as zam1.cfg: read without fault, and what was read writes out
// a file that reads back to the same settings (numbers within the file's form:
// "1.0000" and "1.0" are one setting).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/config/config_file.h"
#include "tests/support/number_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    const ScreenInfo screen;
    Configuration config = defaultConfiguration(screen, "/tmp");
    parseConfiguration(std::string_view(reinterpret_cast<const char*>(data), size), config, screen, "/tmp");
    const std::string written = configurationText(config);
    Configuration again = defaultConfiguration(screen, "/tmp");
    parseConfiguration(written, again, screen, "/tmp");
    if (!test::sameLineByLine(configurationText(again), written)) std::abort();
    return 0;
}
