#include "core/analysis/sidecar.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <set>
#include <sys/stat.h>

#include "core/analysis/measured_data.h"
#include "core/exchange/exchange_texts.h"
#include "core/model/chain.h"
#include "core/platform/file_io.h"

namespace zam1 {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kFormat = 1;

// Thrown inside the parser only, caught in parseSidecar.
struct FieldError {
    std::string message;
};

// How deeply lists and objects are nested, brackets inside texts not counted. The
// parser builds every level before it could be refused, so a file of nothing but
// "[" would take gigabytes; the depth is known before parsing.
int nestingDepth(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    bool inText = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inText) {
            if (c == '\\') ++i;
            else if (c == '"') inText = false;
        } else if (c == '"') {
            inText = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > kMaxSidecarDepth) break;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

[[noreturn]] void fail(const std::string& field, const std::string& what) { throw FieldError{field + ": " + what}; }

void onlyKnownFields(const Json& object, const std::string& where, std::initializer_list<std::string_view> known) {
    if (!object.is_object()) fail(where.empty() ? "(top level)" : where, "must be an object");
    for (const auto& item : object.items()) {
        if (std::find(known.begin(), known.end(), item.key()) == known.end()) {
            fail(where.empty() ? item.key() : where + "." + item.key(), "unknown field");
        }
    }
}

long double numberAt(const Json& value, const std::string& field) {
    if (!value.is_number()) fail(field, "must be a number");
    const long double number = value.get<long double>();
    if (!std::isfinite(number)) fail(field, "must be a finite number");
    return number;
}

std::int64_t integerAt(const Json& value, const std::string& field) {
    if (!value.is_number_integer()) fail(field, "must be a whole number");
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
        fail(field, "is too large");
    }
    return value.get<std::int64_t>();
}

std::string stringAt(const Json& value, const std::string& field) {
    if (!value.is_string()) fail(field, "must be a text");
    return value.get<std::string>();
}

void readOptions(const Json& root, AnalysisOptions& options) {
    if (root.contains("method")) {
        const std::string name = stringAt(root["method"], "method");
        const auto method = methodFromName(name);
        if (!method) fail("method", "unknown method \"" + name + "\" (wc, rss, mc)");
        options.method = *method;
    }
    if (!root.contains("monteCarlo")) return;
    const Json& mc = root["monteCarlo"];
    onlyKnownFields(mc, "monteCarlo", {"samples", "seed"});
    if (mc.contains("samples")) {
        const std::int64_t n = integerAt(mc["samples"], "monteCarlo.samples");
        if (n < kMinSamples || n > kMaxSamples) fail("monteCarlo.samples", "must be 1 to 100000000");
        options.samples = n;
    }
    if (mc.contains("seed")) {
        const Json& seed = mc["seed"];
        if (!seed.is_number_integer() || (!seed.is_number_unsigned() && seed.get<std::int64_t>() < 0)) {
            fail("monteCarlo.seed", "must be " + std::string(kSeedRangeText));
        }
        options.seed = seed.get<std::uint64_t>();
    }
}

// The entries of a list; each names its number in `key`. Numbers the project
// does not have go to the notes.
template <typename ReadEntry>
void readList(const Json& root, const char* list, const char* key, int count, std::vector<std::string>& notes,
              ReadEntry readEntry) {
    if (!root.contains(list)) return;
    const Json& entries = root[list];
    if (!entries.is_array()) fail(list, "must be a list");
    std::set<std::int64_t> seen;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string where = std::string(list) + "[" + std::to_string(i) + "]";
        const Json& entry = entries[i];
        if (!entry.is_object() || !entry.contains(key)) fail(where, std::string("must be an object with \"") + key + "\"");
        const std::int64_t number = integerAt(entry[key], where + "." + key);
        if (!seen.insert(number).second) fail(where + "." + key, std::to_string(number) + " is named twice");
        readEntry(entry, where);  // checked even when skipped, so a typo is found before it matters
        if (number < 1 || number > count) {
            notes.push_back(where + ": the project has no " + key + " " + std::to_string(number) + "; ignored");
            continue;
        }
        readEntry.keep(static_cast<int>(number));
    }
}

long double positiveAt(const Json& value, const std::string& field) {
    const long double number = numberAt(value, field);
    if (!(number > 0)) fail(field, "must be above 0");
    return number;
}

ElementCost readCost(const Json& cost, const std::string& where) {
    onlyKnownFields(cost, where, {"model", "a", "b", "tau"});
    ElementCost c;
    if (cost.contains("model")) {
        const std::string name = stringAt(cost["model"], where + ".model");
        const auto model = costModelFromName(name);
        if (!model) fail(where + ".model", "unknown cost model \"" + name + "\" (reciprocal, reciprocalSquared, exponential)");
        c.model = *model;
    }
    if (cost.contains("a")) {
        c.a = numberAt(cost["a"], where + ".a");
        if (c.a < 0) fail(where + ".a", "must not be below 0");
    }
    if (cost.contains("b")) c.b = positiveAt(cost["b"], where + ".b");
    if (c.model == CostModel::Exponential) {
        if (!cost.contains("tau")) fail(where + ".tau", "is needed by the exponential model");
        c.tau = positiveAt(cost["tau"], where + ".tau");
    } else if (cost.contains("tau")) {
        fail(where + ".tau", "only with the exponential model");
    }
    return c;
}

// Whether and how far allocation may change the element; none when the entry says nothing about it.
std::optional<ElementFreedom> readFreedom(const Json& entry, const std::string& where) {
    if (!entry.contains("fixed") && !entry.contains("minTolerance") && !entry.contains("maxTolerance") &&
        !entry.contains("cost")) {
        return std::nullopt;
    }
    ElementFreedom f;
    if (entry.contains("fixed")) {
        if (!entry["fixed"].is_boolean()) fail(where + ".fixed", "must be true or false");
        f.fixed = entry["fixed"].get<bool>();
    }
    if (entry.contains("minTolerance")) f.minTolerance = positiveAt(entry["minTolerance"], where + ".minTolerance");
    if (entry.contains("maxTolerance")) f.maxTolerance = positiveAt(entry["maxTolerance"], where + ".maxTolerance");
    if (f.minTolerance && f.maxTolerance && *f.minTolerance > *f.maxTolerance) {
        fail(where + ".minTolerance", "is above maxTolerance");
    }
    if (entry.contains("cost")) f.cost = readCost(entry["cost"], where + ".cost");
    return f;
}

struct ElementEntry {
    std::map<int, ElementDistribution>& out;
    std::map<int, ElementFreedom>& freedoms;
    const SidecarContext& context;
    ElementDistribution last;
    std::optional<ElementFreedom> lastFreedom;
    std::optional<MeasuredSample> lastMeasured;
    std::string lastWhere;
    void operator()(const Json& entry, const std::string& where) {
        onlyKnownFields(entry, where,
                        {"element", "distribution", "meanShiftPercent", "measured", "column", "resample", "fixed",
                         "minTolerance", "maxTolerance", "cost"});
        last = ElementDistribution{};
        lastWhere = where;
        if (entry.contains("distribution")) {
            const std::string name = stringAt(entry["distribution"], where + ".distribution");
            const auto kind = distributionFromName(name);
            if (!kind) {
                fail(where + ".distribution",
                     "unknown distribution \"" + name + "\" (normal, uniform, triangular, shiftedNormal, measured)");
            }
            last.kind = *kind;
        } else if (entry.contains("measured")) {
            last.kind = Distribution::Measured;
        }
        if (entry.contains("meanShiftPercent")) {
            if (last.kind != Distribution::ShiftedNormal) fail(where + ".meanShiftPercent", "only with shiftedNormal");
            last.meanShiftPercent = numberAt(entry["meanShiftPercent"], where + ".meanShiftPercent");
            if (std::fabs(last.meanShiftPercent) > kMaxMeanShiftPercent) {
                fail(where + ".meanShiftPercent",
                     "must be -50 to 50 (percent of the tolerance), element " +
                         std::to_string(entry["element"].get<std::int64_t>()));
            }
        }
        readMeasured(entry, where);
        lastFreedom = readFreedom(entry, where);
    }
    // The file's name and how to read it; the file itself only for an element the project has.
    void readMeasured(const Json& entry, const std::string& where) {
        lastMeasured.reset();
        const bool measured = last.kind == Distribution::Measured;
        for (const char* field : {"measured", "column", "resample"}) {
            if (entry.contains(field) && !measured) fail(where + "." + field, "only with the distribution measured");
        }
        if (!measured) return;
        if (!entry.contains("measured")) fail(where + ".measured", "is needed by the distribution measured (a file)");
        MeasuredSample sample;
        sample.file = stringAt(entry["measured"], where + ".measured");
        if (sample.file.empty()) fail(where + ".measured", "must name a file");
        if (entry.contains("column")) sample.column = stringAt(entry["column"], where + ".column");
        if (entry.contains("resample")) {
            if (!entry["resample"].is_boolean()) fail(where + ".resample", "must be true or false");
            sample.resample = entry["resample"].get<bool>();
        }
        lastMeasured = std::move(sample);
    }
    void keep(int n) {
        if (lastMeasured) {
            const MeasuredLoad load = loadMeasuredSample(*lastMeasured, context.folder, exchangeTexts(context.language));
            if (!load.sample) fail(lastWhere + ".measured", "Element " + std::to_string(n) + ", " + load.error);
            last.measured = load.sample;
        }
        out[n] = last;
        if (lastFreedom) freedoms[n] = *lastFreedom;
    }
};

struct ClosingEntry {
    std::map<int, RequiredLimits>& out;
    std::map<int, AllocationTarget>& targets;
    RequiredLimits last;
    AllocationTarget lastTarget;
    void operator()(const Json& entry, const std::string& where) {
        onlyKnownFields(entry, where, {"closing", "lower", "upper", "targetPpm", "targetCpk"});
        last = RequiredLimits{};
        if (entry.contains("lower") && !entry["lower"].is_null()) last.lower = numberAt(entry["lower"], where + ".lower");
        if (entry.contains("upper") && !entry["upper"].is_null()) last.upper = numberAt(entry["upper"], where + ".upper");
        if (last.lower && last.upper && *last.lower > *last.upper) fail(where + ".lower", "is above upper");
        lastTarget = AllocationTarget{};
        if (entry.contains("targetPpm")) {
            lastTarget.ppm = positiveAt(entry["targetPpm"], where + ".targetPpm");
            if (*lastTarget.ppm >= 1e6L) fail(where + ".targetPpm", "must be below 1000000");
        }
        if (entry.contains("targetCpk")) {
            if (lastTarget.ppm) fail(where + ".targetCpk", "only one of targetPpm and targetCpk");
            lastTarget.cpk = positiveAt(entry["targetCpk"], where + ".targetCpk");
        }
        if (lastTarget.any() && !last.any()) {
            fail(where + (lastTarget.ppm ? ".targetPpm" : ".targetCpk"), "needs a lower or an upper limit");
        }
    }
    void keep(int k) {
        out[k] = last;
        if (lastTarget.any()) targets[k] = lastTarget;
    }
};

// "correlations": [{"elements": [3, 5], "r": 0.8}]: read whole, then checked
// as a list (an unknown element refuses the file here: a pair that silently
// fell away would change every figure of its closing dimensions).
std::vector<Correlation> readCorrelations(const Json& root, int elementCount) {
    std::vector<Correlation> out;
    if (!root.contains("correlations")) return out;
    const Json& entries = root["correlations"];
    if (!entries.is_array()) fail("correlations", "must be a list");
    const auto whereOf = [](std::size_t i) { return "correlations[" + std::to_string(i) + "]"; };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string where = whereOf(i);
        const Json& entry = entries[i];
        onlyKnownFields(entry, where, {"elements", "r"});
        if (!entry.contains("elements")) fail(where + ".elements", "is needed");
        if (!entry.contains("r")) fail(where + ".r", "is needed");
        const Json& pair = entry["elements"];
        if (!pair.is_array() || pair.size() != 2) fail(where + ".elements", "must be a list of two element numbers");
        int numbers[2] = {0, 0};
        for (std::size_t k = 0; k < 2; ++k) {
            const std::int64_t n = integerAt(pair[k], where + ".elements[" + std::to_string(k) + "]");
            if (n < 1 || n > elementCount) fail(where + ".elements", "the project has no element " + std::to_string(n));
            numbers[k] = static_cast<int>(n);
        }
        out.push_back({numbers[0], numbers[1], numberAt(entry["r"], where + ".r")});
    }
    if (const auto problem = correlationProblem(out, elementCount)) {
        fail(whereOf(problem->index) + (problem->field.empty() ? "" : "." + problem->field), problem->message);
    }
    return out;
}

void addFreedom(Json& entry, const ElementFreedom& f) {
    if (f.fixed) entry["fixed"] = true;
    if (f.minTolerance) entry["minTolerance"] = static_cast<double>(*f.minTolerance);
    if (f.maxTolerance) entry["maxTolerance"] = static_cast<double>(*f.maxTolerance);
    Json cost = {{"model", std::string(costModelName(f.cost.model))},
                 {"a", static_cast<double>(f.cost.a)},
                 {"b", static_cast<double>(f.cost.b)}};
    if (f.cost.model == CostModel::Exponential) cost["tau"] = static_cast<double>(f.cost.tau);
    entry["cost"] = cost;
}

} // namespace

std::string sidecarPath(const std::string& projectPath) { return projectPath + ".json"; }

SidecarRead parseSidecar(std::string_view text, const Chain& chain, AnalysisData& data, const SidecarContext& context) {
    SidecarRead result;
    if (text.size() > kMaxSidecarBytes) return {false, "is larger than 16 MiB; not read", {}};
    if (nestingDepth(text) > kMaxSidecarDepth) {
        return {false, "lists and objects are nested deeper than " + std::to_string(kMaxSidecarDepth) + " levels", {}};
    }
    AnalysisData fresh;
    try {
        const Json root = Json::parse(text);
        onlyKnownFields(root, "", {"format", "method", "monteCarlo", "elements", "closings", "correlations"});
        if (root.contains("format") && integerAt(root["format"], "format") != kFormat) {
            fail("format", "must be " + std::to_string(kFormat));
        }
        readOptions(root, fresh.options);
        readList(root, "elements", "element", chain.elementCount(), result.notes,
                 ElementEntry{fresh.elements, fresh.allocation.elements, context, {}, {}, {}, {}});
        readList(root, "closings", "closing", chain.closingCount(), result.notes, ClosingEntry{fresh.limits, fresh.allocation.targets, {}, {}});
        fresh.correlations = readCorrelations(root, chain.elementCount());
        // A part drawn from its own measured values has no normal score to correlate.
        for (std::size_t i = 0; i < fresh.correlations.size(); ++i) {
            for (const int n : {fresh.correlations[i].first, fresh.correlations[i].second}) {
                const ElementDistribution d = fresh.distributionOf(n);
                if (d.measured && d.measured->resample) {
                    fail("correlations[" + std::to_string(i) + "]",
                         "element " + std::to_string(n) + " is drawn from its measured values (resample) and cannot be correlated");
                }
            }
        }
    } catch (const FieldError& e) {
        result.ok = false;
        result.error = e.message;
        return result;
    } catch (const Json::exception& e) {
        result.ok = false;
        result.error = std::string("not JSON: ") + e.what();
        return result;
    }
    data = std::move(fresh);
    return result;
}

SidecarRead readSidecar(const std::string& path, const Chain& chain, AnalysisData& data, int language) {
    // Only nothing at all under the name means "no settings"; a dangling link, a
    // folder or a FIFO there is a settings file that cannot be read.
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 && errno == ENOENT) return {};
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {false, "cannot be read (" + std::string(std::strerror(errno)) + ")", {}};
    if (!S_ISREG(st.st_mode)) return {false, "is not a regular file; not read", {}};
    if (static_cast<std::uint64_t>(st.st_size) > kMaxSidecarBytes) return {false, "is larger than 16 MiB; not read", {}};
    std::string bytes;
    if (readWholeFile(path, bytes, kMaxSidecarBytes) != kIoOk) return {false, "cannot be read", {}};
    const std::size_t slash = path.rfind('/');
    const SidecarContext context{slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash), language};
    return parseSidecar(bytes, chain, data, context);
}

std::string sidecarText(const AnalysisData& data) {
    Json root;
    root["format"] = kFormat;
    root["method"] = std::string(methodName(data.options.method));
    root["monteCarlo"] = {{"samples", data.options.samples}, {"seed", data.options.seed}};
    Json elements = Json::array();
    std::set<int> elementNumbers;
    for (const auto& entry : data.elements) elementNumbers.insert(entry.first);
    for (const auto& entry : data.allocation.elements) elementNumbers.insert(entry.first);
    for (int n : elementNumbers) {
        ElementDistribution d = data.distributionOf(n);
        if (d.kind == Distribution::Measured && !d.measured) d = {};  // no values to name
        Json e = {{"element", n}, {"distribution", std::string(distributionName(d.kind))}};
        if (d.kind == Distribution::ShiftedNormal) e["meanShiftPercent"] = static_cast<double>(d.meanShiftPercent);
        if (d.kind == Distribution::Measured && d.measured) {
            e["measured"] = d.measured->file;
            if (d.measured->column) e["column"] = *d.measured->column;
            e["resample"] = d.measured->resample;
        }
        if (data.allocation.elements.count(n) != 0) addFreedom(e, data.allocation.freedomOf(n));
        elements.push_back(e);
    }
    root["elements"] = elements;
    Json closings = Json::array();
    std::set<int> closingNumbers;
    for (const auto& entry : data.limits) closingNumbers.insert(entry.first);
    for (const auto& entry : data.allocation.targets) closingNumbers.insert(entry.first);
    for (int k : closingNumbers) {
        const RequiredLimits l = data.limitsOf(k);
        const AllocationTarget t = data.allocation.targetOf(k);
        Json c = {{"closing", k}};
        if (l.lower) c["lower"] = static_cast<double>(*l.lower);
        if (l.upper) c["upper"] = static_cast<double>(*l.upper);
        // A target means nothing without a limit (the dialog may have cleared them) and would refuse the file.
        if (t.ppm && l.any()) c["targetPpm"] = static_cast<double>(*t.ppm);
        if (t.cpk && l.any()) c["targetCpk"] = static_cast<double>(*t.cpk);
        closings.push_back(c);
    }
    root["closings"] = closings;
    if (!data.correlations.empty()) {  // a file without pairs stays as it was
        Json pairs = Json::array();
        for (const Correlation& c : data.correlations) {
            pairs.push_back({{"elements", Json::array({c.first, c.second})}, {"r", static_cast<double>(c.r)}});
        }
        root["correlations"] = pairs;
    }
    return root.dump(2) + "\n";
}

int writeSidecar(const std::string& path, const AnalysisData& data) { return writeFileSafely(path, sidecarText(data)); }

} // namespace zam1
