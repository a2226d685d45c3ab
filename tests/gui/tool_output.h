#pragma once
// Runs a command-line reader of our files (pdftotext, pdfinfo, python3) and
// returns what it printed; the tests check our output with real consumers.

#include <QProcess>
#include <QStringList>

#include <optional>
#include <string>

namespace zam1::test {

// Standard output of `program arguments...`; nothing when it cannot start or fails.
inline std::optional<std::string> toolOutput(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    return process.readAllStandardOutput().toStdString();
}

// Runs of blanks and line ends become one blank, so a table row reads as its values.
inline std::string collapsedBlanks(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f';
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out += blank ? ' ' : c;
    }
    return out;
}

} // namespace zam1::test
