// The sign-off report as the core writes it: the charts stay inside their
// pictures and show what the figures say, the verdict of each closing dimension
// is the analysis's, every text from the project comes out escaped, and the
// HTML reaches for nothing outside itself.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "core/analysis/analysis.h"
#include "core/analysis/signoff_charts.h"
#include "core/analysis/signoff_report.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"
#include "tests/analysis/analysis_chains.h"

namespace zam1::test {
namespace {

// Every coordinate an SVG element is placed at.
std::vector<std::pair<std::string, double>> coordinates(const std::string& svg) {
    static const std::regex attribute(R"(\s(x|x1|x2|cx|y|y1|y2|cy)="(-?[0-9.]+)\")");
    std::vector<std::pair<std::string, double>> found;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), attribute); it != std::sregex_iterator(); ++it) {
        found.emplace_back((*it)[1].str(), std::stod((*it)[2].str()));
    }
    static const std::regex points(R"(points="([^"]*)\")");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), points); it != std::sregex_iterator(); ++it) {
        std::istringstream list((*it)[1].str());
        double x = 0, y = 0;
        char comma = 0;
        while (list >> x >> comma >> y) {
            found.emplace_back("x", x);
            found.emplace_back("y", y);
        }
    }
    return found;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// 10 ±0.1 less 9.5 ±0.05: 0.5, s = 0.0373.
AnalysisResult gapAnalysis(Chain& chain, const RequiredLimits& limits, std::int64_t n = 20000) {
    build(chain, {{0, true, 10, 0.1L, -0.1L}, {0, true, 9.5L, 0.05L, -0.05L}}, {{2, 1}});
    AnalysisData data;
    data.limits[1] = limits;
    AnalysisOptions options = samples(n);
    options.method = AnalysisMethod::MonteCarlo;
    return analyseChain(chain, data, options);
}

TEST(SignoffCharts, HistogramKeepsToItsPictureAndMarksTheLimitsGiven) {
    struct Row {
        const char* name;
        RequiredLimits limits;
    };
    const Row rows[] = {
        {"both inside", {0.3L, 0.7L}},
        {"far outside", {-5, 6}},
        {"none", {}},
        {"upper only", {std::nullopt, 0.55L}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Chain chain;
        const AnalysisResult r = gapAnalysis(chain, row.limits);
        const std::string svg = histogramSvg(r.closings.at(0));
        ASSERT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
        EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
        for (const auto& [name, v] : coordinates(svg)) {
            const double extent = name.front() == 'x' || name == "cx" ? kHistogramSvgWidth : kHistogramSvgHeight;
            EXPECT_TRUE(v >= 0 && v <= extent) << name << " = " << v;
        }
        EXPECT_GE(count(svg, "<rect"), 20u) << "bars";
        EXPECT_EQ(count(svg, "<polyline"), 1u) << "the normal curve";
        EXPECT_EQ(svg.find(">LSL ") != std::string::npos, row.limits.lower.has_value());
        EXPECT_EQ(svg.find(">USL ") != std::string::npos, row.limits.upper.has_value());
        EXPECT_EQ(count(svg, "stroke-dasharray"), (row.limits.lower ? 1u : 0u) + (row.limits.upper ? 1u : 0u) +
                                                       (row.limits.any() ? 1u : 0u))
            << "a dashed line per limit and one in the legend";
    }
}

TEST(SignoffCharts, ParetoBarsFallAndTheCumulativeLineEndsAtTheWhole) {
    struct Row {
        int elements;
        std::size_t bars;
        const char* rest;
    };
    for (const Row& row : {Row{3, 3, nullptr}, Row{kParetoBars, kParetoBars, nullptr},
                           Row{kParetoBars + 5, kParetoBars + 1, ">5 more<"}}) {
        SCOPED_TRACE(row.elements);
        Chain chain;
        std::vector<E> elements;
        // Tolerances that all differ, so that the order is the size of the share.
        for (int i = 1; i <= row.elements; ++i) {
            elements.push_back({i == 1 ? 0 : i - 1, true, 1, 0.01L * i, -0.01L * i});
        }
        fill(chain, elements);
        chain.setClosingCount(1);
        chain.closing(1) = {0, row.elements, "", ""};
        deriveElementValues(chain);
        const AnalysisResult r = analyseChain(chain, AnalysisData{}, samples(1000));
        const std::string svg = paretoSvg(r.closings.at(0));
        ASSERT_FALSE(svg.empty());
        // The bars' value labels, left to right: falling.
        static const std::regex label(R"re(font-size="9" fill="#222222" text-anchor="middle">([0-9.]+)<)re");
        std::vector<double> shares;
        for (auto it = std::sregex_iterator(svg.begin(), svg.end(), label); it != std::sregex_iterator(); ++it) {
            shares.push_back(std::stod((*it)[1].str()));
        }
        ASSERT_EQ(shares.size(), row.bars);
        if (!row.rest) {
            EXPECT_TRUE(std::is_sorted(shares.rbegin(), shares.rend()));
        }
        double total = 0;
        for (const double s : shares) total += s;
        EXPECT_NEAR(total, 100, 0.1 * static_cast<double>(row.bars));
        EXPECT_EQ(row.rest != nullptr, svg.find(row.rest ? row.rest : "more<") != std::string::npos);
        // The last point of the cumulative line stands at the 100 % grid line.
        const std::size_t line = svg.find("points=\"");
        const std::size_t grid = svg.find(">100 %<");
        ASSERT_NE(line, std::string::npos);
        ASSERT_NE(grid, std::string::npos);
        const std::string points = svg.substr(line + 8, svg.find('"', line + 8) - line - 8);
        const double lastY = std::stod(points.substr(points.rfind(',') + 1));
        const std::size_t gridText = svg.rfind("<text", grid);
        const double gridY = std::stod(svg.substr(svg.find("y=\"", gridText) + 3)) - 4;
        EXPECT_NEAR(lastY, gridY, 1.0);
    }
}

TEST(SignoffCharts, NothingToDrawGivesNoPicture) {
    Chain chain;
    build(chain, {{0, true, 10, 0, 0}, {0, true, 9.5L, 0, 0}}, {{1, 2}});
    const AnalysisResult noSpread = analyseChain(chain, AnalysisData{}, samples(100));
    EXPECT_EQ(paretoSvg(noSpread.closings.at(0)), "");
    Chain broken;
    build(broken, {{0, true, 10, 0.1L, -0.1L}, {1, true, 5, 0.1L, -0.1L}}, {{2, 2}});
    const AnalysisResult unresolved = analyseChain(broken, AnalysisData{}, samples(100));
    EXPECT_EQ(histogramSvg(unresolved.closings.at(0)), "");
    EXPECT_EQ(paretoSvg(unresolved.closings.at(0)), "");
}

TEST(SignoffReport, EachClosingDimensionCarriesTheAnalysisVerdict) {
    struct Row {
        const char* name;
        RequiredLimits limits;
        std::int64_t samples;
        const char* verdict;
        const char* mark;
    };
    const Row rows[] = {
        {"holds", {0.2L, 0.8L}, 20000, "holds", "<span class=\"verdict holds\">holds</span>"},
        {"fails", {0.45L, 0.55L}, 20000, "fails", "<span class=\"verdict fails\">fails</span>"},
        {"undecided", {0.35L, 0.65L}, 50, "undecided", "<span class=\"verdict undecided\">undecided</span>"},
        {"no limits", {}, 2000, "no limits", "<span class=\"verdict neutral\">no limits</span>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Chain chain;
        const AnalysisResult r = gapAnalysis(chain, row.limits, row.samples);
        const SignoffDocument d = signoffDocument(r, chain, AnalysisData{}, {"spalt", {}, "01.02.2026"});
        ASSERT_EQ(d.closings.size(), 1u);
        EXPECT_EQ(d.closings[0].verdict, row.verdict);
        std::ostringstream html;
        writeSignoffHtml(d, html);
        EXPECT_NE(html.str().find(row.mark), std::string::npos) << html.str();
        EXPECT_NE(html.str().find("95 % interval ["), std::string::npos);
        if (row.limits.any()) {
            EXPECT_NE(html.str().find("<th>Required limits</th><td>lower " + fixedText(*row.limits.lower, 0, 4, false) +
                                      ", upper " + fixedText(*row.limits.upper, 0, 4, false) + "</td>"),
                      std::string::npos);
        }
    }
}

TEST(SignoffReport, ProjectTextsAreEscapedAndNothingOutsideIsReferenced) {
    const std::string hostile = "<script>alert(\"x\")</script> & 'y'";
    Chain chain;
    build(chain, {{0, true, 10, 0.1L, -0.1L}, {0, true, 9.5L, 0.05L, -0.05L}}, {{1, 2}});
    chain.element(1).text = utf8ToOem("<b>&\"");
    chain.closing(1).text = utf8ToOem("<i>\"Spalt\"");
    AnalysisData data;
    data.limits[1] = {0.2L, 0.8L};
    const AnalysisResult r = analyseChain(chain, data, samples(2000));
    const SignoffDocument d = signoffDocument(r, chain, data, {hostile, {hostile, "Zeile <2>"}, "01.02.2026"});
    std::ostringstream out;
    writeSignoffHtml(d, out);
    const std::string html = out.str();
    struct Row {
        const char* raw;      // must not appear
        const char* escaped;  // appears instead
    };
    const Row rows[] = {
        {"<script", "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; 'y'"},
        {"<b>", "&lt;b&gt;&amp;&quot;"},
        {"<i>", "&lt;i&gt;&quot;Spalt&quot;"},
        {"<2>", "Zeile &lt;2&gt;"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(html.find(row.raw), std::string::npos) << row.raw;
        EXPECT_NE(html.find(row.escaped), std::string::npos) << row.escaped;
    }
    // Self-contained: no script, no link, no picture or style from elsewhere.
    for (const char* outside : {"<script", "src=", "href=", "url(", "@import", "<link", "<img", "<iframe"}) {
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    }
    EXPECT_EQ(count(html, "http"), count(html, "xmlns=\"http://www.w3.org/2000/svg\"")) << "only the SVG namespace";
    EXPECT_EQ(count(html, "<svg"), 2u);
}

TEST(SignoffReport, InputsNameEveryElementsDistributionAndTheRun) {
    Chain chain;
    build(chain, {{0, true, 10, 0.1L, -0.1L}, {0, true, 9.5L, 0.05L, -0.05L}}, {{1, 2}});
    chain.element(1).text = "Welle";
    chain.element(2).text = utf8ToOem("Hülse");
    AnalysisData data;
    data.elements[2] = {Distribution::ShiftedNormal, 12.5L};
    AnalysisOptions options = samples(3000, 77);
    options.method = AnalysisMethod::MonteCarlo;
    const AnalysisResult r = analyseChain(chain, data, options);
    const SignoffDocument d = signoffDocument(r, chain, data, {"p", {}, "01.02.2026"});
    ASSERT_EQ(d.elements.rows.size(), 2u);
    EXPECT_EQ(d.elements.rows[0], (std::vector<std::string>{"1", "Welle", "10.000", "0.100", "-0.100", "", "normal", ""}));
    EXPECT_EQ(d.elements.rows[1],
              (std::vector<std::string>{"2", "H\xC3\xBClse", "9.500", "0.050", "-0.050", "", "shiftedNormal", "12.5"}));
    std::ostringstream html;
    writeSignoffHtml(d, html);
    for (const char* fact : {"<th>Monte Carlo samples N</th><td>3000</td>", "<th>Seed</th><td>77</td>",
                             "<th>Judged by</th><td>Monte Carlo (mc)</td>",
                             "<th>Program version</th><td>ZAM1 - Toleranzrechnung 11.1</td>",
                             "<th>Date</th><td>01.02.2026</td>"}) {
        EXPECT_NE(html.str().find(fact), std::string::npos) << fact;
    }
}

} // namespace
} // namespace zam1::test
