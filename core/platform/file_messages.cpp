#include "core/platform/file_messages.h"

#include <atomic>
#include <cerrno>

#include "core/platform/error_flag.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

std::atomic<int> g_reasonLanguage{1};

struct Reason {
    int error;
    const char* german;
    const char* english;
    const char* french;
};

// The common failures of file calls, worded as the system's own messages are.
constexpr Reason kReasons[] = {
    {EACCES, "Keine Berechtigung", "Permission denied", "Permission non accordée"},
    {EPERM, "Die Operation ist nicht erlaubt", "Operation not permitted", "Opération non permise"},
    {ENOENT, "Datei oder Verzeichnis nicht gefunden", "No such file or directory",
     "Aucun fichier ou dossier de ce type"},
    {ENOTDIR, "Ist kein Verzeichnis", "Not a directory", "N'est pas un dossier"},
    {EISDIR, "Ist ein Verzeichnis", "Is a directory", "Est un dossier"},
    {EROFS, "Das Dateisystem ist nur lesbar", "Read-only file system",
     "Système de fichiers accessible en lecture seulement"},
    {ENOSPC, "Auf dem Gerät ist kein Speicherplatz mehr verfügbar", "No space left on device",
     "Aucun espace disponible sur le périphérique"},
    {EDQUOT, "Der zugewiesene Plattenplatz (Quota) ist überschritten", "Disk quota exceeded",
     "Quota de disque dépassé"},
    {ENAMETOOLONG, "Der Dateiname ist zu lang", "File name too long", "Nom de fichier trop long"},
    {ELOOP, "Zu viele Ebenen aus symbolischen Links", "Too many levels of symbolic links",
     "Trop de niveaux de liens symboliques"},
    {EIO, "Eingabe-/Ausgabefehler", "Input/output error", "Erreur d'entrée/sortie"},
    {EMFILE, "Zu viele offene Dateien", "Too many open files", "Trop de fichiers ouverts"},
    {ENFILE, "Zu viele offene Dateien im System", "Too many open files in system",
     "Trop de fichiers ouverts dans le système"},
    {EFBIG, "Die Datei ist zu groß", "File too large", "Fichier trop volumineux"},
    {EBUSY, "Das Gerät oder die Ressource ist belegt", "Device or resource busy",
     "Périphérique ou ressource occupé"},
    {EEXIST, "Die Datei existiert bereits", "File exists", "Le fichier existe"},
};

} // namespace

void setSystemReasonLanguage(int language) { g_reasonLanguage = language; }

std::string systemReasonText(int error) {
    const int language = g_reasonLanguage;
    for (const Reason& r : kReasons) {
        if (r.error != error) continue;
        return utf8ToOem(language == 1 || language == 0 ? r.german : language == 3 ? r.french : r.english);
    }
    const char* word = language == 1 || language == 0 ? "Systemfehler " : language == 3 ? "Erreur système " : "System error ";
    return utf8ToOem(word) + intText(error);
}

std::string withSystemReason(std::string message, int error) {
    if (error == 0) return message;
    return message + "\n" + systemReasonText(error);
}

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
    prompter.showError(
        withSystemReason(writeErrorText(io) + " (I/O-Error " + intText(io) + ")  " + utf8ToOem(path), lastIoError()));
    error.set();
    return false;
}

} // namespace zam1
