#include "core/editors/monte_carlo_form.h"

#include "core/editors/dialog_answer.h"

#include <charconv>
#include <cmath>

#include "core/analysis/sidecar.h"
#include "core/files/save_project.h"
#include "core/lang/language.h"
#include "core/platform/file_messages.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {

std::string limitText(long double value) {
    // The settings file holds doubles; their shortest form reads back exactly.
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value));
    return std::string(buffer, r.ptr);
}

MonteCarloForm monteCarloForm(const AnalysisData& data, int elementCount, int closingCount) {
    MonteCarloForm form;
    for (int k = 1; k <= closingCount; ++k) {
        const RequiredLimits limits = data.limitsOf(k);
        form.limits.push_back({limits.lower ? limitText(*limits.lower) : std::string(),
                               limits.upper ? limitText(*limits.upper) : std::string()});
    }
    for (int n = 1; n <= elementCount; ++n) {
        const ElementDistribution d = data.distributionOf(n);
        form.elements.push_back(
            {d.kind, d.kind == Distribution::ShiftedNormal ? limitText(d.meanShiftPercent) : std::string()});
    }
    form.method = data.options.method;
    form.samples = intText(data.options.samples);
    form.seed = std::to_string(data.options.seed);
    return form;
}

namespace {

// The field names as the dialog labels them (UTF-8 here, stored code page in the message).
std::string closingField(int k, const char* side) { return "Schließmaß " + intText(k) + ", " + side; }

class FormCheck {
public:
    FormCheck(const LanguageTexts& texts) : m_texts(texts) {}

    std::optional<MonteCarloFault> fault;

    // An empty text is no value; anything else must be a finite number.
    std::optional<long double> optionalNumber(const std::string& text, MonteCarloField field, int number,
                                              const std::string& name) {
        if (fault || trimmedEmpty(text)) return std::nullopt;
        long double value = 0;
        if (!parseNumber(text, value) || !std::isfinite(value)) invalid(field, number, name, text);
        return fault ? std::nullopt : std::optional<long double>(value);
    }

    void fail(MonteCarloField field, int number, const std::string& utf8) {
        if (!fault) fault = MonteCarloFault{field, number, utf8ToOem(utf8)};
    }

    void invalid(MonteCarloField field, int number, const std::string& name, const std::string& text) {
        fail(field, number, name + ": " + oemToUtf8(m_texts.main.invalidInput) + "\"" + text + "\" !");
    }

    void outOfRange(MonteCarloField field, const std::string& name, const std::string& lower,
                    const std::string& upper, int number = 0) {
        fail(field, number, name + ": " + oemToUtf8(m_texts.main.validRange) + lower + " .. " + upper + " !");
    }

private:
    static bool trimmedEmpty(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

    const LanguageTexts& m_texts;
};

std::optional<std::uint64_t> seedValue(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    std::uint64_t value = 0;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    const auto r = std::from_chars(begin, end, value);
    if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
    return value;
}

} // namespace

std::optional<MonteCarloFault> takeMonteCarloForm(const MonteCarloForm& form, const LanguageTexts& texts,
                                                  AnalysisData& data) {
    FormCheck check(texts);
    std::map<int, RequiredLimits> limits;
    for (std::size_t i = 0; i < form.limits.size() && !check.fault; ++i) {
        const int k = static_cast<int>(i) + 1;
        RequiredLimits l;
        l.lower = check.optionalNumber(form.limits[i].lower, MonteCarloField::Lower, k, closingField(k, "untere Grenze"));
        l.upper = check.optionalNumber(form.limits[i].upper, MonteCarloField::Upper, k, closingField(k, "obere Grenze"));
        if (l.lower && l.upper && *l.lower > *l.upper) {
            check.fail(MonteCarloField::Lower, k,
                       closingField(k, "untere Grenze") + " " + form.limits[i].lower + " liegt über der oberen Grenze " +
                           form.limits[i].upper + " !");
        }
        if (l.any()) limits[k] = l;
    }
    std::map<int, ElementDistribution> elements;
    for (std::size_t i = 0; i < form.elements.size() && !check.fault; ++i) {
        const int n = static_cast<int>(i) + 1;
        const MonteCarloForm::Element& e = form.elements[i];
        if (e.kind == Distribution::Normal) continue;  // the default is not written
        if (e.kind == Distribution::Measured) {
            // The values come from the settings file and stay as they were read.
            const ElementDistribution kept = data.distributionOf(n);
            if (kept.kind == Distribution::Measured && kept.measured) elements[n] = kept;
            continue;
        }
        ElementDistribution d;
        d.kind = e.kind;
        if (e.kind == Distribution::ShiftedNormal) {
            const std::string name = "Element " + intText(n) + ", Verschiebung %";
            d.meanShiftPercent =
                check.optionalNumber(e.shiftPercent, MonteCarloField::ShiftPercent, n, name).value_or(0);
            if (std::fabs(d.meanShiftPercent) > kMaxMeanShiftPercent) {
                check.outOfRange(MonteCarloField::ShiftPercent, name, "-50", "50", n);
            }
        }
        elements[n] = d;
    }
    AnalysisOptions options = data.options;
    options.method = form.method;
    long long samples = 0;
    if (!check.fault) {
        if (!parseInteger(form.samples, samples)) {
            check.invalid(MonteCarloField::Samples, 0, "Anzahl N", form.samples);
        } else if (samples < kMinSamples || samples > kMaxSamples) {
            check.outOfRange(MonteCarloField::Samples, "Anzahl N", intText(kMinSamples), intText(kMaxSamples));
        }
        options.samples = samples;
    }
    if (!check.fault) {
        const std::optional<std::uint64_t> seed = seedValue(form.seed);
        if (!seed) check.invalid(MonteCarloField::Seed, 0, "Startwert", form.seed);
        options.seed = seed.value_or(0);
    }
    if (check.fault) return check.fault;
    data.limits = std::move(limits);
    data.elements = std::move(elements);
    data.options = options;
    return std::nullopt;
}

bool readClosingAnalysis(ProgramState& state, AnalysisData& data) {
    state.error.clear();
    if (state.chain.closingCount() == 0) {
        state.prompter->showError(state.texts.report.noClosing + " ...");
        state.error.set();
        return false;
    }
    return readProjectAnalysis(state, data);
}

bool readProjectAnalysis(ProgramState& state, AnalysisData& data) {
    const std::string project = currentProjectPath(state);
    if (project.empty()) {
        state.prompter->showError(
            utf8ToOem("Die Einstellungen werden neben der Projektdatei gespeichert: bitte das Projekt zuerst speichern !"));
        state.error.set();
        return false;
    }
    const std::string path = sidecarPath(project);
    AnalysisData read;
    const SidecarRead outcome = readSidecar(path, state.chain, read, state.config.language);
    if (!outcome.ok) {
        state.prompter->showError(utf8ToOem(path + ": " + outcome.error));
        state.error.set();
        return false;
    }
    if (!outcome.notes.empty()) {
        std::string text = path + ":";
        for (const std::string& note : outcome.notes) text += "\n" + note;
        state.prompter->showNote(utf8ToOem(text));
    }
    data = std::move(read);
    return true;
}

bool writeProjectAnalysis(ProgramState& state, const AnalysisData& data) {
    const std::string project = currentProjectPath(state);
    if (project.empty()) return false;
    return commitFile(sidecarPath(project), sidecarText(data), *state.prompter, state.error);
}

bool editProjectMonteCarlo(ProgramState& state, int& closing, const MonteCarloDialog& dialog) {
    AnalysisData data;
    if (!readClosingAnalysis(state, data)) return false;
    const std::optional<MonteCarloAnswer> answer = dialog(data, closing);
    const MonteCarloAnswer* taken = takeAnswer(answer, state.error);
    if (!taken) return false;
    closing = taken->closing;
    return writeProjectAnalysis(state, taken->data);
}

} // namespace zam1
