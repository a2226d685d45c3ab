#include "core/files/overview.h"
#include "core/text/ascii_case.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>

#include "core/files/project_file.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/records/documentation.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxOverviewFileBytes = 64u << 20;

bool isProjectFile(const fs::path& path) {
    return asciiLower(path.extension().string()) == ".zm1";
}

// "yyyy/mm/dd" of the file's last change, in local time.
std::string fileDate(const fs::path& path) {
    std::error_code failed;
    const fs::file_time_type changed = fs::last_write_time(path, failed);
    if (failed) return {};
    const auto system = std::chrono::file_clock::to_sys(changed);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return {};
    return intZero(local.tm_year + 1900, 4) + "/" + intZero(local.tm_mon + 1, 2) + "/" + intZero(local.tm_mday, 2);
}

// A sortable value of a number cell; blanks and unreadable cells after every number.
long double cellValue(const std::string& cell, bool& isNumber) {
    long double value = 0;
    isNumber = parseNumber(cell, value);
    return value;
}

OverviewRow rowFor(const fs::path& path, const NumberFormat& numbers) {
    OverviewRow row;
    row.path = path.string();
    row.cells[0] = utf8ToOem(path.filename().string());
    row.cells[1] = fileDate(path);
    std::string bytes;
    if (readWholeFile(row.path, bytes, kMaxOverviewFileBytes) != kIoOk) return row;
    auto chain = std::make_unique<Chain>();
    ProjectTexts texts;
    auto docs = std::make_unique<Documentation>();
    if (parseProjectFile(bytes, *chain, texts, *docs).status != ProjectReadStatus::Ok) return row;
    row.readable = true;
    row.cells[2] = texts.drawingName.str();
    row.cells[3] = texts.drawingNumber.str();
    row.cells[4] = intText(chain->elementCount());
    row.cells[5] = intText(chain->closingCount());
    if (chain->closingCount() == 0) return row;
    deriveElementValues(*chain);
    const ClosingSolution first = solveClosing(*chain, 1);
    row.cells[6] = intText(first.fromElement);
    row.cells[7] = intText(first.toElement);
    if (!first.resolved) return row;  // the ends say which; no numbers of another distance
    const auto number = [&](long double v) { return fixedText(v, 0, numbers.decimals, numbers.decimalComma); };
    row.cells[8] = number(first.sums.closingNominal);
    row.cells[9] = number(first.sums.closingMin);
    row.cells[10] = number(first.sums.closingMax);
    row.cells[11] = number(first.sums.closingMean);
    return row;
}

} // namespace

const std::array<std::string_view, kOverviewColumns>& overviewHeadings() {
    static constexpr std::array<std::string_view, kOverviewColumns> headings = {
        "File", "Date  y/m/d", "Name", "No", "n elem", "n crit", "el.->", "el.", "nom", "min", "max", "ave"};
    return headings;
}

bool overviewColumnIsNumeric(int column) { return column >= 4 && column < kOverviewColumns; }

OverviewScan scanOverview(const std::string& folder, const NumberFormat& numbers, Desktop& desktop) {
    OverviewScan scan;
    std::vector<fs::path> files;
    std::error_code failed;
    for (fs::directory_iterator it(folder, failed), end; !failed && it != end; it.increment(failed)) {
        std::error_code noType;
        if (it->is_regular_file(noType) && isProjectFile(it->path())) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    scan.rows.reserve(files.size());
    const long total = static_cast<long>(files.size());
    for (long k = 0; k < total; ++k) {
        const fs::path& file = files[static_cast<std::size_t>(k)];
        if (!desktop.showProgress(file.filename().string(), k, total)) {
            scan.cancelled = true;
            break;
        }
        scan.rows.push_back(rowFor(file, numbers));
    }
    if (!scan.cancelled) desktop.showProgress({}, total, total);
    return scan;
}

void sortOverview(std::vector<OverviewRow>& rows, int column) {
    if (column < 0 || column >= kOverviewColumns) return;
    const auto at = static_cast<std::size_t>(column);
    if (!overviewColumnIsNumeric(column)) {
        std::stable_sort(rows.begin(), rows.end(), [at](const OverviewRow& a, const OverviewRow& b) {
            return a.cells[at] < b.cells[at];
        });
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), [at](const OverviewRow& a, const OverviewRow& b) {
        bool aNumber = false;
        bool bNumber = false;
        const long double x = cellValue(a.cells[at], aNumber);
        const long double y = cellValue(b.cells[at], bNumber);
        if (aNumber != bNumber) return aNumber;  // numbers first, blanks after
        return aNumber && x < y;
    });
}

std::string overviewCaption(const std::string& folder) { return "ZAM1  " + utf8ToOem(folder); }

} // namespace zam1
