#pragma once
// Monte Carlo simulation of every closing dimension of a chain from the same
// draws, so closing dimensions that share elements stay correlated. Elements
// linked by correlated pairs draw correlated normal scores (correlation.h);
// without such pairs every draw is what it always was.
//
// Each draw is a hash of (seed, sample number, element number): no generator
// state is carried from sample to sample, so any thread can make any sample.
// The samples are cut into a fixed number of blocks whatever the thread count;
// each block is summed in sample order and the blocks are combined in block
// order, so the numbers are the same to the last bit with one thread or two.

#include <cstdint>
#include <vector>

#include "core/analysis/analysis_data.h"
#include "core/analysis/confidence.h"

namespace zam1 {

class Chain;
struct ClosingSolution;

struct Histogram {
    double low = 0;   // left edge of the first bin
    double high = 0;  // right edge of the last bin
    std::vector<std::int64_t> counts;
};

struct SampleSummary {
    std::int64_t count = 0;  // 0: the closing dimension was not simulated (not resolved)
    double mean = 0;
    double stdDev = 0;       // sample standard deviation (n - 1)
    double min = 0;
    double max = 0;
    // Read from a fine histogram of kFineBins bins over the expected mean
    // ± kRangeSigmas standard deviations (narrower when every element is bounded),
    // interpolated within the bin and kept within min..max: off by less than one
    // fine bin, 14 / 4096 of a standard deviation.
    double p00135 = 0;  // 0.135 %
    double p50 = 0;
    double p99865 = 0;  // 99.865 %
    // 95 % confidence intervals of the two outer points: order statistics read
    // from the same histogram; an end no sample can bound stays infinite.
    Interval p00135Interval;
    Interval p99865Interval;
    std::int64_t below = 0;  // samples below the required lower limit
    std::int64_t above = 0;  // samples above the required upper limit
    Histogram histogram;     // kDisplayBins bins from min to max, for a picture
    // The share of each element on the path in the sample variance: the sample
    // covariance of the element's deviation (as it enters the closing dimension)
    // with the closing dimension, over the sample variance of the closing
    // dimension. The shares add up to 100 %; one may lie below 0 or above 100
    // by sampling error. In path order (the first end's side, then the second's);
    // a share is NaN where the spread is 0 or overflowed.
    std::vector<int> shareElements;
    std::vector<double> sharePercent;
    std::int64_t shareSamples = 0;  // the first samples the shares come from (see kMaxShareSamples)
};

inline constexpr int kFineBins = 4096;
inline constexpr double kRangeSigmas = 7;
inline constexpr int kDisplayBins = 50;
// Fixed, not taken from the thread count: this is what keeps the sums identical.
inline constexpr int kSampleBlocks = 64;
// The shares take one product per sample for every element on every path:
// about a quarter more instructions for the samples of a small chain. They
// come from the first kMaxShareSamples samples at most: there a share's
// standard error is below half a percentage point, and a run of a million
// samples pays for them only on its first tenth. Where the products outnumber the drawn elements more than
// kShareWorkPerDraw times (large projects whose closing dimensions span
// hundreds of elements each), they come from the first N * drawn elements /
// products samples: as many products as draws, which adds about a quarter to
// the draws' instructions; never fewer than kMinShareSamples (or N).
inline constexpr std::int64_t kMaxShareSamples = 100'000;
inline constexpr std::int64_t kShareWorkPerDraw = 4;
inline constexpr std::int64_t kMinShareSamples = 1000;

// One summary per solution (closing dimension k at index k - 1). The working
// values of the chain must be current and productionSigma positive.
std::vector<SampleSummary> simulateClosings(const Chain& chain, const std::vector<ClosingSolution>& solutions,
                                            const AnalysisData& data, const AnalysisOptions& options);

// The uniform number in (0, 1) the simulation draws for (seed, sample, element,
// stream); stream 0 and 1 serve the two halves of a triangular draw.
double uniformDraw(std::uint64_t seed, std::int64_t sample, int element, int stream);

} // namespace zam1
