#include "core/platform/file_name_text.h"

#include <cstdlib>

#include "core/text/ascii_case.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

bool latinFileNames() {
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    if (locale == nullptr) return false;
    const std::string_view text(locale);
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) return false;
    std::string codeset = asciiUpper(std::string(text.substr(dot + 1, text.find('@', dot) - dot - 1)));
    std::erase(codeset, '-');
    std::erase(codeset, '_');
    return codeset == "ISO88591" || codeset == "ISO885915" || codeset == "CP1252" || codeset == "WINDOWS1252";
}

} // namespace

std::string fileNameToUtf8(std::string_view name, bool latin) {
    if (latin) return ansiToUtf8(name);
    std::string out;
    out.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) appendUtf8(out, decodeUtf8(name, pos));
    return out;
}

std::string fileNameToUtf8(std::string_view name) { return fileNameToUtf8(name, latinFileNames()); }

} // namespace zam1
