#pragma once
// "Import ZAM": reads an export report (".zam", the main report without
// probability tables as writeExportReport leaves it) back into a project.
//
// The report is found by its layout, not by its captions, so German and English
// reports read alike: the head (program title, file line, three description
// lines), the element list up to its "999" row, the Info table when the first
// element has a remark, the closing table of the constant distribution (rows start
// with two integers), the Gaussian table (checked against it) and the remark table
// of the closing dimensions when present. Page headers, form feeds, blank and
// separator lines may fall anywhere and are passed over.
//
// What the report does not carry stays as a new project has it: production sigma,
// remarks of elements/closing dimensions when the first one has none, and the
// text of a closing dimension that could not be resolved unless the remark table
// names it. Ends or element numbers wider than their three columns arrive cut, as
// the report shows them.

#include <string>
#include <string_view>

namespace zam1 {

class Chain;
struct ProgramState;
struct ProjectTexts;

enum class ZamImportStatus {
    Ok,
    NotReport, // not an export report at all
    Damaged,   // a report whose tables are cut short or hold unreadable values
};

struct ZamImportResult {
    ZamImportStatus status = ZamImportStatus::Ok;
    int line = 0; // 1-based line where reading failed
};

// Parses the bytes into fresh instances (a cleared chain, empty texts). Only the
// remark lines of the texts are set; the chain's decimals follow the report's
// numbers. Derived element values are not computed here.
ZamImportResult parseZamReport(std::string_view bytes, Chain& chain, ProjectTexts& texts);

// Reads `path` into the state's project: on success chain and remark lines are
// replaced (drawing name and number, which the report does not carry reliably, and
// the documentation stay), the derived element values recomputed and the project
// marked modified. On failure the message is shown, the error flag set and the
// project left exactly as it was.
bool importZamFile(ProgramState& state, const std::string& path);

} // namespace zam1
