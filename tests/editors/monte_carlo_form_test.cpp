// The Monte Carlo dialog's form: what it shows, what it takes over, and the
// faults it names without changing anything.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/analysis/measured_data.h"
#include "core/analysis/sidecar.h"
#include "core/editors/monte_carlo_form.h"
#include "core/lang/language.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

AnalysisData sampleData() {
    AnalysisData data;
    data.limits[2] = RequiredLimits{0.1L, 0.5L};
    data.limits[3] = RequiredLimits{std::nullopt, 12.25L};
    data.elements[1] = ElementDistribution{Distribution::Uniform, 0};
    data.elements[3] = ElementDistribution{Distribution::ShiftedNormal, -12.5L};
    data.options.samples = 250000;
    data.options.seed = 18446744073709551615ULL;
    data.options.method = AnalysisMethod::MonteCarlo;
    return data;
}

TEST(MonteCarloForm, ShowsTheSettingsAndTakesThemBackUnchanged) {
    const AnalysisData data = sampleData();
    const MonteCarloForm form = monteCarloForm(data, 3, 3);
    ASSERT_EQ(form.limits.size(), 3u);
    EXPECT_EQ(form.limits[0].lower, "");
    EXPECT_EQ(form.limits[1].lower, "0.1");
    EXPECT_EQ(form.limits[1].upper, "0.5");
    EXPECT_EQ(form.limits[2].lower, "");
    EXPECT_EQ(form.limits[2].upper, "12.25");
    ASSERT_EQ(form.elements.size(), 3u);
    EXPECT_EQ(form.elements[0].kind, Distribution::Uniform);
    EXPECT_EQ(form.elements[1].kind, Distribution::Normal);
    EXPECT_EQ(form.elements[2].shiftPercent, "-12.5");
    EXPECT_EQ(form.samples, "250000");
    EXPECT_EQ(form.seed, "18446744073709551615");

    AnalysisData back;
    const LanguageTexts texts;
    ASSERT_FALSE(takeMonteCarloForm(form, texts, back).has_value());
    EXPECT_EQ(sidecarText(back), sidecarText(data));
}

// The dialog cannot name a file; an element on measured values keeps them
// through OK, and loses them only when another distribution is chosen.
TEST(MonteCarloForm, MeasuredValuesSurviveTheDialog) {
    auto sample = std::make_shared<MeasuredSample>();
    sample->file = "bohrung.csv";
    sample->column = "Bohrung";
    sample->values = {9.99, 10.0, 10.01, 10.0, 9.98, 10.02, 10.0, 10.01};
    for (const Distribution chosen : {Distribution::Measured, Distribution::Uniform}) {
        AnalysisData data = sampleData();
        data.elements[2] = ElementDistribution{Distribution::Measured, 0, sample};
        MonteCarloForm form = monteCarloForm(data, 3, 3);
        EXPECT_EQ(form.elements[1].kind, Distribution::Measured);
        form.elements[1].kind = chosen;
        const LanguageTexts texts;
        ASSERT_FALSE(takeMonteCarloForm(form, texts, data).has_value());
        const std::string text = sidecarText(data);
        EXPECT_EQ(text.find(R"("measured": "bohrung.csv")") != std::string::npos, chosen == Distribution::Measured)
            << text;
        EXPECT_EQ(data.distributionOf(2).kind, chosen);
    }
}

TEST(MonteCarloForm, CommaDecimalsAndBlanksAreRead) {
    MonteCarloForm form = monteCarloForm(AnalysisData{}, 1, 1);
    form.limits[0] = {" 0,1 ", "0,5"};
    form.elements[0] = {Distribution::ShiftedNormal, "7,5"};
    AnalysisData data;
    const LanguageTexts texts;
    ASSERT_FALSE(takeMonteCarloForm(form, texts, data).has_value());
    EXPECT_DOUBLE_EQ(static_cast<double>(*data.limitsOf(1).lower), 0.1);
    EXPECT_DOUBLE_EQ(static_cast<double>(*data.limitsOf(1).upper), 0.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(data.distributionOf(1).meanShiftPercent), 7.5);
}

TEST(MonteCarloForm, EmptyLimitsAndNormalElementsAreNotKept) {
    AnalysisData data = sampleData();
    MonteCarloForm form = monteCarloForm(data, 3, 3);
    form.limits[1] = {"", " "};
    form.elements[0].kind = Distribution::Normal;
    const LanguageTexts texts;
    ASSERT_FALSE(takeMonteCarloForm(form, texts, data).has_value());
    EXPECT_EQ(data.limits.count(2), 0u);
    EXPECT_EQ(data.limits.count(3), 1u);
    EXPECT_EQ(data.elements.count(1), 0u);
}

TEST(MonteCarloForm, ABadFieldIsNamedAndNothingChanges) {
    struct Row {
        const char* name;
        void (*spoil)(MonteCarloForm&);
        MonteCarloField field;
        int number;
        const char* message;
    };
    const Row rows[] = {
        {"lower not a number", [](MonteCarloForm& f) { f.limits[0].lower = "abc"; }, MonteCarloField::Lower, 1,
         "Schließmaß 1, untere Grenze: Ungültige Eingabe \"abc\" !"},
        {"upper infinite", [](MonteCarloForm& f) { f.limits[2].upper = "inf"; }, MonteCarloField::Upper, 3,
         "Schließmaß 3, obere Grenze: Ungültige Eingabe \"inf\" !"},
        {"lower above upper", [](MonteCarloForm& f) { f.limits[1] = {"0.6", "0.5"}; }, MonteCarloField::Lower, 2,
         "Schließmaß 2, untere Grenze 0.6 liegt über der oberen Grenze 0.5 !"},
        {"shift not a number", [](MonteCarloForm& f) { f.elements[2].shiftPercent = "10%"; },
         MonteCarloField::ShiftPercent, 3, "Element 3, Verschiebung %: Ungültige Eingabe \"10%\" !"},
        {"shift beyond the zone", [](MonteCarloForm& f) { f.elements[2].shiftPercent = "200"; },
         MonteCarloField::ShiftPercent, 3, "Element 3, Verschiebung %: Gültiger Wertebereich: -50 .. 50 !"},
        {"shift of 1e308", [](MonteCarloForm& f) { f.elements[2].shiftPercent = "-1e308"; },
         MonteCarloField::ShiftPercent, 3, "Element 3, Verschiebung %: Gültiger Wertebereich: -50 .. 50 !"},
        {"no samples", [](MonteCarloForm& f) { f.samples = "0"; }, MonteCarloField::Samples, 0,
         "Anzahl N: Gültiger Wertebereich: 1 .. 100000000 !"},
        {"too many samples", [](MonteCarloForm& f) { f.samples = "100000001"; }, MonteCarloField::Samples, 0,
         "Anzahl N: Gültiger Wertebereich: 1 .. 100000000 !"},
        {"samples with decimals", [](MonteCarloForm& f) { f.samples = "1e5"; }, MonteCarloField::Samples, 0,
         "Anzahl N: Ungültige Eingabe \"1e5\" !"},
        {"negative seed", [](MonteCarloForm& f) { f.seed = "-1"; }, MonteCarloField::Seed, 0,
         "Startwert: Ungültige Eingabe \"-1\" !"},
        {"seed beyond 64 bits", [](MonteCarloForm& f) { f.seed = "18446744073709551616"; }, MonteCarloField::Seed, 0,
         "Startwert: Ungültige Eingabe \"18446744073709551616\" !"},
    };
    const LanguageTexts texts;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisData data = sampleData();
        const std::string before = sidecarText(data);
        MonteCarloForm form = monteCarloForm(data, 3, 3);
        form.method = AnalysisMethod::WorstCase;
        form.limits[0] = {"1", "2"};  // a good change ahead of the bad field must not be taken either
        row.spoil(form);
        const std::optional<MonteCarloFault> fault = takeMonteCarloForm(form, texts, data);
        ASSERT_TRUE(fault.has_value());
        EXPECT_EQ(fault->field, row.field);
        EXPECT_EQ(fault->number, row.number);
        EXPECT_EQ(oemToUtf8(fault->message), row.message);
        EXPECT_EQ(sidecarText(data), before);
    }
}

class ProjectAnalysisFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("zam1-mcform-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        state.prompter = &prompter;
        state.chain.setElementCount(3);
        state.chain.setClosingCount(3);
        state.file.dataDirectory = dir.string();
        state.file.currentFile = "welle";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path sidecar() const { return dir / "welle.zm1.json"; }

    std::filesystem::path dir;
    test::TestPrompter prompter;
    ProgramState state;
};

TEST_F(ProjectAnalysisFile, WrittenSettingsReadBack) {
    ASSERT_TRUE(writeProjectAnalysis(state, sampleData()));
    AnalysisData read;
    ASSERT_TRUE(readProjectAnalysis(state, read));
    EXPECT_EQ(sidecarText(read), sidecarText(sampleData()));
    EXPECT_FALSE(state.error.isSet());
}

TEST_F(ProjectAnalysisFile, NoFileGivesTheDefaults) {
    AnalysisData read = sampleData();
    ASSERT_TRUE(readProjectAnalysis(state, read));
    EXPECT_EQ(sidecarText(read), sidecarText(AnalysisData{}));
}

TEST_F(ProjectAnalysisFile, ABadFileIsNamedAndKeptAsItIs) {
    {
        std::ofstream out(sidecar());
        out << R"({"monteCarlo": {"samples": 0}})";
    }
    AnalysisData read = sampleData();
    EXPECT_FALSE(readProjectAnalysis(state, read));
    EXPECT_TRUE(state.error.isSet());
    ASSERT_EQ(prompter.errors().size(), 1u);
    EXPECT_NE(prompter.errors()[0].find("monteCarlo.samples"), std::string::npos) << prompter.errors()[0];
    EXPECT_EQ(sidecarText(read), sidecarText(sampleData()));
}

TEST_F(ProjectAnalysisFile, SettingsOfMissingElementsAreNoted) {
    {
        std::ofstream out(sidecar());
        out << R"({"elements": [{"element": 9, "distribution": "uniform"}]})";
    }
    AnalysisData read;
    ASSERT_TRUE(readProjectAnalysis(state, read));
    ASSERT_EQ(prompter.log().size(), 1u);
    EXPECT_EQ(prompter.log()[0].rfind("note: ", 0), 0u);
    EXPECT_TRUE(read.elements.empty());
}

TEST_F(ProjectAnalysisFile, AProjectWithoutNameHasNoPlaceForTheSettings) {
    state.file.currentFile.clear();
    AnalysisData read;
    EXPECT_FALSE(readProjectAnalysis(state, read));
    EXPECT_TRUE(state.error.isSet());
    EXPECT_EQ(prompter.errors().size(), 1u);
}

} // namespace
} // namespace zam1
