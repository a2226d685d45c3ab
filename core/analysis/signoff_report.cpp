#include "core/analysis/signoff_report.h"

#include <cmath>
#include <ostream>

#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "core/analysis/signoff_charts.h"
#include "core/model/chain.h"
#include "core/report/output_channel.h"
#include "core/session/program_identity.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr int kDecimals = 4;

std::string mm(long double v) { return fixedText(v, 0, kDecimals, false); }
std::string ratio(const std::optional<long double>& v) { return v ? fixedText(*v, 0, 3, false) : "-"; }
std::string optionalFixed(const std::optional<long double>& v, int decimals) {
    return v ? fixedText(*v, 0, decimals, false) : "-";
}

// An end no sample bounds is open.
std::string endText(double v, int decimals) {
    if (std::isinf(v)) return v < 0 ? "\xE2\x88\x92\xE2\x88\x9E" : "+\xE2\x88\x9E";  // −∞, +∞
    return fixedText(v, 0, decimals, false);
}
std::string intervalText(const Interval& i, int decimals) {
    return "[" + endText(i.low, decimals) + ", " + endText(i.high, decimals) + "]";
}

std::string methodWords(AnalysisMethod m) {
    switch (m) {
    case AnalysisMethod::WorstCase: return "worst case (wc)";
    case AnalysisMethod::Statistical: return "statistical (rss)";
    case AnalysisMethod::MonteCarlo: return "Monte Carlo (mc)";
    }
    return {};
}

SignoffLook lookOf(Verdict v) {
    switch (v) {
    case Verdict::Holds: return SignoffLook::Holds;
    case Verdict::Undecided: return SignoffLook::Undecided;
    case Verdict::Fails: return SignoffLook::Fails;
    }
    return SignoffLook::Neutral;
}

std::string limitsText(const RequiredLimits& l) {
    if (!l.any()) return "none";
    return "lower " + (l.lower ? mm(*l.lower) : std::string("-")) + ", upper " + (l.upper ? mm(*l.upper) : std::string("-"));
}

std::string elementText(const Chain& chain, int element) {
    if (element < 1 || element > chain.elementCount()) return {};
    return oemToUtf8(chain.element(element).text.view());
}

void monteCarloFacts(const AnalysisResult& r, const ClosingAnalysis& c, std::vector<SignoffFact>& facts) {
    const SampleSummary& m = c.monteCarlo;
    const MonteCarloConfidence& k = c.mcConfidence;
    if (c.limits.any()) {
        std::string verdict(verdictName(k.verdict));
        if (k.verdict == Verdict::Undecided) {
            verdict += k.samplesToDecide ? ", about " + std::to_string(*k.samplesToDecide) + " samples would decide it"
                                         : ", a point lies on its limit";
        }
        facts.push_back({"Monte Carlo verdict", verdict + " (N = " + std::to_string(m.count) + ", seed " +
                                                    std::to_string(r.options.seed) + ")"});
    }
    facts.push_back({"0.135 % point", mm(m.p00135) + ", 95 % interval " + intervalText(m.p00135Interval, kDecimals)});
    facts.push_back({"99.865 % point", mm(m.p99865) + ", 95 % interval " + intervalText(m.p99865Interval, kDecimals)});
    const double n = static_cast<double>(m.count);
    if (c.limits.lower) {
        facts.push_back({"ppm below LSL", fixedText(m.below / n * 1e6, 0, 1, false) + ", 95 % interval " +
                                              intervalText(k.ppmBelow, 1) + ", standard error " +
                                              fixedText(k.ppmBelowError, 0, 1, false)});
    }
    if (c.limits.upper) {
        facts.push_back({"ppm above USL", fixedText(m.above / n * 1e6, 0, 1, false) + ", 95 % interval " +
                                              intervalText(k.ppmAbove, 1) + ", standard error " +
                                              fixedText(k.ppmAboveError, 0, 1, false)});
    }
    facts.push_back({"Monte Carlo", "mean " + mm(m.mean) + ", sd " + mm(m.stdDev) + ", min " + mm(m.min) + ", max " +
                                        mm(m.max) + ", median " + mm(m.p50)});
    facts.push_back({"Cp / Cpk", "from sd " + ratio(c.mcCapability.cp) + " / " + ratio(c.mcCapability.cpk) +
                                     ", from percentiles " + ratio(c.mcPercentileCapability.cp) + " / " +
                                     ratio(c.mcPercentileCapability.cpk) +
                                     (c.limits.any() ? " (the verdict judges the 0.135/99.865 % points, not Cp/Cpk)" : "")});
}

SignoffTable sensitivityTable(const ClosingAnalysis& c, const Chain& chain) {
    SignoffTable t;
    t.columns = {"rank", "element", "text", "dmean/dnom", "ds/dt", "dppm/dt (ppm/mm)", "ppm saved", "s saved"};
    t.numeric = {true, true, false, true, true, true, true, true};
    const std::size_t shown = std::min(c.sensitivities.size(), kSignoffSensitivityRows);
    for (std::size_t i = 0; i < shown; ++i) {
        const ElementSensitivity& e = c.sensitivities[i];
        t.rows.push_back({std::to_string(i + 1), std::to_string(e.element), elementText(chain, e.element),
                          e.meanPerNominal > 0 ? "+1" : "-1", optionalFixed(e.sigmaPerTolerance, 5),
                          optionalFixed(e.ppmPerTolerance, 1), optionalFixed(e.ppmSaved, 3),
                          optionalFixed(e.sigmaSaved, 6)});
    }
    return t;
}

SignoffClosing closingSection(const AnalysisResult& r, const ClosingAnalysis& c, const Chain& chain) {
    SignoffClosing s;
    s.heading = "Closing dimension " + std::to_string(c.number) + ": " + c.text + " (" + std::to_string(c.fromElement) +
                " \xE2\x86\x92 " + std::to_string(c.toElement) + ")";
    if (!c.resolved) {
        s.verdict = "not calculated";
        s.look = c.limits.any() ? SignoffLook::Fails : SignoffLook::Neutral;
        s.facts = {{"Required limits", limitsText(c.limits)}, {"Structure", c.structureError}};
        return s;
    }
    s.verdict = c.limits.any() ? std::string(verdictName(c.verdict)) : "no limits";
    s.look = c.limits.any() ? lookOf(c.verdict) : SignoffLook::Neutral;
    s.facts.push_back({"Required limits", limitsText(c.limits)});
    s.facts.push_back({"Verdict", s.verdict + ", judged by the " + methodWords(r.options.method) + " method"});
    if (r.statistical && c.monteCarlo.count > 0) monteCarloFacts(r, c, s.facts);
    s.facts.push_back({"Nominal", mm(c.nominal)});
    s.facts.push_back({"Worst case", "min " + mm(c.worstMin) + ", max " + mm(c.worstMax) + "; below: " +
                                         std::string(worstCaseSideName(c.limits.lower, c.worstBelow)) + ", above: " +
                                         std::string(worstCaseSideName(c.limits.upper, c.worstAbove))});
    if (!r.statistical) {
        s.facts.push_back({"Statistical", "sigma = 0: no statistical figures, no Monte Carlo"});
        return s;
    }
    s.facts.push_back({"Statistical", "mean " + mm(c.mean) + " \xC2\xB1 " + mm(c.statDev) + " (" +
                                          fixedText(r.productionSigma, 0, 2, false) + " s, s = " + mm(c.sigma) +
                                          "), variance: " + std::string(varianceName(c))});
    if (c.limits.any()) {
        s.facts.push_back({"Statistical ppm", "below " + (c.limits.lower ? fixedText(c.ppmBelow, 0, 1, false) : "-") +
                                                  ", above " + (c.limits.upper ? fixedText(c.ppmAbove, 0, 1, false) : "-") +
                                                  "; Cp " + ratio(c.statCapability.cp) + ", Cpk " +
                                                  ratio(c.statCapability.cpk)});
    }
    s.histogramSvg = histogramSvg(c);
    if (!s.histogramSvg.empty()) {
        s.histogramCaption = "Monte Carlo histogram of " + std::to_string(c.monteCarlo.count) +
                             " samples with the normal curve of the statistical method (mean " + mm(c.mean) +
                             ", s " + mm(c.sigma) + ") and the required limits; the orange bars above the axis are "
                             "the 95 % intervals of the 0.135 % and 99.865 % points.";
    }
    s.paretoSvg = paretoSvg(c);
    if (!s.paretoSvg.empty()) {
        s.paretoCaption = "Shares of the variance (" + std::string(varianceName(c)) +
                          ") by element, largest first, with the cumulative share.";
    }
    s.sensitivities = sensitivityTable(c, chain);
    s.sensitivityNote = "What to tighten: each tolerance t narrowed by " + fixedText(kTightenShare * 100, 0, 0, false) +
                        " % about its middle, statistical method with the variance of the " +
                        std::string(varianceName(c)) + "; ppm beyond both limits.";
    if (c.sensitivities.size() > kSignoffSensitivityRows) {
        s.sensitivityNote += " The " + std::to_string(c.sensitivities.size() - kSignoffSensitivityRows) +
                             " elements below these save less.";
    }
    return s;
}

SignoffTable elementTable(const Chain& chain, const AnalysisData& data) {
    SignoffTable t;
    t.columns = {"element", "text", "nominal", "upper", "lower", "ISO", "distribution", "mean shift %"};
    t.numeric = {true, false, true, true, true, false, false, true};
    const int decimals = std::max(chain.decimals, 0);
    for (int i = 1; i <= chain.elementCount(); ++i) {
        const Element& e = chain.element(i);
        const ElementDistribution d = data.distributionOf(i);
        t.rows.push_back({std::to_string(i), oemToUtf8(e.text.view()),
                          fixedText(e.positive ? e.distance : -e.distance, 0, decimals, false),
                          fixedText(e.upperDev, 0, decimals, false), fixedText(e.lowerDev, 0, decimals, false),
                          e.hasIsoCode() ? oemToUtf8(e.isoLetters.view()) + std::to_string(e.isoGrade) : std::string(),
                          std::string(distributionName(d.kind)),
                          d.kind == Distribution::ShiftedNormal ? fixedText(d.meanShiftPercent, 0, 1, false)
                                                                : std::string()});
    }
    return t;
}

SignoffTable summaryTable(const AnalysisResult& r) {
    SignoffTable t;
    t.columns = {"closing", "text", "lower limit", "upper limit", "verdict", "0.135 % point", "99.865 % point"};
    t.numeric = {true, false, true, true, false, true, true};
    for (const ClosingAnalysis& c : r.closings) {
        const bool simulated = c.resolved && c.monteCarlo.count > 0;
        t.rows.push_back({std::to_string(c.number), c.text, c.limits.lower ? mm(*c.limits.lower) : "-",
                          c.limits.upper ? mm(*c.limits.upper) : "-",
                          !c.resolved ? "not calculated" : c.limits.any() ? std::string(verdictName(c.verdict)) : "no limits",
                          simulated ? mm(c.monteCarlo.p00135) : "-", simulated ? mm(c.monteCarlo.p99865) : "-"});
    }
    return t;
}

} // namespace

SignoffDocument signoffDocument(const AnalysisResult& r, const Chain& chain, const AnalysisData& data,
                                const SignoffHeading& heading) {
    SignoffDocument d;
    d.title = "Sign-off report: " + heading.projectName;
    d.headerLines = heading.lines;
    d.verdict = verdictName(r.verdict());
    d.verdictSentence = verdictSentence(r.verdict());
    d.look = lookOf(r.verdict());
    d.date = heading.date;
    d.program = std::string(kProgramTitle) + " " + std::string(kProgramVersion);
    d.project = {{"Project", heading.projectName},
                 {"Date", d.date},
                 {"Program", d.program},
                 {"Verdict", d.verdict + " \xE2\x80\x94 " + d.verdictSentence}};
    d.summary = summaryTable(r);
    for (const ClosingAnalysis& c : r.closings) d.closings.push_back(closingSection(r, c, chain));
    d.run = {{"Judged by", methodWords(r.options.method)},
             {"Production sigma", fixedText(r.productionSigma, 0, 2, false)},
             {"Monte Carlo samples N", std::to_string(r.options.samples)},
             {"Seed", std::to_string(r.options.seed)},
             {"Random numbers", "a hash of (seed, sample, element): the same seed gives the same figures"},
             {"Program version", d.program}};
    d.elements = elementTable(chain, data);
    return d;
}

namespace {

std::string esc(std::string_view text) { return OutputChannel::escapeHtml(text); }

const char* lookClass(SignoffLook look) {
    switch (look) {
    case SignoffLook::Holds: return "holds";
    case SignoffLook::Undecided: return "undecided";
    case SignoffLook::Fails: return "fails";
    case SignoffLook::Neutral: return "neutral";
    }
    return "neutral";
}

constexpr const char* kStyle =
    "body{font-family:\"DejaVu Sans\",Arial,Helvetica,sans-serif;font-size:10.5pt;color:#222;"
    "margin:2em auto;max-width:190mm;line-height:1.35;padding:0 1em}\n"
    "h1{font-size:18pt;margin:0 0 .3em}\n"
    "h2{font-size:13pt;border-bottom:1px solid #888;padding-bottom:2px;margin:1.6em 0 .5em}\n"
    "h3{font-size:11pt;margin:1em 0 .3em}\n"
    "table{border-collapse:collapse;margin:.4em 0}\n"
    "th,td{border:1px solid #bbb;padding:2px 6px;text-align:left;vertical-align:top}\n"
    "thead th{background:#eee}\n"
    "td.n,th.n{text-align:right;font-variant-numeric:tabular-nums}\n"
    "table.facts th,table.facts td{border:none;background:none;padding:1px 1.2em 1px 0}\n"
    "table.facts th{white-space:nowrap}\n"
    ".verdict{display:inline-block;padding:0 8px;border-radius:3px;color:#fff;font-weight:bold}\n"
    ".holds{background:#2e7d32}\n.fails{background:#c62828}\n.undecided{background:#e65100}\n"
    ".neutral{background:#757575}\n"
    ".lines p{margin:0}\n"
    "figure{margin:.8em 0}\n"
    "figure svg{max-width:100%;height:auto;display:block}\n"
    "figcaption,p.note{font-size:9pt;color:#555}\n"
    "footer{margin-top:2em;font-size:9pt;color:#555;border-top:1px solid #888}\n"
    "@page{size:A4;margin:15mm}\n"
    "@media print{section.closing{break-before:page}body{margin:0;max-width:none}}\n";

void facts(std::ostream& out, const std::vector<SignoffFact>& list) {
    out << "<table class=\"facts\">\n";
    for (const SignoffFact& f : list) out << "<tr><th>" << esc(f.label) << "</th><td>" << esc(f.value) << "</td></tr>\n";
    out << "</table>\n";
}

void table(std::ostream& out, const SignoffTable& t) {
    const auto cls = [&t](std::size_t i) {
        return i < t.numeric.size() && t.numeric[i] ? std::string(" class=\"n\"") : std::string();
    };
    out << "<table>\n<thead><tr>";
    for (std::size_t i = 0; i < t.columns.size(); ++i) out << "<th" << cls(i) << ">" << esc(t.columns[i]) << "</th>";
    out << "</tr></thead>\n<tbody>\n";
    for (const std::vector<std::string>& row : t.rows) {
        out << "<tr>";
        for (std::size_t i = 0; i < row.size(); ++i) out << "<td" << cls(i) << ">" << esc(row[i]) << "</td>";
        out << "</tr>\n";
    }
    out << "</tbody>\n</table>\n";
}

void figure(std::ostream& out, const std::string& svg, const std::string& caption) {
    if (svg.empty()) return;
    out << "<figure>\n" << svg << "<figcaption>" << esc(caption) << "</figcaption>\n</figure>\n";
}

void closing(std::ostream& out, const SignoffClosing& c, std::size_t index) {
    out << "<section class=\"closing\" id=\"closing-" << index + 1 << "\">\n<h2>" << esc(c.heading)
        << " <span class=\"verdict " << lookClass(c.look) << "\">" << esc(c.verdict) << "</span></h2>\n";
    facts(out, c.facts);
    figure(out, c.histogramSvg, c.histogramCaption);
    figure(out, c.paretoSvg, c.paretoCaption);
    if (!c.sensitivities.rows.empty()) {
        out << "<h3>Sensitivities and what to tighten</h3>\n<p class=\"note\">" << esc(c.sensitivityNote) << "</p>\n";
        table(out, c.sensitivities);
    }
    out << "</section>\n";
}

} // namespace

void writeSignoffHtml(const SignoffDocument& d, std::ostream& out) {
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" << esc(d.title)
        << "</title>\n<style>\n" << kStyle << "</style>\n</head>\n<body>\n<header>\n<h1>" << esc(d.title)
        << " <span class=\"verdict " << lookClass(d.look) << "\">" << esc(d.verdict) << "</span></h1>\n";
    if (!d.headerLines.empty()) {
        out << "<div class=\"lines\">\n";
        for (const std::string& line : d.headerLines) out << "<p>" << esc(line) << "</p>\n";
        out << "</div>\n";
    }
    facts(out, d.project);
    table(out, d.summary);
    out << "</header>\n<section id=\"inputs\">\n<h2>Inputs</h2>\n";
    facts(out, d.run);
    out << "<h3>Elements and their distributions</h3>\n";
    table(out, d.elements);
    out << "</section>\n";
    for (std::size_t i = 0; i < d.closings.size(); ++i) closing(out, d.closings[i], i);
    out << "<footer>\n<p>" << esc(d.program) << " \xE2\x80\x94 " << esc(d.title) << " \xE2\x80\x94 " << esc(d.date)
        << "</p>\n</footer>\n</body>\n</html>\n";
}

} // namespace zam1
