#pragma once
// File names are bytes; texts that must be UTF-8 (JSON) get them converted.

#include <string>
#include <string_view>

namespace zam1 {

// The file system's encoding as the environment names it (LC_ALL, LC_CTYPE, LANG):
// ISO-8859-1, -15 and Windows-1252 are converted as Windows-1252, anything else is
// taken as UTF-8. Bytes that are not valid in it become U+FFFD. The process locale
// is not looked at.
std::string fileNameToUtf8(std::string_view name);

// The same for a known encoding: `latin` true for the Latin-1 family.
std::string fileNameToUtf8(std::string_view name, bool latin);

} // namespace zam1
