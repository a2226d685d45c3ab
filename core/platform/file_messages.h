#pragma once
// The fixed messages of the file utilities and the one way this program commits
// a file it writes: everything goes through writeFileSafely, and a failure shows
// its message, sets the error flag and leaves the old file as it was.

#include <string>
#include <string_view>

namespace zam1 {

class Prompter;
class ErrorFlag;

// Texts in the stored (OEM) code page, by I/O result number.
std::string writeErrorText(int ioResult);   // "Lesefehler", "Diskette/Platte voll", ...
std::string closeErrorText(int ioResult);   // "Diskette/Platte voll", "Fehler beim Schließen einer Datei"
std::string createErrorText(int ioResult);  // "Diskette/Platte voll", "file write error"
std::string retryCreateText(int ioResult);  // "Schreibschutz entfernen !", "Programmdiskette einlegen !", "I/O-Error n"
// "Datei " + name + " nicht gefunden oder kein Zugriffsrecht !"
std::string openForReadingText(std::string_view name);

// Writes `bytes` as the new content of `path` safely. On failure: shows the write
// error with the file name, sets the error flag and returns false.
bool commitFile(const std::string& path, std::string_view bytes, Prompter& prompter, ErrorFlag& error);

} // namespace zam1
