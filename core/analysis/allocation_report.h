#pragma once
// Allocations written out: a text report (per closing dimension the target, the
// figures before and as a fresh analysis finds them after, the costs, and each
// element before and after) and JSON for other programs (fields in the README,
// schema in tests/analysis/allocation.schema.json).

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

struct Allocation;

void writeAllocationReport(const std::vector<Allocation>& allocations, std::string_view projectName, std::ostream& out);

std::string allocationJson(const std::vector<Allocation>& allocations, std::string_view projectName);

} // namespace zam1
