#pragma once
// The analysis settings of a project in a JSON file beside it ("name.zm1" ->
// "name.zm1.json"), so that the project file itself stays byte for byte as the
// program has always written it:
//
//   { "format": 1, "method": "rss", "monteCarlo": { "samples": 100000, "seed": 1 },
//     "elements": [ { "element": 3, "distribution": "uniform" },
//                   { "element": 5, "distribution": "shiftedNormal", "meanShiftPercent": 10 } ],
//     "closings": [ { "closing": 1, "lower": 0.1, "upper": 0.5 } ] }
//
// Measured values stand in for an element's distribution with
//   { "element": 4, "distribution": "measured", "measured": "bore.csv", "column": "D", "resample": true }
// ("distribution" may be left out when "measured" names the file; see measured_data.h).
//
// Tolerance allocation adds to an element's entry "fixed", "minTolerance",
// "maxTolerance" and "cost" { "model", "a", "b", "tau" }, and to a closing
// dimension's entry "targetPpm" or "targetCpk" (allocation_data.h).
//
// Correlated elements (correlation.h): "correlations": [ { "elements": [3, 5], "r": 0.8 } ];
// written only when there are pairs. An element the project does not have, an
// element paired with itself, a pair named twice or pairs whose matrix is not
// positive semi-definite refuse the file, naming the pair.
//
// Every field is optional. Reading is strict: a wrong type, an unknown field or
// name, lower > upper, samples outside 1..10^8 refuse the whole file with a
// message naming the field, and the data in memory stay as they were. An element
// or closing dimension the project does not have is only noted and skipped.

#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/analysis_data.h"

namespace zam1 {

class Chain;

std::string sidecarPath(const std::string& projectPath);

// A settings file larger than this is refused unread; lists and objects nested
// deeper than this are refused before they are parsed.
inline constexpr std::size_t kMaxSidecarBytes = 16u << 20;
inline constexpr int kMaxSidecarDepth = 32;

struct SidecarRead {
    bool ok = true;
    std::string error;               // the field and what is wrong with it
    std::vector<std::string> notes;  // what was skipped
};

// Where an element's file of measured values is looked for when its name is
// relative (the settings file's folder), and the language (configuration index)
// its faults are told in.
struct SidecarContext {
    std::string folder = ".";
    int language = 0;
};

// Parses `text` against the chain's element and closing counts; on success
// replaces `data`, otherwise leaves it alone. The files of measured values are
// read here: one that cannot be read refuses the settings, naming the element
// and the file.
SidecarRead parseSidecar(std::string_view text, const Chain& chain, AnalysisData& data,
                         const SidecarContext& context = {});

// A missing file is no error: the data stay as they are (the defaults for a new run).
// Anything else under the name that is not a readable regular file of at most
// kMaxSidecarBytes is (a dangling link, a folder, a FIFO, a device).
SidecarRead readSidecar(const std::string& path, const Chain& chain, AnalysisData& data, int language = 0);

std::string sidecarText(const AnalysisData& data);

// Through the safe writer: a failed write keeps the file that was there. Returns
// the I/O result number (0 on success).
int writeSidecar(const std::string& path, const AnalysisData& data);

} // namespace zam1
