#pragma once
// What the user is told when the desktop could not start a program. The
// desktop's opener (xdg-open) fails when no program is registered for the
// file's type; the message then names the type, which is what the user can fix.

#include <string>
#include <vector>

namespace zam1 {

struct MainTexts;

// "kein Programm für .xlsx gefunden" when `program` is the opener and the file
// (its last argument) has an extension, else "Programm nicht gestartet: " and
// the program. OEM code page, as the prompter shows it.
std::string programStartFailure(const MainTexts& texts, const std::string& program,
                                const std::vector<std::string>& arguments);

} // namespace zam1
