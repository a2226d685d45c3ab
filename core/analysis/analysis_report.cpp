#include "core/analysis/analysis_report.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <ostream>
#include <sstream>

#include "core/analysis/analysis.h"
#include "core/analysis/measured_data.h"
#include "core/lang/language.h"
#include "core/report/output_channel.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {

std::string_view verdictName(Verdict v) {
    switch (v) {
    case Verdict::Holds: return "holds";
    case Verdict::Undecided: return "undecided";
    case Verdict::Fails: return "fails";
    }
    return {};
}

std::string_view verdictSentence(Verdict v) {
    switch (v) {
    case Verdict::Holds: return "All required limits hold.";
    case Verdict::Fails: return "Required limits are violated.";
    case Verdict::Undecided: return "Undecided: the Monte Carlo sample does not show that every required limit holds.";
    }
    return {};
}

std::string_view varianceName(const ClosingAnalysis& c) {
    return c.declaredVariance ? "declared distributions" : "production sigma";
}

std::string_view worstCaseSideName(const std::optional<long double>& limit, WorstCaseSide side) {
    if (!limit) return "-";
    switch (side) {
    case WorstCaseSide::Holds: return "holds";
    case WorstCaseSide::Partly: return "partly beyond";
    case WorstCaseSide::All: return "all beyond";
    }
    return {};
}

namespace {

using Json = nlohmann::ordered_json;

constexpr int kWidth = 78;
constexpr int kDecimals = 4;

std::string mm(long double value) { return fixedText(value, 10, kDecimals, false); }
// Parts per million beyond a limit; "-" where the limit is not required.
std::string ppm(const std::optional<long double>& limit, long double value) {
    return limit ? fixedText(value, 12, 1, false) : textRight("-", 14);
}
std::string ratio(const std::optional<long double>& value) {
    return value ? fixedText(*value, 7, 3, false) : textRight("-", 7);
}

std::string limitText(const std::optional<long double>& limit) { return limit ? mm(*limit) : textRight("-", 10); }

std::string verdict(const ClosingAnalysis& c) {
    if (!c.limits.any()) return "no limits";
    switch (c.verdict) {
    case Verdict::Holds: return "holds";
    case Verdict::Undecided: return "UNDECIDED";
    case Verdict::Fails: return "FAILS";
    }
    return {};
}

// An end no sample bounds is open.
std::string endText(double value, int decimals) {
    if (value == -std::numeric_limits<double>::infinity()) return textRight("-inf", 10);
    if (value == std::numeric_limits<double>::infinity()) return textRight("+inf", 10);
    return fixedText(value, 10, decimals, false);
}
std::string intervalText(const Interval& i, int decimals) {
    return "[" + endText(i.low, decimals) + ", " + endText(i.high, decimals) + "]";
}

void writeConfidence(const ClosingAnalysis& c, std::ostream& out) {
    const SampleSummary& m = c.monteCarlo;
    const MonteCarloConfidence& k = c.mcConfidence;
    out << "                95 % interval  0.135 %   " << intervalText(m.p00135Interval, kDecimals) << '\n';
    out << "                               99.865 %  " << intervalText(m.p99865Interval, kDecimals) << '\n';
    if (c.limits.lower) {
        out << "                               ppm below " << intervalText(k.ppmBelow, 1) << "  se "
            << fixedText(k.ppmBelowError, 1, 1, false) << '\n';
    }
    if (c.limits.upper) {
        out << "                               ppm above " << intervalText(k.ppmAbove, 1) << "  se "
            << fixedText(k.ppmAboveError, 1, 1, false) << '\n';
    }
    if (!c.limits.any()) return;
    out << "                Monte Carlo verdict: " << verdictName(k.verdict);
    if (k.verdict == Verdict::Undecided) {
        if (k.samplesToDecide) {
            out << ", about " << *k.samplesToDecide << " samples would decide it";
        } else {
            out << ", a point lies on its limit";
        }
    }
    out << '\n';
}

std::string rText(long double r) { return autoNumber(r, {}, 6); }

std::string optionalFixed(const std::optional<long double>& value, int width, int decimals) {
    return value ? fixedText(*value, width, decimals, false) : textRight("-", width);
}

// The statistical method's closed-form sensitivities, most ppm saved first.
void writeSensitivities(const ClosingAnalysis& c, std::ostream& out) {
    out << "  what to tighten: each tolerance t narrowed by " << fixedText(kTightenShare * 100, 1, 0, false)
        << " % about its middle;\n"
        << "  statistical method, variance of the " << varianceName(c) << ";\n"
        << "  s' = ds/dt, ppm' = dppm/dt (ppm per mm)\n";
    out << "  element  dmean/dnom         s'         ppm'     ppm saved     s saved\n";
    for (const ElementSensitivity& e : c.sensitivities) {
        out << "  " << intRight(e.element, 7) << "  " << textRight(e.meanPerNominal > 0 ? "+1" : "-1", 10) << "  "
            << optionalFixed(e.sigmaPerTolerance, 9, 5) << "  " << optionalFixed(e.ppmPerTolerance, 11, 1) << "  "
            << optionalFixed(e.ppmSaved, 12, 3) << "  " << optionalFixed(e.sigmaSaved, 10, 6) << '\n';
    }
}

void writeClosing(const AnalysisResult& r, const ClosingAnalysis& c, std::ostream& out) {
    out << "Closing dimension " << c.number << "  " << c.text << "  (" << c.fromElement << " -> " << c.toElement
        << ")  " << verdict(c) << '\n';
    if (!c.resolved) {
        out << "  " << c.structureError << '\n';
        return;
    }
    out << "  required      lower " << limitText(c.limits.lower) << "  upper " << limitText(c.limits.upper) << '\n';
    out << "  nominal       " << mm(c.nominal) << '\n';
    out << "  worst case    min   " << mm(c.worstMin) << "  max   " << mm(c.worstMax) << "   below: "
        << worstCaseSideName(c.limits.lower, c.worstBelow) << ", above: " << worstCaseSideName(c.limits.upper, c.worstAbove) << '\n';
    if (!r.statistical) {
        out << "  statistical   sigma = 0: no statistical figures, no Monte Carlo\n";
        return;
    }
    out << "  statistical   mean  " << mm(c.mean) << "  +/-   " << mm(c.statDev) << "   s " << mm(c.sigma) << '\n';
    out << "                ppm below " << ppm(c.limits.lower, c.ppmBelow) << "  above "
        << ppm(c.limits.upper, c.ppmAbove) << "   Cp "
        << ratio(c.statCapability.cp) << "  Cpk " << ratio(c.statCapability.cpk) << '\n';
    out << "                variance: " << varianceName(c) << '\n';
    if (!c.correlations.empty()) {
        // As many pairs to a line as fit the report's width.
        std::string line = "                correlated:";
        for (const Correlation& p : c.correlations) {
            const std::string pair = "  " + intText(p.first) + " & " + intText(p.second) + " (r " + rText(p.r) + ")";
            if (line.size() + pair.size() > static_cast<std::size_t>(kWidth) && line.size() > 28) {
                out << line << '\n';
                line = "                           ";
            }
            line += pair;
        }
        out << line << '\n';
    }
    const SampleSummary& m = c.monteCarlo;
    const long double n = static_cast<long double>(m.count);
    out << "  Monte Carlo   mean  " << mm(m.mean) << "  sd    " << mm(m.stdDev) << "   min " << mm(m.min) << "  max "
        << mm(m.max) << '\n';
    out << "                0.135 % " << mm(m.p00135) << "  50 % " << mm(m.p50) << "  99.865 % " << mm(m.p99865) << '\n';
    out << "                ppm below " << ppm(c.limits.lower, m.below / n * kAllPpm) << "  above "
        << ppm(c.limits.upper, m.above / n * kAllPpm)
        << "   Cp " << ratio(c.mcCapability.cp) << "  Cpk " << ratio(c.mcCapability.cpk) << '\n';
    out << "                percentile form       Cp " << ratio(c.mcPercentileCapability.cp) << "  Cpk "
        << ratio(c.mcPercentileCapability.cpk) << "  (above: sd)\n";
    writeConfidence(c, out);
    if (c.limits.any()) out << "                The verdict judges the 0.135/99.865 % points, not Cp/Cpk.\n";
    out << "  element  sens.  tolerance  distribution    share   MC share\n";
    for (const Contribution& e : c.contributions) {
        out << "  " << intRight(e.element, 7) << "  " << (e.sensitivity > 0 ? "  +1" : "  -1") << "  "
            << mm(e.tolerance) << "  " << textLeft(distributionName(e.distribution), 14)
            << fixedText(e.sharePercent, 7, 2, false) << " %"
            << (e.monteCarloSharePercent ? fixedText(*e.monteCarloSharePercent, 9, 2, false) + " %" : textRight("-", 9))
            << '\n';
    }
    out << "  share: of the variance of the " << varianceName(c)
        << (c.correlations.empty() ? "" : ",\n         with half of each covariance term of a correlated pair") << '\n'
        << "  MC share: sample covariance with the result / its variance, " << m.shareSamples << " samples\n";
    writeSensitivities(c, out);
}

// The pairs as declared, before the closing dimensions.
void writeCorrelations(const AnalysisResult& r, std::ostream& out) {
    if (r.correlations.empty()) return;
    out << "Correlated elements: r of their dimensions (Monte Carlo: of their normal scores)\n";
    out << "  element  element          r\n";
    for (const Correlation& c : r.correlations) {
        out << "  " << intRight(c.first, 7) << "  " << intRight(c.second, 7) << "  " << textRight(rText(c.r), 9) << '\n';
    }
}

Json optionalNumber(const std::optional<long double>& value) {
    return value ? Json(static_cast<double>(*value)) : Json(nullptr);
}


// A figure against a limit: null where the limit is not required.
Json againstLimit(const std::optional<long double>& limit, long double value) {
    return limit ? Json(static_cast<double>(value)) : Json(nullptr);
}

Json capabilityJson(const Capability& c) { return {{"cp", optionalNumber(c.cp)}, {"cpk", optionalNumber(c.cpk)}}; }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Each element that stands on measured values, judged on its own.
void writeMeasured(const AnalysisResult& r, const ReportTexts& texts, std::ostream& out) {
    out << "Measured elements: mean and s against the element's drawing limits;\n"
           "  normality by Anderson-Darling, A*2 = A2 (1 + 0.75/n + 2.25/n2)\n";
    for (const MeasuredElement& m : r.measured) {
        const MeasuredSample& s = *m.sample;
        out << "  element " << m.element << "  " << quoted(s.file);
        if (s.column) out << " column " << quoted(*s.column);
        out << "  " << (s.resample ? "resampled" : "normal with mean and s") << '\n';
        out << "    n " << s.values.size() << "  mean " << mm(s.mean) << "  s " << mm(s.stdDev) << "  min "
            << mm(s.min) << "  max " << mm(s.max) << '\n';
        out << "    drawing  nominal " << mm(m.nominal) << "  lower " << limitText(m.drawing.lower) << "  upper "
            << limitText(m.drawing.upper) << "   Cp " << ratio(m.capability.cp) << "  Cpk "
            << ratio(m.capability.cpk) << '\n';
        if (!s.normality) {
            out << "    normality: every value is the same, no test\n";
            continue;
        }
        const NormalityTest& t = *s.normality;
        out << "    normality  A2 " << fixedText(t.a2, 1, 4, false) << "  A*2 " << fixedText(t.a2Star, 1, 4, false)
            << "  p " << fixedText(t.p, 1, 4, false) << '\n';
        if (t.doubtful()) out << "    " << oemToUtf8(texts.normalityDoubtful) << '\n';
    }
}

Json measuredJson(const AnalysisResult& r) {
    Json list = Json::array();
    for (const MeasuredElement& m : r.measured) {
        const MeasuredSample& s = *m.sample;
        Json j = {{"element", m.element},
                  {"file", s.file},
                  {"column", s.column ? Json(*s.column) : Json(nullptr)},
                  {"resample", s.resample},
                  {"n", s.values.size()},
                  {"mean", static_cast<double>(s.mean)},
                  {"sigma", static_cast<double>(s.stdDev)},
                  {"min", static_cast<double>(s.min)},
                  {"max", static_cast<double>(s.max)},
                  {"nominal", static_cast<double>(m.nominal)},
                  {"drawingLower", optionalNumber(m.drawing.lower)},
                  {"drawingUpper", optionalNumber(m.drawing.upper)}};
        j.update(capabilityJson(m.capability));
        if (s.normality) {
            const NormalityTest& t = *s.normality;
            j["normality"] = {{"test", "anderson-darling"},
                              {"a2", static_cast<double>(t.a2)},
                              {"a2Star", static_cast<double>(t.a2Star)},
                              {"p", static_cast<double>(t.p)},
                              {"doubtful", t.doubtful()}};
        } else {
            j["normality"] = nullptr;
        }
        list.push_back(j);
    }
    return list;
}

Json worstSideJson(const std::optional<long double>& limit, WorstCaseSide side) {
    if (!limit) return nullptr;
    static constexpr const char* kNames[] = {"holds", "partly", "all"};
    return {{"status", kNames[static_cast<int>(side)]}, {"ppm", optionalNumber(worstCasePpm(side))}};
}

// [low, high]; an open end is null.
Json intervalJson(const Interval& i) {
    const auto end = [](double v) { return std::isfinite(v) ? Json(v) : Json(nullptr); };
    return Json::array({end(i.low), end(i.high)});
}

Json monteCarloJson(const ClosingAnalysis& c) {
    const SampleSummary& m = c.monteCarlo;
    if (m.count == 0) return nullptr;
    const double n = static_cast<double>(m.count);
    Json j = {{"mean", m.mean},
              {"sigma", m.stdDev},
              {"min", m.min},
              {"max", m.max},
              {"p0_135", m.p00135},
              {"p50", m.p50},
              {"p99_865", m.p99865},
              {"ppmBelow", againstLimit(c.limits.lower, m.below / n * kAllPpm)},
              {"ppmAbove", againstLimit(c.limits.upper, m.above / n * kAllPpm)}};
    j.update(capabilityJson(c.mcCapability));
    j["cpPercentile"] = optionalNumber(c.mcPercentileCapability.cp);
    j["cpkPercentile"] = optionalNumber(c.mcPercentileCapability.cpk);
    j["verdictBasis"] = "percentiles";
    j["shareSamples"] = m.shareSamples;
    const MonteCarloConfidence& k = c.mcConfidence;
    j["p0_135Interval"] = intervalJson(m.p00135Interval);
    j["p99_865Interval"] = intervalJson(m.p99865Interval);
    j["ppmBelowInterval"] = c.limits.lower ? intervalJson(k.ppmBelow) : Json(nullptr);
    j["ppmAboveInterval"] = c.limits.upper ? intervalJson(k.ppmAbove) : Json(nullptr);
    j["standardError"] = {{"mean", k.meanError},
                          {"ppmBelow", c.limits.lower ? Json(k.ppmBelowError) : Json(nullptr)},
                          {"ppmAbove", c.limits.upper ? Json(k.ppmAboveError) : Json(nullptr)}};
    j["fails"] = c.failsMonteCarlo;
    j["verdict"] = std::string(verdictName(k.verdict));
    j["samplesToDecide"] = k.samplesToDecide ? Json(*k.samplesToDecide) : Json(nullptr);
    j["histogram"] = {{"low", m.histogram.low}, {"high", m.histogram.high}, {"counts", m.histogram.counts}};
    return j;
}

Json sensitivitiesJson(const ClosingAnalysis& c) {
    Json list = Json::array();
    int rank = 0;
    for (const ElementSensitivity& e : c.sensitivities) {
        list.push_back({{"element", e.element},
                        {"rank", ++rank},
                        {"meanPerNominal", e.meanPerNominal},
                        {"sigmaPerTolerance", optionalNumber(e.sigmaPerTolerance)},
                        {"ppmPerTolerance", optionalNumber(e.ppmPerTolerance)},
                        {"ppmSaved", optionalNumber(e.ppmSaved)},
                        {"sigmaSaved", optionalNumber(e.sigmaSaved)}});
    }
    return {{"method", "statistical"},
            {"variance", std::string(varianceName(c))},
            {"tightenPercent", static_cast<double>(kTightenShare * 100)},
            {"elements", list}};
}

Json closingJson(const AnalysisResult& r, const ClosingAnalysis& c) {
    Json j = {{"number", c.number}, {"text", c.text}, {"from", c.fromElement}, {"to", c.toElement},
              {"resolved", c.resolved}};
    j["structureError"] = c.resolved ? Json(nullptr) : Json(c.structureError);
    j["required"] = {{"lower", optionalNumber(c.limits.lower)}, {"upper", optionalNumber(c.limits.upper)}};
    j["fails"] = c.fails;
    j["verdict"] = std::string(verdictName(c.verdict));
    if (!c.resolved) return j;
    j["nominal"] = static_cast<double>(c.nominal);
    j["worstCase"] = {{"min", static_cast<double>(c.worstMin)}, {"max", static_cast<double>(c.worstMax)},
                      {"below", worstSideJson(c.limits.lower, c.worstBelow)},
                      {"above", worstSideJson(c.limits.upper, c.worstAbove)},
                      {"fails", c.failsWorstCase}};
    if (r.statistical) {
        Json s = {{"mean", static_cast<double>(c.mean)},         {"halfTolerance", static_cast<double>(c.statDev)},
                  {"sigma", static_cast<double>(c.sigma)},       {"min", static_cast<double>(c.mean - c.statDev)},
                  {"max", static_cast<double>(c.mean + c.statDev)}, {"ppmBelow", againstLimit(c.limits.lower, c.ppmBelow)},
                  {"ppmAbove", againstLimit(c.limits.upper, c.ppmAbove)}};
        s.update(capabilityJson(c.statCapability));
        s["variance"] = std::string(varianceName(c));
        s["fails"] = c.failsStatistical;
        j["statistical"] = s;
    } else {
        j["statistical"] = nullptr;
    }
    j["monteCarlo"] = monteCarloJson(c);
    Json list = Json::array();
    for (const Contribution& e : c.contributions) {
        list.push_back({{"element", e.element},
                        {"sensitivity", e.sensitivity},
                        {"tolerance", static_cast<double>(e.tolerance)},
                        {"distribution", std::string(distributionName(e.distribution))},
                        {"sharePercent", static_cast<double>(e.sharePercent)},
                        {"monteCarloSharePercent",
                         e.monteCarloSharePercent ? Json(*e.monteCarloSharePercent) : Json(nullptr)}});
    }
    j["contributions"] = list;
    j["shareBasis"] = {{"sharePercent", std::string(varianceName(c))},
                       {"monteCarloSharePercent", c.monteCarlo.count > 0 ? Json("sample covariance") : Json(nullptr)}};
    j["sensitivities"] = sensitivitiesJson(c);
    return j;
}

} // namespace

void writeAnalysisReport(const AnalysisResult& r, std::string_view projectName, std::ostream& out,
                         const ReportTexts* texts) {
    const std::string rule(kWidth, '-');
    out << "Tolerance analysis  " << projectName << "  method " << methodName(r.options.method) << ", sigma "
        << fixedText(r.productionSigma, 1, 2, false) << ", Monte Carlo " << r.options.samples << " samples, seed "
        << r.options.seed << '\n';
    out << rule << '\n';
    if (!r.measured.empty()) {
        static const LanguageTexts german;
        writeMeasured(r, texts != nullptr ? *texts : german.report, out);
        out << rule << '\n';
    }
    if (!r.correlations.empty()) {
        writeCorrelations(r, out);
        out << rule << '\n';
    }
    for (const ClosingAnalysis& c : r.closings) {
        writeClosing(r, c, out);
        out << rule << '\n';
    }
    out << verdictSentence(r.verdict()) << '\n';
}

bool reportAnalysis(const AnalysisResult& result, std::string_view projectName, OutputChannel& out,
                    ReportDevice device, const ReportTexts* texts) {
    std::ostringstream text;
    writeAnalysisReport(result, projectName, text, texts);
    if (!out.openOutput(device, kAnalysisReportFile)) return false;
    // The report is put together in UTF-8; the channel writes the stored code page.
    std::istringstream lines(text.str());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.find_first_not_of('-') == std::string::npos) {
            out.thinLine();
        } else {
            out.writeLine(utf8ToOem(line));
        }
    }
    out.pageBreak();
    return out.closeOutput();
}

std::string analysisJson(const AnalysisResult& r, std::string_view projectName) {
    Json root;
    root["format"] = 1;
    root["project"] = std::string(projectName);
    root["method"] = std::string(methodName(r.options.method));
    root["productionSigma"] = static_cast<double>(r.productionSigma);
    root["samples"] = r.options.samples;
    root["seed"] = r.options.seed;
    root["allHold"] = r.allHold();
    root["verdict"] = std::string(verdictName(r.verdict()));
    root["measured"] = measuredJson(r);
    Json closings = Json::array();
    for (const ClosingAnalysis& c : r.closings) closings.push_back(closingJson(r, c));
    root["closings"] = closings;
    Json pairs = Json::array();
    for (const Correlation& c : r.correlations) {
        pairs.push_back({{"elements", Json::array({c.first, c.second})}, {"r", static_cast<double>(c.r)}});
    }
    root["correlations"] = pairs;
    // Every text is UTF-8 already; should a byte slip through, it is replaced, never a throw.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace zam1
