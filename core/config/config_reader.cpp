#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/text/ascii_case.h"
#include "core/config/config_file.h"
#include "core/config/config_rows.h"
#include "core/platform/file_io.h"
#include "core/text/codepage.h"
#include "core/text/file_numbers.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::size_t kMaxConfigurationBytes = 1u << 20;

int integerOrZero(std::string_view text) {
    long long value = 0;
    if (!parseInteger(text, value)) return 0;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return 0;
    return static_cast<int>(value);
}

// Hands out the lines of the file; past its end every line reads as empty, as a
// reader of the original layout saw it between the points where it may stop.
class ValueLines {
public:
    explicit ValueLines(std::string_view data) : m_data(data) {}

    bool atEnd() const { return m_pos >= m_data.size(); }

    std::string_view line() {
        if (atEnd()) return {};
        const std::size_t end = m_data.find('\n', m_pos);
        const std::size_t stop = end == std::string_view::npos ? m_data.size() : end;
        std::string_view l = m_data.substr(m_pos, stop - m_pos);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        m_pos = end == std::string_view::npos ? m_data.size() : end + 1;
        return l;
    }
    void skip() { line(); }
    std::string fileName() { return oemToUtf8(line()); }
    int integer() { return integerOrZero(line()); }
    long double real() {
        const long double value = numberOrZero(line());
        return std::isfinite(value) ? value : 0.0L;
    }
    bool boolean() { return asciiUpper(line()) == "TRUE"; }
    bool notFalse() { return asciiUpper(line()) != "FALSE"; }
    char letter() {
        const std::string_view l = line();
        return l.empty() ? 'N' : l.front();
    }

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

// Reads the entries of the table in file order. After an entry that may end the
// file, reading stops when the file has ended there.
class ConfigParser {
public:
    ConfigParser(std::string_view bytes, Configuration& config) : m_in(bytes), c(config) {}

    // Returns the row read last before stopping (107 when complete).
    int run() {
        m_in.skip(); // "zam1 Konfiguration"
        m_in.skip(); // "Version 11.1"
        int lastRow = 0;
        for (const ConfigRow& row : configRows()) {
            if (row.label != nullptr) m_in.skip();
            read(row);
            lastRow = row.row;
            if (row.mayEndAfter && m_in.atEnd()) break;
        }
        keepWhatTheFileCanHold(lastRow);
        return lastRow;
    }

private:
    void read(const ConfigRow& row) {
        const RowMember& at = row.at;
        switch (row.kind) {
        case RowKind::Integer: at.setNumber(c, checked(row, m_in.integer())); break;
        case RowKind::Real:
        case RowKind::ShortReal: at.setNumber(c, checked(row, m_in.real())); break;
        case RowKind::Boolean: at.setNumber(c, m_in.boolean() ? 1 : 0); break;
        case RowKind::BooleanUnlessFalse: at.setNumber(c, m_in.notFalse() ? 1 : 0); break;
        case RowKind::Letter: at.setNumber(c, static_cast<unsigned char>(m_in.letter())); break;
        case RowKind::Text: text(row, m_in.line()); break;
        case RowKind::FileName: text(row, m_in.fileName()); break;
        case RowKind::Reserve: m_in.skip(); break;
        case RowKind::PlotCount: {
            const int count = m_in.integer();
            // Lines beyond the fifth are read past so that the later rows keep their places.
            m_plotLines.clear();
            for (int line = 2; line <= count && !m_in.atEnd(); ++line) {
                std::string command = m_in.fileName();
                if (line <= 5) m_plotLines.push_back(std::move(command));
            }
            at.setNumber(c, checked(row, count));
            break;
        }
        case RowKind::PlotLine: {
            const auto index = static_cast<std::size_t>(row.part - 2);
            if (index < m_plotLines.size()) at.setText(c, m_plotLines[index]);
            break;
        }
        case RowKind::WindowPart:
            if (row.part == 0) readWindow(m_in.line());
            if (m_window[2] != 0 && m_window[3] != 0) at.setNumber(c, m_window[static_cast<std::size_t>(row.part)]);
            break;
        }
    }

    // A number that holds but whose written form would not (a width factor of
    // 0.000001 is written "0") takes its row's fallback now: the file written
    // from these settings must read back to them.
    void keepWhatTheFileCanHold(int lastRow) {
        const NumberFormat format{c.decimals, false};
        for (const ConfigRow& row : configRows()) {
            if (row.row > lastRow || (row.kind != RowKind::Real && row.kind != RowKind::ShortReal)) continue;
            const long double value = row.at.number(c);
            const std::string written =
                row.kind == RowKind::Real ? realLineText(value, format) : shortNumberText(value, format);
            const long double again = ValueLines(written).real();
            if (!row.valid.holds(again)) row.at.setNumber(c, checked(row, again));
        }
    }

    long double checked(const ConfigRow& row, long double value) {
        if (row.valid.holds(value)) return value;
        switch (row.fallback) {
        case Fallback::Replace: return row.replacement.number;
        case Fallback::ReplaceWithPrintScale:
            c.printScaleVertical = row.replacement.number;
            return row.replacement.number;
        case Fallback::ScreendumpScale: return c.screendumpScale;
        case Fallback::Clamp: return std::clamp(value, row.valid.lo, row.valid.hi);
        default: return value;
        }
    }

    void text(const ConfigRow& row, std::string_view value) {
        const bool keep = row.fallback == Fallback::KeepWhenEmpty || row.fallback == Fallback::StartDirectory;
        if (value.empty() && keep) return;
        if (value.empty() && row.fallback == Fallback::Replace) value = row.replacement.text;
        row.at.setText(c, value);
    }

    void readWindow(std::string_view window) {
        m_window = {};
        std::size_t from = 0;
        for (int& v : m_window) {
            if (from > window.size()) break;
            const std::size_t bar = std::min(window.find('|', from), window.size());
            v = integerOrZero(window.substr(from, bar - from));
            from = bar + 1;
        }
    }

    ValueLines m_in;
    Configuration& c;
    std::vector<std::string> m_plotLines;      // lines 2 .. 5 as read with their count
    std::array<int, kTextWindowParts> m_window{};
};

// The rules that depend on the screen and the start directory, for the defaults
// and after reading.
void applyEnvironment(Configuration& c, const ScreenInfo& screen, const std::string& startDirectory) {
    for (const ConfigRow& row : configRows()) {
        switch (row.fallback) {
        case Fallback::StartDirectory:
            if (row.at.text(c).empty()) row.at.setText(c, startDirectory);
            break;
        case Fallback::ScreenWidth:
        case Fallback::ScreenHeight: {
            const long double v = row.at.number(c);
            const int size = row.fallback == Fallback::ScreenWidth ? screen.width : screen.height;
            if (v == 0 || v == -1) row.at.setNumber(c, size - row.replacement.number);
            break;
        }
        default: break;
        }
    }
}

} // namespace

Configuration defaultConfiguration(const ScreenInfo& screen, const std::string& startDirectory) {
    Configuration c;
    applyEnvironment(c, screen, startDirectory);
    return c;
}

void parseConfiguration(std::string_view bytes, Configuration& config, const ScreenInfo& screen,
                        const std::string& startDirectory) {
    const int lastRow = ConfigParser(bytes, config).run();
    for (const ConfigRow& row : configRows()) {
        if (row.row <= lastRow) continue;
        switch (row.whenMissing) {
        case WhenMissing::Keep: break;
        case WhenMissing::Initial: row.at.set(config, row.initial); break;
        case WhenMissing::CadTextWidthFactor: row.at.setNumber(config, config.cadTextWidthFactor); break;
        }
    }
    applyEnvironment(config, screen, startDirectory);
}

bool readConfiguration(const std::string& folder, Configuration& config, const ScreenInfo& screen,
                       const std::string& startDirectory) {
    config = defaultConfiguration(screen, startDirectory);
    std::string bytes;
    if (readWholeFile(settingsFilePath(folder, "cfg"), bytes, kMaxConfigurationBytes) != kIoOk) {
        config.textWindow[3] = screen.height - 80;
        if (screen.mainWindowHeight > 0) {
            const double ratio = static_cast<double>(screen.mainWindowHeight) / (screen.mainClientHeight + 46);
            config.inputWindowScale = static_cast<int>(std::lround((ratio + 0.009) * (screen.dpiY / 96.0) * 100));
        }
        return false;
    }
    parseConfiguration(bytes, config, screen, startDirectory);
    return true;
}

} // namespace zam1
