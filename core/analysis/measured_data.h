#pragma once
// Measured values of an element: the sizes of real parts, read from a CSV file
// or a workbook beside the project, standing in for the element's declared
// distribution. The values are absolute sizes of the element's distance (a
// 10 +0.1/-0.1 element measured at 10.03 holds 10.03, not 0.03), so the file is
// the measuring protocol as it stands and needs no arithmetic from the user.
//
// The file is read by the spreadsheet import's reader: ";", "," or tab between
// cells, "." or "," as decimal mark, a byte-order mark skipped, the first
// worksheet of an .xlsx workbook. Without a column named, the file holds one
// column (a first row that is no number is its heading; a line without ";" or
// tab is one cell, so "10,03" is a decimal comma); with "column", the first row
// holds the headings and that column is read. Blank cells are passed over.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/import_rows.h"

namespace zam1 {

struct ExchangeTexts;

// A sample smaller than this tells nothing about the spread, and the
// normality test is not defined for it.
inline constexpr std::size_t kMinMeasuredValues = 8;
inline constexpr std::size_t kMaxMeasuredValues = 1'000'000;
inline constexpr std::size_t kMaxMeasuredFileBytes = std::size_t{64} << 20;
// Below this p-value the values are not taken for normal.
inline constexpr long double kNormalityLevel = 0.05L;

// The Anderson-Darling test of the values against a normal distribution with
// their own mean and standard deviation (both estimated): A², the statistic
// with the small-sample correction A*² = A²(1 + 0.75/n + 2.25/n²), and the
// p-value of A*² by D'Agostino and Stephens' piecewise formula.
struct NormalityTest {
    long double a2 = 0;
    long double a2Star = 0;
    long double p = 1;
    bool doubtful() const { return p < kNormalityLevel; }
};

struct MeasuredSample {
    // As the settings file names them.
    std::string file;
    std::optional<std::string> column;
    bool resample = false;

    std::vector<double> values;  // absolute sizes, in the order of the file
    long double mean = 0;
    long double stdDev = 0;      // sample standard deviation (n - 1)
    long double min = 0;
    long double max = 0;
    std::optional<NormalityTest> normality;  // none when every value is the same
};

// What reading a file of measured values gives: the values, or the problem in
// the import's words (row and column as a spreadsheet numbers them).
struct MeasuredValues {
    std::vector<double> values;
    std::optional<ImportProblem> problem;
    std::vector<std::string> headings;  // the heading row when there is one, for the problem's text
};

// Reads the values from the file's bytes; `fileName` only for its extension.
MeasuredValues readMeasuredValues(std::string_view bytes, std::string_view fileName,
                                  const std::optional<std::string>& column, const ExchangeTexts& words);

// Mean, standard deviation, range and normality of `values` (at least two).
void describeSample(MeasuredSample& sample);

NormalityTest andersonDarling(const std::vector<double>& values, long double mean, long double stdDev);
long double andersonDarlingPValue(long double a2Star);

struct MeasuredLoad {
    std::shared_ptr<const MeasuredSample> sample;  // null when refused
    std::string error;  // UTF-8: the file named, and what is wrong
};

// Reads `sample.file` (relative to `folder`, or absolute) and describes it.
// Refused: a file that is missing or cannot be read, a cell that is no finite
// number, a heading not found, more than one column without one named, fewer
// than kMinMeasuredValues or more than kMaxMeasuredValues values.
MeasuredLoad loadMeasuredSample(MeasuredSample sample, const std::string& folder, const ExchangeTexts& words);

} // namespace zam1
