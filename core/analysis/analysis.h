#pragma once
// Analysis of every closing dimension beyond the report's two methods: reject
// rates against required limits by worst case, by the statistical method (the
// normal distribution evaluated, not the fixed table) and by Monte Carlo with a
// distribution per element; process capability; the share of each element.
// A dialog calls analyseChain and shows the result; the command line writes it
// with analysis_report.h.

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/analysis_data.h"
#include "core/analysis/monte_carlo.h"

namespace zam1 {

class Chain;

inline constexpr long double kAllPpm = 1e6L;

// Worst case knows only whether a limit can be passed: Holds when no value of the
// worst-case range lies beyond the limit (a value on the limit holds), All when
// every value does (1e6 ppm), Partly when the range straddles it: the limit is
// violated, but worst case cannot say how often (no ppm).
enum class WorstCaseSide { Holds, Partly, All };

// Worst case and the statistical method are exact: a limit holds or fails.
// Monte Carlo only estimates: it holds when the whole 95 % interval of the
// 0.135 % and 99.865 % points lies within the limits, fails when the whole
// interval of one lies beyond, and is undecided otherwise.
enum class Verdict { Holds, Undecided, Fails };

// What the sample carries beyond its figures: 95 % intervals of the ppm beyond
// each limit (Wilson) and their standard errors, in ppm; meaningful only where
// the limit is required.
struct MonteCarloConfidence {
    Interval ppmBelow{0, 0};
    Interval ppmAbove{0, 0};
    double ppmBelowError = 0;
    double ppmAboveError = 0;
    double meanError = 0;   // sample standard deviation / sqrt(N)
    Verdict verdict = Verdict::Holds;
    // Undecided only: about how many samples would decide it, from the width of
    // the interval (which shrinks with 1 / sqrt(N)); none when the estimate lies
    // on the limit, where no number of samples decides.
    std::optional<std::int64_t> samplesToDecide;
};

struct Capability {
    std::optional<long double> cp;  // both limits and a positive sigma needed
    std::optional<long double> cpk; // one limit is enough (then Cpu or Cpl)
};

// The share of the tolerance by which "what to tighten" narrows each element.
inline constexpr long double kTightenShare = 0.1L;

// How the closing dimension answers one element on its path, for the
// statistical method with the variance it used (v_i = k_i t_i², s² = sum v_i
// plus the covariance terms of correlated pairs, the mean moving by the mean
// shifts, which are fixed shares of t_i). With c_i the element's covariance
// with the closing dimension (v_i and half of each of its covariance terms,
// which grow with t_i alone), ds/dt_i = c_i / (t_i s). The zone is narrowed
// about its middle.
struct ElementSensitivity {
    int element = 0;
    int meanPerNominal = 0;  // d(mean) / d(nominal): +1 or -1
    // Null without sigma (no statistical method) or with s = 0.
    std::optional<long double> sigmaPerTolerance;  // ds / dt_i = c_i / (t_i s)
    // Null also without a required limit: ppm beyond both limits.
    std::optional<long double> ppmPerTolerance;    // d(ppm) / dt_i, ppm per mm
    std::optional<long double> ppmSaved;           // ppm - ppm with t_i narrowed by kTightenShare, exact
    // s - s with t_i narrowed by kTightenShare; below 0 where a correlated partner
    // cancels part of the element's spread (narrowing it then widens s).
    std::optional<long double> sigmaSaved;
};

struct Contribution {
    int element = 0;
    int sensitivity = 0;     // +1 / -1: change of the closing dimension when the element grows by 1
    long double tolerance = 0;  // upper - lower deviation
    Distribution distribution = Distribution::Normal;
    // Of the variance the statistical method used; with correlated pairs the
    // element's variance and half of each of its covariance terms (so a share
    // may lie below 0 where r < 0), which still add up to 100 %.
    long double sharePercent = 0;
    // Of the Monte Carlo sample's variance (the sample covariance of the element's
    // deviation with the closing dimension); none when not simulated or without spread.
    std::optional<double> monteCarloSharePercent;
    long double variance = 0;      // the element's, under its declared distribution (0 without sigma)
    long double meanShift = 0;     // the shift of its mean as it enters the closing dimension
    // Half of each covariance term 2 r a_i a_j s_i s_j with a correlated element
    // on the path (a the sensitivity): the element's covariance with the closing
    // dimension is variance + covariance. 0 without sigma.
    long double covariance = 0;
};

struct ClosingAnalysis {
    int number = 0;
    int fromElement = 0;
    int toElement = 0;
    std::string text;           // UTF-8
    bool resolved = false;
    std::string structureError; // UTF-8, when not resolved
    RequiredLimits limits;

    long double nominal = 0;
    long double worstMin = 0;
    long double worstMax = 0;
    WorstCaseSide worstBelow = WorstCaseSide::Holds;
    WorstCaseSide worstAbove = WorstCaseSide::Holds;

    // With every element on the path normal these are the statistical method's
    // closingMean, closingStatDev and s = closingStatDev / productionSigma. When an
    // element declares another distribution, s comes from the exact variance of
    // the declared distributions (normal (h/sigma)², uniform h²/3, triangular h²/6,
    // h half the tolerance), the mean moves by the mean shifts, and statDev is
    // productionSigma s: the same ±sigma rule on the variance actually used.
    // Correlated pairs on the path add their covariance terms to either variance.
    bool declaredVariance = false;
    std::vector<Correlation> correlations;  // the pairs with both elements on the path
    long double mean = 0;
    long double statDev = 0;
    long double sigma = 0;
    long double ppmBelow = 0;    // statistical
    long double ppmAbove = 0;
    Capability statCapability;

    SampleSummary monteCarlo;    // count 0 when not simulated
    Capability mcCapability;            // from the sample standard deviation
    Capability mcPercentileCapability;  // from the 0.135 %, 50 % and 99.865 % points
    MonteCarloConfidence mcConfidence;

    std::vector<Contribution> contributions; // largest share first
    // Every element on the path, the one whose narrowing saves the most ppm
    // first (then the most s, then the lower number): what to tighten.
    std::vector<ElementSensitivity> sensitivities;

    bool failsWorstCase = false;
    bool failsStatistical = false;  // closingMean ± closingStatDev beyond a limit
    bool failsMonteCarlo = false;   // the 95 % interval of the 0.135 % or 99.865 % point wholly beyond a limit
    bool fails = false;             // by the chosen method
    Verdict verdict = Verdict::Holds;  // by the chosen method; Holds also without limits
};

// An element whose distribution comes from measured values, judged on its own:
// the values against the element's drawing limits (nominal + deviations).
struct MeasuredElement {
    int element = 0;
    std::shared_ptr<const MeasuredSample> sample;
    long double nominal = 0;
    RequiredLimits drawing;  // absolute sizes
    Capability capability;   // of the sample's mean and s against the drawing limits
};

struct AnalysisResult {
    AnalysisOptions options;
    std::vector<MeasuredElement> measured;  // by element number
    long double productionSigma = 3;
    bool statistical = true;   // false when productionSigma is not positive: no s, no Monte Carlo
    std::vector<ClosingAnalysis> closings;
    std::vector<Correlation> correlations;  // every pair declared

    bool allHold() const;  // every closing dimension's verdict is Holds
    // Fails when one closing dimension fails, else Undecided when one is, else Holds.
    Verdict verdict() const;
};

// Worst case of the worst-case range min..max against one limit.
WorstCaseSide worstCaseBelow(long double min, long double max, long double lower);
WorstCaseSide worstCaseAbove(long double min, long double max, long double upper);
// 0 or 1e6; Partly has none.
std::optional<long double> worstCasePpm(WorstCaseSide side);

// The verdict of the Monte Carlo sample `m` against `limits`, with the samples
// that would decide it when undecided.
MonteCarloConfidence monteCarloConfidence(const RequiredLimits& limits, const SampleSummary& m);

// Cp = (USL - LSL) / 6σ, Cpk = min(USL - μ, μ - LSL) / 3σ.
Capability capability(const RequiredLimits& limits, long double mean, long double sigma);
// The percentile form for any distribution: Cp = (USL - LSL) / (X99.865 - X0.135),
// Cpk = min((USL - X50) / (X99.865 - X50), (X50 - LSL) / (X50 - X0.135)); with
// one limit its side. None where the spread on a side needed is not positive.
Capability percentileCapability(const RequiredLimits& limits, long double low, long double median, long double high);

// The ppm of a normal with `mean` and standard deviation `s` beyond the limits
// (both tails; 0 without limits).
long double normalPpmBeyond(const RequiredLimits& limits, long double mean, long double s);

// Resolves every closing dimension of the chain (working values current) and
// analyses it with the limits and distributions of `data`.
AnalysisResult analyseChain(Chain& chain, const AnalysisData& data, const AnalysisOptions& options);

} // namespace zam1
