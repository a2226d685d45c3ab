#include "core/platform/file_messages.h"

#include "core/platform/error_flag.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {

std::string writeErrorText(int ioResult) {
    switch (ioResult) {
    case kIoReadError: return "Lesefehler";
    case kIoDiskFull: return "Diskette/Platte voll";
    case kIoBadNumber: return "Falsches numerisches Format";
    default: return "Fehler bei Zugriff auf Diskette/Platte";
    }
}

std::string closeErrorText(int ioResult) {
    if (ioResult == kIoDiskFull) return "Diskette/Platte voll";
    return utf8ToOem("Fehler beim Schließen einer Datei");
}

std::string createErrorText(int ioResult) {
    if (ioResult == kIoDiskFull) return "Diskette/Platte voll";
    return "file write error";
}

std::string retryCreateText(int ioResult) {
    if (ioResult == kIoWriteProtected) return "Schreibschutz entfernen !";
    if (ioResult == 152) return "Programmdiskette einlegen !";
    return "I/O-Error " + intText(ioResult);
}

std::string openForReadingText(std::string_view name) {
    return "Datei " + std::string(name) + " nicht gefunden oder kein Zugriffsrecht !";
}

bool commitFile(const std::string& path, std::string_view bytes, Prompter& prompter, ErrorFlag& error) {
    const int io = writeFileSafely(path, bytes);
    if (io == kIoOk) return true;
    prompter.showError(writeErrorText(io) + " (I/O-Error " + intText(io) + ")  " + utf8ToOem(path));
    error.set();
    return false;
}

} // namespace zam1
