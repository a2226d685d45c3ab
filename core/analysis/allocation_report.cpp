#include "core/analysis/allocation_report.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

#include "core/analysis/allocation.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kWidth = 78;
constexpr int kDecimals = 4;

// Right-aligned with a "." whatever the locale; a report of the largest project
// has a million of these, so they go through to_chars rather than printf.
std::string fixed(long double value, int width, int decimals) {
    char digits[64];
    const auto r = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value), std::chars_format::fixed,
                                 decimals);
    std::string_view text(digits, static_cast<std::size_t>(r.ptr - digits));
    // A value that rounds to zero is shown without its sign.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos) text.remove_prefix(1);
    std::string out(static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))), ' ');
    return out.append(text);  // never cut: a wide number pushes the columns
}
std::string mm(long double value) { return fixed(value, 10, kDecimals); }
std::string number(const std::optional<long double>& value, int width, int decimals) {
    if (!value) return textRight("-", width);
    if (std::isinf(*value)) return textRight(*value > 0 ? "+inf" : "-inf", width);
    return fixed(*value, width, decimals);
}
std::string ppm(const std::optional<long double>& limit, long double value) {
    return limit ? fixed(value, 12, 1) : textRight("-", 12);
}

std::string targetText(const AllocationTarget& t) {
    if (t.ppm) return "ppm <= " + autoNumber(*t.ppm, {}, 6);
    if (t.cpk) return "Cpk >= " + autoNumber(*t.cpk, {}, 6);
    return "none";
}

// "h9", "ISO 2768-m" or the bare deviations.
std::string codeText(const ToleranceState& s) {
    if (!s.iso.empty()) return s.iso;
    if (!s.generalClass.empty()) return "2768-" + s.generalClass;
    return "";
}

void writeFigures(std::string_view label, const Allocation& a, const AllocationFigures& f, std::ostream& out) {
    out << "  " << textLeft(label, 12) << "mean  " << mm(f.mean) << "  s " << mm(f.sigma) << "  ppm below "
        << ppm(a.limits.lower, f.ppmBelow) << "  above " << ppm(a.limits.upper, f.ppmAbove) << "  Cpk "
        << number(f.cpk, 7, 3) << '\n';
}

std::string verdict(const Allocation& a) {
    if (!a.problem.empty()) return "NOT ALLOCATED";
    return a.reached() ? "reached" : "NOT REACHABLE";
}

void writeElements(const Allocation& a, std::ostream& out) {
    out << "  element  sens.  before                          after                           cost before     after\n";
    for (const AllocatedElement& e : a.elements) {
        out << "  " << intRight(e.element, 7) << "  " << (e.sensitivity > 0 ? "  +1" : "  -1") << "  "
            << mm(e.before.upper) << mm(e.before.lower) << "  " << textLeft(codeText(e.before), 10) << "  "
            << mm(e.after.upper) << mm(e.after.lower) << "  " << textLeft(codeText(e.after), 10) << "  "
            << number(e.costBefore, 10, 4) << number(e.costAfter, 10, 4);
        if (e.fixed) out << "  fixed";
        if (e.atLimit) out << "  at limit";
        out << '\n';
    }
}

void writeAllocation(const Allocation& a, std::ostream& out) {
    out << "Closing dimension " << a.closing << "  " << a.text << "  (" << a.fromElement << " -> " << a.toElement
        << ")  method " << allocationMethodName(a.method) << "  target " << targetText(a.target) << "  " << verdict(a)
        << '\n';
    if (!a.problem.empty()) {
        out << "  " << a.problem << '\n';
        return;
    }
    out << "  required      lower " << number(a.limits.lower, 10, kDecimals) << "  upper "
        << number(a.limits.upper, 10, kDecimals) << '\n';
    writeFigures("before", a, a.before, out);
    if (a.achieved) writeFigures("after", a, *a.achieved, out);
    out << "  cost          " << number(a.cost, 12, 4) << "   before " << number(a.costBefore, 12, 4)
        << "   proportional " << number(a.proportionalCost, 12, 4) << '\n';
    if (a.proportionalKept) out << "  proportional's tolerances cost less than the multiplier's and are given\n";
    if (!a.reached()) {
        out << "  The target cannot be met within the elements' limits; the tightest reachable is shown.\n";
        std::string limited;
        for (const AllocatedElement& e : a.elements) {
            if (e.atLimit) limited += (limited.empty() ? "" : ", ") + std::to_string(e.element);
        }
        out << "  elements at their limit: " << (limited.empty() ? "none" : limited) << '\n';
    }
    writeElements(a, out);
}

Json optionalNumber(const std::optional<long double>& value) {
    return value && std::isfinite(*value) ? Json(static_cast<double>(*value)) : Json(nullptr);
}
Json finiteNumber(long double value) { return optionalNumber(value); }

Json stateJson(const ToleranceState& s) {
    return {{"upper", static_cast<double>(s.upper)},
            {"lower", static_cast<double>(s.lower)},
            {"iso", s.iso.empty() ? Json(nullptr) : Json(s.iso)},
            {"generalClass", s.generalClass.empty() ? Json(nullptr) : Json(s.generalClass)}};
}

Json figuresJson(const Allocation& a, const AllocationFigures& f) {
    return {{"mean", static_cast<double>(f.mean)},
            {"sigma", static_cast<double>(f.sigma)},
            {"ppmBelow", a.limits.lower ? Json(static_cast<double>(f.ppmBelow)) : Json(nullptr)},
            {"ppmAbove", a.limits.upper ? Json(static_cast<double>(f.ppmAbove)) : Json(nullptr)},
            {"cpk", optionalNumber(f.cpk)}};
}

Json allocationEntry(const Allocation& a) {
    Json j = {{"closing", a.closing}, {"text", a.text}, {"method", std::string(allocationMethodName(a.method))}};
    if (a.target.ppm) j["target"] = {{"ppm", static_cast<double>(*a.target.ppm)}};
    if (a.target.cpk) j["target"] = {{"cpk", static_cast<double>(*a.target.cpk)}};
    if (!a.target.any()) j["target"] = nullptr;
    j["required"] = {{"lower", optionalNumber(a.limits.lower)}, {"upper", optionalNumber(a.limits.upper)}};
    j["problem"] = a.problem.empty() ? Json(nullptr) : Json(a.problem);
    j["feasible"] = a.reached();
    const bool allocated = a.problem.empty();
    j["before"] = allocated ? figuresJson(a, a.before) : Json(nullptr);
    j["achieved"] = allocated && a.achieved ? figuresJson(a, *a.achieved) : Json(nullptr);
    j["cost"] = allocated ? finiteNumber(a.cost) : Json(nullptr);
    j["costBefore"] = allocated ? finiteNumber(a.costBefore) : Json(nullptr);
    j["proportionalCost"] = allocated ? finiteNumber(a.proportionalCost) : Json(nullptr);
    j["proportionalKept"] = a.proportionalKept;
    Json elements = Json::array();
    for (const AllocatedElement& e : a.elements) {
        elements.push_back({{"element", e.element},
                            {"sensitivity", e.sensitivity},
                            {"fixed", e.fixed},
                            {"atLimit", e.atLimit},
                            {"before", stateJson(e.before)},
                            {"after", stateJson(e.after)},
                            {"costBefore", optionalNumber(e.costBefore)},
                            {"cost", optionalNumber(e.costAfter)}});
    }
    j["elements"] = elements;
    return j;
}

} // namespace

void writeAllocationReport(const std::vector<Allocation>& allocations, std::string_view projectName,
                           std::ostream& out) {
    const std::string rule(kWidth, '-');
    out << "Tolerance allocation  " << projectName << '\n' << rule << '\n';
    bool all = true;
    for (const Allocation& a : allocations) {
        writeAllocation(a, out);
        out << rule << '\n';
        all = all && a.reached();
    }
    out << (all ? "Every target is reached.\n" : "Targets cannot be reached.\n");
}

std::string allocationJson(const std::vector<Allocation>& allocations, std::string_view projectName) {
    Json root;
    root["format"] = 1;
    root["project"] = std::string(projectName);
    Json list = Json::array();
    for (const Allocation& a : allocations) list.push_back(allocationEntry(a));
    root["allocations"] = list;
    // Every text is UTF-8 already; should a byte slip through, it is replaced, never a throw.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace zam1
