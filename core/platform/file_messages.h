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

// The system's reason for a failure (an errno value) in the program's language
// (German, English, French; English for the other languages), in the stored code
// page: the second line of a file message, so that "Ungültiger Dateiname" says
// whether the folder is protected, the disk full or the name too long.
std::string systemReasonText(int error);
// `message` + "\n" + the reason for `error` (usually lastIoError()), or
// `message` alone for 0.
std::string withSystemReason(std::string message, int error);
// The language of the reasons; the language switch sets it.
void setSystemReasonLanguage(int language);

// Writes `bytes` as the new content of `path` safely. On failure: shows the write
// error with the file name and, on a second line, the system's reason, sets the
// error flag and returns false.
bool commitFile(const std::string& path, std::string_view bytes, Prompter& prompter, ErrorFlag& error);

} // namespace zam1
