#pragma once
// A small table writer for the main report: up to nine columns, each with a
// width and a caption. On the text devices a framed block of padded cells, on the
// spreadsheet devices tab-separated lines, on the HTML device a bordered table
// with right-aligned cells after the first.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

class OutputChannel;

struct ReportColumn {
    int width = 0;       // the columns end at the first of width 0
    std::string caption; // at most 60 characters
};

class ReportTable {
public:
    static constexpr std::size_t kMaxColumns = 9;

    // Writes the caption block.
    ReportTable(OutputChannel& out, std::initializer_list<ReportColumn> columns, bool separatorAfterRow = false);
    void writeRow(const std::vector<std::string>& cells);
    // The last cell given runs over all the columns after it (a note in place of
    // the numbers of a row).
    void writeSpanningRow(const std::vector<std::string>& cells);
    void close();

private:
    OutputChannel& m_out;
    std::vector<ReportColumn> m_columns;
    bool m_separatorAfterRow;
};

} // namespace zam1
