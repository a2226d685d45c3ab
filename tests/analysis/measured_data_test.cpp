// Measured values of an element: read as the import reads a table, refused with
// the element and the file named, described by mean, s and the Anderson-Darling
// test, and standing in for the element in the statistical method and in
// Monte Carlo (normal with their mean and s, or drawn from the values).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <numeric>

#include "core/analysis/allocation.h"
#include "core/analysis/allocation_check.h"
#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "core/analysis/measured_data.h"
#include "core/analysis/sidecar.h"
#include "core/exchange/exchange_texts.h"
#include "core/lang/language.h"
#include "tests/analysis/analysis_chains.h"
#include "tests/report/report_harness.h"

#include <nlohmann/json.hpp>

namespace zam1::test {
namespace {

const ExchangeTexts& german() { return exchangeTexts(kGerman); }

// Thirty bores of a 10 +0.03/-0.03 element, as a measuring protocol lists them.
const std::vector<double> kBores = {10.012, 9.987,  10.003, 9.995,  10.021, 9.978,  10.008, 10.001, 9.992,  10.015,
                                    9.984,  10.006, 9.999,  10.010, 9.990,  10.004, 9.997,  10.017, 9.981,  10.002,
                                    9.994,  10.009, 9.986,  10.013, 10.000, 9.996,  10.007, 9.989,  10.005, 9.998};

// Two machines, one set 0.1 longer than the other: two humps.
std::vector<double> twoMachines() {
    std::vector<double> v;
    for (int i = 0; i < 15; ++i) v.push_back(9.95 + 0.002 * (i % 5));
    for (int i = 0; i < 15; ++i) v.push_back(10.05 + 0.002 * (i % 5));
    return v;
}

// Two hundred values spread evenly over 9.9 .. 10.1.
std::vector<double> evenSpread() {
    std::vector<double> v;
    for (int i = 0; i < 200; ++i) v.push_back(9.9 + 0.2 * i / 199);
    return v;
}

std::string cell(double value, bool decimalComma = false) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    std::string text = buffer;
    if (decimalComma) std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string lines(const std::vector<double>& values, bool decimalComma = false) {
    std::string text;
    for (double v : values) text += cell(v, decimalComma) + "\r\n";
    return text;
}

// The textbook formulas, in plain double arithmetic.
struct Plain {
    double mean = 0;
    double s = 0;
    double a2 = 0;
};

Plain plain(std::vector<double> x) {
    Plain r;
    const double n = static_cast<double>(x.size());
    r.mean = std::accumulate(x.begin(), x.end(), 0.0) / n;
    double squares = 0;
    for (double v : x) squares += (v - r.mean) * (v - r.mean);
    r.s = std::sqrt(squares / (n - 1));
    std::sort(x.begin(), x.end());
    const auto cdf = [&](double v) { return 0.5 * std::erfc(-(v - r.mean) / r.s / std::sqrt(2.0)); };
    double sum = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sum += (2.0 * static_cast<double>(i) + 1) * (std::log(cdf(x[i])) + std::log(1 - cdf(x[x.size() - 1 - i])));
    }
    r.a2 = -n - sum / n;
    return r;
}

TEST(MeasuredData, SamplesAgainstTheTextbookFormulas) {
    struct Row {
        const char* name;
        std::vector<double> values;
        bool doubtful;
    };
    const Row rows[] = {
        {"thirty bores", kBores, false},
        {"two machines", twoMachines(), true},
        {"even spread", evenSpread(), true},
    };
    for (const Row& row : rows) {
        MeasuredSample s;
        s.values = row.values;
        describeSample(s);
        const Plain p = plain(row.values);
        const double n = static_cast<double>(row.values.size());
        EXPECT_NEAR(static_cast<double>(s.mean), p.mean, 1e-12) << row.name;
        EXPECT_NEAR(static_cast<double>(s.stdDev), p.s, 1e-12) << row.name;
        ASSERT_TRUE(s.normality) << row.name;
        EXPECT_NEAR(static_cast<double>(s.normality->a2), p.a2, 1e-9) << row.name;
        EXPECT_NEAR(static_cast<double>(s.normality->a2Star), p.a2 * (1 + 0.75 / n + 2.25 / (n * n)), 1e-9) << row.name;
        EXPECT_EQ(s.normality->doubtful(), row.doubtful) << row.name << " p " << static_cast<double>(s.normality->p);
        EXPECT_EQ(s.min, *std::min_element(row.values.begin(), row.values.end())) << row.name;
        EXPECT_EQ(s.max, *std::max_element(row.values.begin(), row.values.end())) << row.name;
    }
    // The thirty bores, worked by hand: mean 9.99996667, s 0.01097798, A² 0.0954, p 0.9966.
    MeasuredSample bores;
    bores.values = kBores;
    describeSample(bores);
    EXPECT_NEAR(static_cast<double>(bores.mean), 9.9999666667, 1e-9);
    EXPECT_NEAR(static_cast<double>(bores.stdDev), 0.0109779821, 1e-9);
    EXPECT_NEAR(static_cast<double>(bores.normality->a2), 0.0954075, 1e-6);
    EXPECT_NEAR(static_cast<double>(bores.normality->p), 0.99656, 1e-4);
}

// The modified statistic's published critical values (D'Agostino and Stephens,
// normal with mean and variance estimated): 10 % 0.631, 5 % 0.752, 1 % 1.035.
// The pieces join where they meet, and a larger statistic never fits better.
TEST(MeasuredData, PValueMeetsThePublishedCriticalValues) {
    const std::pair<long double, double> critical[] = {{0.631L, 0.10}, {0.752L, 0.05}, {1.035L, 0.01}};
    for (const auto& [a, p] : critical) EXPECT_NEAR(static_cast<double>(andersonDarlingPValue(a)), p, 0.02 * p) << a;
    long double previous = 1;
    for (long double a = 0; a < 400; a += 0.01L) {
        const long double p = andersonDarlingPValue(a);
        ASSERT_LE(p, previous + 1e-3L) << a;
        ASSERT_GE(p, 0);
        ASSERT_LE(p, 1);
        previous = p;
    }
}

TEST(MeasuredData, FilesReadAsTheImportReadsThem) {
    const std::vector<double> ten(kBores.begin(), kBores.begin() + 10);
    struct Row {
        const char* name;
        std::string bytes;
        std::optional<std::string> column;
    };
    const Row rows[] = {
        {"one column, dot", lines(ten), std::nullopt},
        {"one column, decimal comma", lines(ten, true), std::nullopt},
        {"with a heading", "Bohrung\r\n" + lines(ten), std::nullopt},
        {"byte-order mark and LF", "\xEF\xBB\xBF" + lines(ten), std::nullopt},
        {"blank lines passed over", "\n" + lines(ten) + "\n\n", std::nullopt},
        {"column by heading, semicolons",
         [&] {
             std::string t = "Teil;Bohrung;Prüfer\n";
             for (double v : ten) t += "x;" + cell(v, true) + ";mk\n";
             return t;
         }(),
         "Bohrung"},
        {"column by heading, commas",
         [&] {
             std::string t = "Teil,Bohrung\n";
             for (double v : ten) t += "1," + cell(v) + "\n";
             return t;
         }(),
         "Bohrung"},
    };
    for (const Row& row : rows) {
        const MeasuredValues read = readMeasuredValues(row.bytes, "m.csv", row.column, german());
        ASSERT_FALSE(read.problem) << row.name << ": " << read.problem->reason;
        ASSERT_EQ(read.values.size(), ten.size()) << row.name;
        for (std::size_t i = 0; i < ten.size(); ++i) EXPECT_NEAR(read.values[i], ten[i], 1e-12) << row.name;
    }
}

// Each refusal in the words of the import, with the element and the file named.
TEST(MeasuredData, RefusalsNameTheElementTheFileAndTheCell) {
    TempFolder folder;
    const auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder.file(name), std::ios::binary) << bytes;
    };
    const std::string good = lines(kBores);
    write("bad-cell.csv", lines({10.01, 10.02, 10.0}) + "1O.02\r\n" + good);
    write("few.csv", lines({10.01, 10.02, 9.99, 10.0, 10.03}));
    write("nan.csv", good + "NaN\r\n");
    write("inf.csv", lines({10.01, 10.02}) + "-inf\r\n" + good);
    write("huge.csv", good + "1e400\r\n");
    write("two-columns.csv", good + "10.01;10.02\r\n");
    write("headed.csv", "Teil;Bohrung\r\n1;10.01\r\n");
    write("empty.csv", "Bohrung\r\n\r\n");
    struct Row {
        const char* name;
        std::string entry;
        std::string message;
    };
    const Row rows[] = {
        {"missing file", R"("measured": "none.csv")",
         "elements[0].measured: Element 2, \"none.csv\": Datei kann nicht gelesen werden (No such file or directory)"},
        {"a cell that is no number", R"("measured": "bad-cell.csv")",
         "elements[0].measured: Element 2, \"bad-cell.csv\": Zeile 4, Spalte A: \"1O.02\" ist keine Zahl"},
        {"too few values", R"("measured": "few.csv")",
         "elements[0].measured: Element 2, \"few.csv\": Zu wenige Messwerte (mindestens 8): 5"},
        {"NaN", R"("measured": "nan.csv")",
         "elements[0].measured: Element 2, \"nan.csv\": Zeile 31, Spalte A: \"NaN\" ist keine endliche Zahl"},
        {"infinity", R"("measured": "inf.csv")",
         "elements[0].measured: Element 2, \"inf.csv\": Zeile 3, Spalte A: \"-inf\" ist keine endliche Zahl"},
        {"beyond any length", R"("measured": "huge.csv")",
         "elements[0].measured: Element 2, \"huge.csv\": Zeile 31, Spalte A: \"1e400\" liegt außerhalb von "
         "-1000000000 .. 1000000000"},
        {"a second column", R"("measured": "two-columns.csv")",
         "elements[0].measured: Element 2, \"two-columns.csv\": Zeile 31: mehr als eine Spalte; mit \"column\" eine "
         "Überschrift wählen"},
        {"a heading not found", R"("measured": "headed.csv", "column": "Welle")",
         "elements[0].measured: Element 2, \"headed.csv\": Zeile 1: Keine Spalte hat die Überschrift \"Welle\""},
        {"no values", R"("measured": "empty.csv")",
         "elements[0].measured: Element 2, \"empty.csv\": Die Datei enthält keine Messwerte"},
        {"distribution without a file", R"("distribution": "measured")",
         "elements[0].measured: is needed by the distribution measured (a file)"},
        {"resample of another distribution", R"("distribution": "uniform", "resample": true)",
         "elements[0].resample: only with the distribution measured"},
    };
    Chain chain;
    build(chain, {{0, true, 10, 0.03L, -0.03L}, {1, true, 10, 0.03L, -0.03L}}, {{0, 2}});
    for (const Row& row : rows) {
        std::ofstream(folder.file("p.zm1.json")) << R"({"elements": [{"element": 2, )" + row.entry + "}]}";
        AnalysisData data;
        data.elements[1] = {Distribution::Uniform, 0};
        const SidecarRead r = readSidecar(folder.file("p.zm1.json"), chain, data, kGerman);
        EXPECT_FALSE(r.ok) << row.name;
        EXPECT_EQ(r.error, row.message) << row.name;
        EXPECT_EQ(data.distributionOf(1).kind, Distribution::Uniform) << row.name << ": the data stay as they were";
    }
}

class MeasuredChain : public ::testing::Test {
protected:
    // Element 1 at 20 +0.1/-0.1, element 2 (measured) 10 +0.03/-0.03 on the
    // way back: the closing dimension is 20 - 10, element 2 with sensitivity -1.
    void SetUp() override {
        build(m_chain, {{0, true, 20, 0.1L, -0.1L}, {1, false, 10, 0.03L, -0.03L}}, {{0, 2}});
        write("bores.csv", "Bohrung\r\n" + lines(kBores, true));
    }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_folder.file(name), std::ios::binary) << bytes;
    }
    AnalysisData read(const std::string& entry) {
        std::ofstream(m_folder.file("p.zm1.json")) << R"({"closings": [{"closing": 1, "lower": 9.85, "upper": 10.15}],
            "elements": [{"element": 2, )" + entry + "}]}";
        AnalysisData data;
        const SidecarRead r = readSidecar(m_folder.file("p.zm1.json"), m_chain, data, kGerman);
        EXPECT_TRUE(r.ok) << r.error;
        return data;
    }
    TempFolder m_folder;
    Chain m_chain;
};

// The statistical method takes the values' mean and s for the element: the
// variance (0.2/6)² + s², the mean 20 - mean of the bores.
TEST_F(MeasuredChain, StatisticalMethodTakesTheValuesMeanAndSpread) {
    const AnalysisData data = read(R"("measured": "bores.csv")");
    const Plain p = plain(kBores);
    const AnalysisResult r = analyseChain(m_chain, data, data.options);
    const ClosingAnalysis& c = r.closings.at(0);
    EXPECT_TRUE(c.declaredVariance);
    EXPECT_NEAR(static_cast<double>(c.mean), 20 - p.mean, 1e-12);
    EXPECT_NEAR(static_cast<double>(c.sigma), std::sqrt(0.1 / 3 * 0.1 / 3 + p.s * p.s), 1e-12);
    // Narrowing a measured element's drawing tolerance changes no part: it saves nothing.
    for (const ElementSensitivity& e : c.sensitivities) {
        if (e.element == 2) {
            EXPECT_EQ(*e.ppmSaved, 0);
            EXPECT_EQ(*e.sigmaSaved, 0);
        }
    }
    ASSERT_EQ(r.measured.size(), 1u);
    const MeasuredElement& m = r.measured.front();
    EXPECT_EQ(m.element, 2);
    EXPECT_EQ(*m.drawing.lower, 10 - 0.03L);
    EXPECT_NEAR(static_cast<double>(*m.capability.cp), 0.06 / (6 * p.s), 1e-9);
    EXPECT_NEAR(static_cast<double>(*m.capability.cpk), (p.mean - 9.97) / (3 * p.s), 1e-9);
}

TEST_F(MeasuredChain, MonteCarloFromTheValues) {
    const Plain p = plain(kBores);
    const double low = *std::min_element(kBores.begin(), kBores.end());
    const double high = *std::max_element(kBores.begin(), kBores.end());
    struct Row {
        const char* name;
        std::string entry;
        double sd;  // of the element as drawn
    };
    const Row rows[] = {
        {"normal with mean and s", R"("measured": "bores.csv")", p.s},
        {"resampled", R"("measured": "bores.csv", "resample": true)", p.s * std::sqrt(29.0 / 30)},
    };
    for (const Row& row : rows) {
        const AnalysisData data = read(row.entry);
        // Element 1 made exact, so the closing dimension is 20 - the drawn bore.
        Chain exact = m_chain;
        exact.element(1).upperDev = exact.element(1).lowerDev = 0;
        deriveElementValues(exact);
        const std::int64_t n = 100000;
        const SampleSummary one = simulate(exact, data, samples(n, 5, 1)).at(0);
        const SampleSummary two = simulate(exact, data, samples(n, 5, 2)).at(0);
        EXPECT_EQ(std::memcmp(&one.mean, &two.mean, sizeof one.mean), 0) << row.name;
        EXPECT_EQ(one.stdDev, two.stdDev) << row.name;
        EXPECT_EQ(one.p99865, two.p99865) << row.name;
        EXPECT_NEAR(one.mean, 20 - p.mean, 4 * row.sd / std::sqrt(double(n))) << row.name;
        EXPECT_NEAR(one.stdDev, row.sd, 0.02 * row.sd) << row.name;
        if (std::string(row.name) == "resampled") {
            // Every sample is one of the bores.
            EXPECT_GE(one.min, 20 - high - 1e-12) << row.name;
            EXPECT_LE(one.max, 20 - low + 1e-12) << row.name;
            EXPECT_NEAR(one.min, 20 - high, 1e-12) << row.name;
        }
    }
}

// Measured values of one element leave every other element's draws alone: the
// sample of a closing dimension that does not reach it stays the same to the bit.
TEST_F(MeasuredChain, OtherElementsKeepTheirDraws) {
    Chain chain;
    build(chain, {{0, true, 20, 0.1L, -0.1L}, {0, true, 10, 0.03L, -0.03L}}, {{0, 1}, {0, 2}});
    AnalysisData without;
    const AnalysisData with = read(R"("measured": "bores.csv", "resample": true)");
    const SampleSummary a = simulate(chain, without, samples(20000, 9)).at(0);
    const SampleSummary b = simulate(chain, with, samples(20000, 9)).at(0);
    EXPECT_EQ(a.mean, b.mean);
    EXPECT_EQ(a.stdDev, b.stdDev);
    EXPECT_EQ(a.histogram.counts, b.histogram.counts);
}

TEST_F(MeasuredChain, WrittenBackAsRead) {
    const AnalysisData data = read(R"("measured": "bores.csv", "column": "Bohrung", "resample": true)");
    const std::string text = sidecarText(data);
    EXPECT_NE(text.find(R"("distribution": "measured")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("measured": "bores.csv")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("column": "Bohrung")"), std::string::npos) << text;
    AnalysisData back;
    const SidecarRead r = parseSidecar(text, m_chain, back, {m_folder.path(), kGerman});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(sidecarText(back), text);
    EXPECT_EQ(back.distributionOf(2).measured->values.size(), kBores.size());
}

// The report and its JSON: n, mean, s, Cp/Cpk against the drawing, A² and p,
// and the warning where the values do not look normal.
TEST_F(MeasuredChain, ReportShowsEachMeasuredElement) {
    write("two.csv", lines(twoMachines()));
    struct Row {
        const char* file;
        bool doubtful;
    };
    for (const Row& row : {Row{"bores.csv", false}, Row{"two.csv", true}}) {
        const AnalysisData data = read(std::string(R"("measured": ")") + row.file + "\"");
        AnalysisOptions options = data.options;
        options.samples = 2000;
        const AnalysisResult r = analyseChain(m_chain, data, options);
        std::ostringstream text;
        writeAnalysisReport(r, "p", text);
        const std::string warning = "Normalverteilung der Messwerte zweifelhaft (Anderson-Darling p < 0,05)";
        EXPECT_EQ(text.str().find(warning) != std::string::npos, row.doubtful) << text.str();
        EXPECT_NE(text.str().find("  element 2  \"" + std::string(row.file) + "\""), std::string::npos) << text.str();
        EXPECT_NE(text.str().find("    n 30  mean "), std::string::npos) << text.str();

        const auto json = nlohmann::json::parse(analysisJson(r, "p"));
        const auto& m = json["measured"].at(0);
        EXPECT_EQ(m["element"], 2);
        EXPECT_EQ(m["n"], 30);
        EXPECT_EQ(m["normality"]["doubtful"], row.doubtful);
        EXPECT_DOUBLE_EQ(m["sigma"].get<double>(), static_cast<double>(r.measured[0].sample->stdDev));
        EXPECT_DOUBLE_EQ(m["drawingUpper"].get<double>(), 10.03);
        EXPECT_EQ(json["closings"][0]["contributions"].size(), 2u);
    }
    // In English the warning is the English row of the language table.
    LanguageTexts english;
    loadLanguage(english, kEnglish);
    const AnalysisData data = read(R"("measured": "two.csv")");
    std::ostringstream text;
    writeAnalysisReport(analyseChain(m_chain, data, data.options), "p", text, &english.report);
    EXPECT_NE(text.str().find("normal distribution of the measured values doubtful"), std::string::npos);
}

// Allocation cannot change parts that are made: the measured element stays as
// it is, with its mean and s, and the free one takes what is left of the
// variance. Limits 20 ± 0.3 at Cpk 1: (0.3 - |mean shift|) / 3 = sqrt(t²/36 + s²).
TEST(MeasuredData, AllocationKeepsTheMeasuredElement) {
    Chain chain;
    build(chain, {{0, true, 10, 0.2L, -0.2L}, {1, true, 10, 0.03L, -0.03L}}, {{0, 2}});
    auto sample = std::make_shared<MeasuredSample>();
    sample->file = "bores.csv";
    sample->values = kBores;
    describeSample(*sample);
    AnalysisData data;
    data.elements[2] = ElementDistribution{Distribution::Measured, 0, sample};
    data.limits[1] = {19.7L, 20.3L};
    data.allocation.targets[1] = {std::nullopt, 1.0L};
    const Plain p = plain(kBores);
    const double sigma = (0.3 - std::fabs(p.mean - 10)) / 3;
    const double expected = 6 * std::sqrt(sigma * sigma - p.s * p.s);
    for (const AllocationMethod method : {AllocationMethod::Proportional, AllocationMethod::Cost}) {
        Allocation a = allocateClosing(chain, solveClosing(chain, 1), 1, data, method);
        AllocationCheck(chain, data).check(a);
        ASSERT_TRUE(a.problem.empty()) << a.problem;
        ASSERT_EQ(a.elements.size(), 2u);
        const AllocatedElement& free = a.elements[0].element == 1 ? a.elements[0] : a.elements[1];
        const AllocatedElement& measured = a.elements[0].element == 2 ? a.elements[0] : a.elements[1];
        EXPECT_TRUE(measured.fixed);
        EXPECT_EQ(measured.after.tolerance(), measured.before.tolerance());
        EXPECT_NEAR(static_cast<double>(free.after.tolerance()), expected, 1e-6);
        EXPECT_TRUE(a.reached());
        ASSERT_TRUE(a.achieved);
        EXPECT_NEAR(static_cast<double>(*a.achieved->cpk), 1, 1e-6);
    }
}

} // namespace
} // namespace zam1::test
