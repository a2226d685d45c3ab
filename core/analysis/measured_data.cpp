#include "core/analysis/measured_data.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/exchange/csv.h"
#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/xlsx_reader.h"
#include "core/model/input_limits.h"
#include "core/platform/file_io.h"
#include "core/text/ascii_case.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

// Enough columns to find a heading in any sensible protocol; one column and
// the one beyond it (to tell a second column) otherwise.
constexpr std::size_t kHeadedColumns = 1024;
constexpr std::size_t kOneColumn = 2;

std::string trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

// "inf", "-Infinity", "NaN": what a program writes for a value that is none.
bool spellsNonFinite(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    const std::string lower = asciiLower(text);
    return lower == "inf" || lower == "infinity" || lower == "nan" || lower == "1.#inf" || lower == "1.#qnan";
}

// The first line of a CSV file decides: a line without ";" and tab is one cell,
// so that a decimal comma is not taken for a separator.
char oneColumnSeparator(std::string_view text) {
    const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
    if (first.find(';') != std::string_view::npos) return ';';
    if (first.find('\t') != std::string_view::npos) return '\t';
    return ';';
}

bool blank(const std::vector<ImportCell>& row, std::size_t column) {
    return column >= row.size() || row[column].blank();
}

// A first row that holds a text is the heading of the one column.
bool headingRow(const std::vector<ImportCell>& row) {
    if (blank(row, 0) || row[0].kind != ImportCell::Kind::Text) return false;
    const std::string text = trimmed(row[0].text);
    long double value = 0;
    return readNumber(text, value) == NumberReading::NotANumber && !spellsNonFinite(text);
}

// Its logarithm of the standard normal distribution function, also far in the lower tail.
long double logNormalCdf(long double z) {
    if (z > -38) return std::log(0.5L * std::erfc(-z / std::sqrt(2.0L)));
    // Laplace's asymptotic series of the tail: Q(x) ~ phi(x)/x (1 - 1/x² + 3/x⁴).
    const long double x = -z;
    const long double x2 = x * x;
    return -x2 / 2 - std::log(x) - 0.5L * std::log(2 * std::acos(-1.0L)) + std::log1p(-1 / x2 + 3 / (x2 * x2));
}

} // namespace

MeasuredValues readMeasuredValues(std::string_view bytes, std::string_view fileName,
                                  const std::optional<std::string>& column, const ExchangeTexts& words) {
    MeasuredValues out;
    const auto refuse = [&](ImportProblem problem) {
        out.values.clear();
        out.problem = std::move(problem);
        return out;
    };
    const std::size_t rowLimit = kMaxMeasuredValues + 2;  // a heading and one value too many
    const std::size_t columns = column ? kHeadedColumns : kOneColumn;
    ImportRows rows;
    if (looksLikeZip(bytes) || asciiLower(fileName).ends_with(".xlsx")) {
        XlsxLimits limits;
        limits.rows = static_cast<int>(rowLimit);
        limits.columns = static_cast<int>(columns);
        XlsxSheet sheet = readFirstWorksheet(bytes, words, limits);
        if (sheet.problem) return refuse(*sheet.problem);
        rows = std::move(sheet.rows);
    } else {
        const std::string text = importTextAsUtf8(bytes);
        CsvLimits limits;
        limits.records = rowLimit;
        limits.fields = columns;
        CsvRecords records = readCsvRecords(text, words, limits, column ? 0 : oneColumnSeparator(text));
        if (records.problem) return refuse(*records.problem);
        for (auto& record : records.records) {
            std::vector<ImportCell>& cells = rows.emplace_back(record.size());
            for (std::size_t c = 0; c < record.size(); ++c) cells[c].text = std::move(record[c]);
        }
    }
    // The readers stop at the limit: what lies beyond it was not looked at.
    if (rows.size() >= rowLimit) return refuse({0, 0, {}, std::string(words.tooManyValues)});

    std::size_t at = 0;
    std::size_t first = 0;
    if (column) {
        if (rows.empty()) return refuse({0, 0, {}, std::string(words.noValues)});
        for (const ImportCell& cell : rows.front()) out.headings.push_back(trimmed(cell.text));
        const auto found = std::find(out.headings.begin(), out.headings.end(), trimmed(*column));
        if (found == out.headings.end()) {
            return refuse({1, 0, {}, std::string(words.columnNotFound) + " \"" + *column + "\""});
        }
        at = static_cast<std::size_t>(found - out.headings.begin());
        first = 1;
    } else if (!rows.empty() && headingRow(rows.front())) {
        out.headings.push_back(trimmed(rows.front()[0].text));
        first = 1;
    }
    for (std::size_t r = first; r < rows.size(); ++r) {
        const std::vector<ImportCell>& row = rows[r];
        const int rowNumber = static_cast<int>(r) + 1;
        if (!column) {
            for (std::size_t c = 1; c < row.size(); ++c) {
                if (!row[c].blank()) return refuse({rowNumber, 0, {}, std::string(words.moreThanOneColumn)});
            }
        }
        if (blank(row, at)) continue;
        const ImportCell& cell = row[at];
        const std::string text = trimmed(cell.text);
        const auto fail = [&](std::string_view reason) {
            return refuse({rowNumber, static_cast<int>(at) + 1, text, std::string(reason)});
        };
        if (cell.kind == ImportCell::Kind::Error) return fail(words.errorValue);
        if (spellsNonFinite(text)) return fail(words.notFinite);
        long double value = 0;
        switch (readLength(text, value)) {
        case LengthReading::Read: break;
        case LengthReading::NotANumber: return fail(words.notANumber);
        case LengthReading::OutOfRange: return fail(words.beyondLimit);
        }
        out.values.push_back(static_cast<double>(value));
    }
    if (out.values.empty()) return refuse({0, 0, {}, std::string(words.noValues)});
    if (out.values.size() < kMinMeasuredValues) {
        return refuse({0, 0, intText(static_cast<long long>(out.values.size())), std::string(words.tooFewValues)});
    }
    if (out.values.size() > kMaxMeasuredValues) return refuse({0, 0, {}, std::string(words.tooManyValues)});
    return out;
}

long double andersonDarlingPValue(long double a2Star) {
    // The last piece reaches its least value at 5.709 / (2 * 0.0186) and would
    // climb again beyond: a larger statistic never fits a normal better.
    const long double a = std::clamp(a2Star, 0.0L, 5.709L / (2 * 0.0186L));
    long double p = 0;
    if (a >= 0.6L) {
        p = std::exp(1.2937L - 5.709L * a + 0.0186L * a * a);
    } else if (a >= 0.34L) {
        p = std::exp(0.9177L - 4.279L * a - 1.38L * a * a);
    } else if (a >= 0.2L) {
        p = 1 - std::exp(-8.318L + 42.796L * a - 59.938L * a * a);
    } else {
        p = 1 - std::exp(-13.436L + 101.14L * a - 223.73L * a * a);
    }
    return std::clamp(p, 0.0L, 1.0L);
}

NormalityTest andersonDarling(const std::vector<double>& values, long double mean, long double stdDev) {
    NormalityTest t;
    const std::size_t n = values.size();
    if (n < 2 || !(stdDev > 0)) return t;
    std::vector<long double> z(values.begin(), values.end());
    std::sort(z.begin(), z.end());
    for (long double& v : z) v = (v - mean) / stdDev;
    // A² = -n - (1/n) sum (2i - 1) [ln F(z_i) + ln(1 - F(z_(n+1-i)))], 1 - F(z) = F(-z).
    long double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += static_cast<long double>(2 * i + 1) * (logNormalCdf(z[i]) + logNormalCdf(-z[n - 1 - i]));
    }
    const auto count = static_cast<long double>(n);
    t.a2 = -count - sum / count;
    t.a2Star = t.a2 * (1 + 0.75L / count + 2.25L / (count * count));
    t.p = andersonDarlingPValue(t.a2Star);
    return t;
}

void describeSample(MeasuredSample& sample) {
    const std::vector<double>& v = sample.values;
    if (v.empty()) return;
    long double sum = 0;
    for (double x : v) sum += x;
    const auto n = static_cast<long double>(v.size());
    sample.mean = sum / n;
    long double squares = 0;
    for (double x : v) squares += (x - sample.mean) * (x - sample.mean);
    sample.stdDev = v.size() > 1 ? std::sqrt(squares / (n - 1)) : 0;
    const auto [low, high] = std::minmax_element(v.begin(), v.end());
    sample.min = *low;
    sample.max = *high;
    sample.normality.reset();
    if (sample.stdDev > 0) sample.normality = andersonDarling(v, sample.mean, sample.stdDev);
}

MeasuredLoad loadMeasuredSample(MeasuredSample sample, const std::string& folder, const ExchangeTexts& words) {
    MeasuredLoad load;
    const std::string path = sample.file.starts_with('/') ? sample.file : folder + "/" + sample.file;
    const std::string named = "\"" + sample.file + "\": ";
    std::string bytes;
    if (readWholeFile(path, bytes, kMaxMeasuredFileBytes) != kIoOk) {
        const int error = lastIoError();
        load.error = named + std::string(words.unreadableFile) + (error != 0 ? " (" + std::string(std::strerror(error)) + ")" : "");
        return load;
    }
    MeasuredValues read = readMeasuredValues(bytes, sample.file, sample.column, words);
    if (read.problem) {
        load.error = named + importProblemText(*read.problem, read.headings, words);
        return load;
    }
    sample.values = std::move(read.values);
    describeSample(sample);
    load.sample = std::make_shared<const MeasuredSample>(std::move(sample));
    return load;
}

} // namespace zam1
