#include "core/exchange/xlsx_writer.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <locale.h>

#include "core/platform/file_io.h"
#include "core/platform/path_parts.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

// A worksheet name has at most 31 characters and none of []:*?/\.
std::string sheetName(const std::string& wanted, int index) {
    std::string name;
    std::size_t pos = 0;
    int characters = 0;
    while (pos < wanted.size() && characters < 31) {
        const std::size_t start = pos;
        const char32_t cp = decodeUtf8(wanted, pos);
        if (std::u32string_view(U"[]:*?/\\").find(cp) != std::u32string_view::npos) continue;
        name.append(wanted, start, pos - start);
        ++characters;
    }
    return name.empty() ? "Tabelle" + std::to_string(index + 1) : name;
}

std::string numberFormat(int decimals) {
    decimals = std::clamp(decimals, 0, 10);
    return decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
}

// Width of a column in characters: the longest text in it, within reason.
double columnWidth(const Worksheet& sheet, std::size_t column) {
    std::size_t widest = column < sheet.headings.size() ? sheet.headings[column].size() : 0;
    for (const auto& row : sheet.rows) {
        if (column < row.size()) {
            const WorksheetCell& cell = row[column];
            widest = std::max(widest, cell.kind == WorksheetCell::Kind::Text ? cell.text.size() : std::size_t{10});
        }
    }
    return static_cast<double>(std::clamp<std::size_t>(widest + 2, 6, 60));
}

bool writeSheet(lxw_workbook* book, const Worksheet& sheet, int index, lxw_format* heading, lxw_format* integer) {
    lxw_worksheet* ws = workbook_add_worksheet(book, sheetName(sheet.name, index).c_str());
    if (ws == nullptr) return false;
    lxw_format* number = workbook_add_format(book);
    format_set_num_format(number, numberFormat(sheet.decimals).c_str());
    bool ok = true;
    for (std::size_t c = 0; c < sheet.headings.size(); ++c) {
        const auto col = static_cast<lxw_col_t>(c);
        ok = ok && worksheet_write_string(ws, 0, col, sheet.headings[c].c_str(), heading) == LXW_NO_ERROR;
        worksheet_set_column(ws, col, col, columnWidth(sheet, c), nullptr);
    }
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        for (std::size_t c = 0; c < sheet.rows[r].size(); ++c) {
            const WorksheetCell& cell = sheet.rows[r][c];
            const auto col = static_cast<lxw_col_t>(c);
            lxw_error e = LXW_NO_ERROR;
            switch (cell.kind) {
            case WorksheetCell::Kind::Empty: break;
            case WorksheetCell::Kind::Integer:
                e = worksheet_write_number(ws, row, col, static_cast<double>(cell.number), integer);
                break;
            case WorksheetCell::Kind::Number:
                e = worksheet_write_number(ws, row, col, static_cast<double>(cell.number), number);
                break;
            case WorksheetCell::Kind::Text:
                if (!cell.text.empty()) e = worksheet_write_string(ws, row, col, cell.text.c_str(), nullptr);
                break;
            }
            ok = ok && e == LXW_NO_ERROR;
        }
    }
    worksheet_freeze_panes(ws, 1, 0);
    return ok;
}

// libxlsxwriter prints numbers with the C library's printf, which follows
// LC_NUMERIC: under a German locale it would write "12,625" into the XML, a
// workbook no reader accepts. The C numeric rules hold for this thread only while
// the workbook is written; the process locale is never touched.
class CNumericsOnThisThread {
public:
    CNumericsOnThisThread()
        : m_c(newlocale(LC_NUMERIC_MASK, "C", duplocale(uselocale(static_cast<locale_t>(nullptr))))) {
        if (m_c != static_cast<locale_t>(nullptr)) m_previous = uselocale(m_c);
    }
    ~CNumericsOnThisThread() {
        if (m_c == static_cast<locale_t>(nullptr)) return;
        uselocale(m_previous);
        freelocale(m_c);
    }
    CNumericsOnThisThread(const CNumericsOnThisThread&) = delete;
    CNumericsOnThisThread& operator=(const CNumericsOnThisThread&) = delete;

private:
    locale_t m_c;
    locale_t m_previous = static_cast<locale_t>(nullptr);
};

// Removes the folder the workbook was built in, whatever happened.
struct ScratchFolder {
    std::string path;
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

} // namespace

int writeXlsx(const std::string& path, const std::vector<Worksheet>& sheets) {
    const CNumericsOnThisThread numerics;
    // libxlsxwriter opens its file by name and follows whatever is there, so it
    // builds the workbook in a folder of a fresh name that only this program can
    // write to, beside the target (not in a shared /tmp); the bytes are then
    // committed like every other file of the program.
    const std::string target = writeTarget(path);
    if (target.empty()) return ioFailure(errno, false);
    if (const int refusal = replaceRefusal(target); refusal != 0) return ioFailure(refusal, false);
    std::string scratch = folderOf(target) + "/.zam1-xlsx-XXXXXX";
    if (::mkdtemp(scratch.data()) == nullptr) return ioFailure(errno, false);
    const ScratchFolder removeAtEnd{scratch};
    const std::string book = scratch + "/book.xlsx";
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    options.tmpdir = scratch.data();
    lxw_workbook* workbook = workbook_new_opt(book.c_str(), &options);
    if (workbook == nullptr) return ioFailure(EACCES, false);
    lxw_format* heading = workbook_add_format(workbook);
    format_set_bold(heading);
    lxw_format* integer = workbook_add_format(workbook);
    format_set_num_format(integer, "0");
    bool ok = true;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        ok = writeSheet(workbook, sheets[i], static_cast<int>(i), heading, integer) && ok;
    }
    const lxw_error closed = workbook_close(workbook);  // also frees the workbook
    if (!ok || closed != LXW_NO_ERROR) {
        return ioFailure(closed == LXW_ERROR_CREATING_XLSX_FILE || closed == LXW_ERROR_CREATING_TMPFILE ? EACCES
                                                                                                         : ENOSPC,
                         false);
    }
    std::string bytes;
    if (const int read = readWholeFile(book, bytes); read != kIoOk) return read;
    return writeFileSafely(path, bytes);
}

} // namespace zam1
