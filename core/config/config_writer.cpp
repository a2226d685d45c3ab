#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/lang/language.h"
#include "core/platform/error_flag.h"
#include "core/platform/path_parts.h"
#include "core/config/config_file.h"
#include "core/config/config_rows.h"
#include "core/platform/file_messages.h"
#include "core/text/file_numbers.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

// Builds the file from the rows of the table; labels and every other text go out
// in the OEM code page.
class ConfigWriter {
public:
    explicit ConfigWriter(const Configuration& config) : c(config), m_format{config.decimals, false} {}

    void line(std::string_view text) {
        m_out += text;
        m_out += "\r\n";
    }

    void row(const ConfigRow& row) {
        if (row.label != nullptr) line(utf8ToOem(row.label));
        const RowMember& at = row.at;
        switch (row.kind) {
        case RowKind::Integer: integer(at.number(c)); break;
        case RowKind::Real: line(realLineText(at.number(c), m_format)); break;
        case RowKind::ShortReal: line(shortNumberText(at.number(c), m_format)); break;
        case RowKind::Boolean:
        case RowKind::BooleanUnlessFalse: boolean(at.number(c) != 0); break;
        case RowKind::Letter: line(std::string(1, static_cast<char>(static_cast<unsigned char>(at.number(c))))); break;
        case RowKind::Text: line(at.text(c)); break;
        case RowKind::FileName: line(utf8ToOem(at.text(c))); break;
        case RowKind::Reserve: boolean(false); break;
        case RowKind::PlotCount:
            m_plotLines = static_cast<int>(std::clamp(at.number(c), row.valid.lo, row.valid.hi));
            integer(m_plotLines);
            break;
        case RowKind::PlotLine:
            if (row.part <= m_plotLines) line(utf8ToOem(at.text(c)));
            break;
        case RowKind::WindowPart:
            m_window += intText(static_cast<long long>(at.number(c))) + "|";
            if (row.part == kTextWindowParts - 1) {
                line(m_window);
                m_window.clear();
            }
            break;
        }
    }

    std::string take() { return std::move(m_out); }

private:
    void integer(long double v) { line(intText(static_cast<long long>(v))); }
    void boolean(bool v) { line(v ? "TRUE" : "FALSE"); }

    const Configuration& c;
    NumberFormat m_format; // always the point: the comma is for what the user sees
    std::string m_out;
    int m_plotLines = 1;   // the plot command lines written with their count
    std::string m_window;  // the text window's numbers so far
};

// Writes safely; while it fails the user is told why and may try again or give up.
bool commitWithRetry(const std::string& path, const std::string& bytes, const MainTexts& texts, Prompter& prompter,
                     ErrorFlag& error) {
    for (;;) {
        // The per-user folder does not exist before the first write; a failure
        // to make it shows as the write's own error.
        std::error_code ignored;
        std::filesystem::create_directories(folderOf(path), ignored);
        const int io = writeFileSafely(path, bytes);
        if (io == kIoOk) return true;
        const std::string question = withSystemReason(
            retryCreateText(io) + "  " + utf8ToOem(path) + "  " + texts.retryQuestion, lastIoError());
        if (prompter.askYesNoCancel(question) != Answer::Yes) {
            error.set();
            return false;
        }
    }
}

} // namespace

std::string configurationText(const Configuration& c) {
    ConfigWriter w(c);
    w.line(kConfigHeading);
    w.line(std::string(kConfigVersionPrefix) + ZAM1_VERSION);
    for (const ConfigRow& row : configRows()) w.row(row);
    return w.take();
}

std::string settingsFilePath(const std::string& folder, std::string_view extension) {
    return pathIn(folder, "zam1." + std::string(extension));
}

std::string fallbackConfigurationFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg != '\0') return std::string(xdg) + "/korvant";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/korvant";
}

std::string configurationFolder(const std::string& startDirectory, const std::string& fallbackFolder) {
    if (fileExists(settingsFilePath(startDirectory, "cfg"))) return startDirectory;
    // Also when neither has one: a project opened from a file manager starts in
    // the user's home folder, which must not fill up with the program's files.
    return fallbackFolder;
}

bool writeConfiguration(const std::string& folder, const Configuration& config, const MainTexts& texts,
                        Prompter& prompter, ErrorFlag& error) {
    return commitWithRetry(settingsFilePath(folder, "cfg"), configurationText(config), texts, prompter, error);
}

void readRecentFiles(const std::string& folder, std::array<std::string, 4>& files) {
    files = {};
    std::string bytes;
    if (readWholeFile(settingsFilePath(folder, "cff"), bytes, 1u << 20) != kIoOk) return;
    std::size_t pos = bytes.find('\n'); // line 1 names the session's data directory
    for (std::string& file : files) {
        if (pos == std::string::npos) return;
        const std::size_t start = pos + 1;
        pos = bytes.find('\n', start);
        std::string_view line = std::string_view(bytes).substr(start, (pos == std::string::npos ? bytes.size() : pos) - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        file = oemToUtf8(line);
    }
}

bool writeRecentFiles(const std::string& folder, const std::string& dataDirectory,
                      const std::array<std::string, 4>& files, const MainTexts& texts, Prompter& prompter,
                      ErrorFlag& error) {
    std::string bytes = "zam1 Session " + utf8ToOem(dataDirectory) + "\r\n";
    for (const std::string& file : files) bytes += utf8ToOem(file) + "\r\n";
    return commitWithRetry(settingsFilePath(folder, "cff"), bytes, texts, prompter, error);
}

} // namespace zam1
