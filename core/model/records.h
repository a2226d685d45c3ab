#pragma once
// The records of the dimension chain: elements, closing dimensions, the result of
// the last distance resolution and the message list of one calculation.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/text/short_string.h"

namespace zam1 {

inline constexpr int kMaxElements = 2500;
inline constexpr int kMaxClosing = 250;
inline constexpr int kMaxMessages = 11;
inline constexpr std::size_t kMessageLength = 36;

struct Element {
    std::int32_t predecessor = 0;   // element the distance is measured from; 0 = reference
    std::uint8_t positive = 1;      // direction: nonzero = "+", 0 = "-"
    long double distance = 0;       // magnitude of the nominal distance
    long double upperDev = 0;       // "ob.Tol."
    long double lowerDev = 0;       // "unt.Tol."
    // Working values, recomputed before every calculation.
    long double signedNominal = 0;
    long double signedMax = 0;
    long double signedMin = 0;
    long double signedMean = 0;
    long double halfRangeSquared = 0;
    long double position = 0;
    ShortString<18> text;
    ShortString<60> remark;
    ShortString<2> isoLetters;      // letter part of an ISO 286 code, empty when none
    std::uint8_t isoGrade = 0;      // grade of the ISO code, 0 when none

    bool hasIsoCode() const { return !isoLetters.empty() && isoGrade != 0; }
};

struct ClosingDimension {
    std::int32_t fromElement = 0;
    std::int32_t toElement = 0;
    ShortString<17> text;
    ShortString<50> remark;
};

// The sums of one resolved distance and what follows from them.
struct ClosingSums {
    long double closingMin = 0;
    long double closingMax = 0;
    long double closingNominal = 0;
    long double closingMean = 0;
    long double closingVariance = 0;
    long double closingStatDev = 0;
    long double closingUpperDev = 0;
    long double closingLowerDev = 0;
};

// The working record of the resolution: the sums of the last distance resolved
// and its two sides in preallocated arrays.
struct ClosingResult : ClosingSums {
    // Elements between each end and the first element both ends share, nearest first.
    // Index 0 is unused; entries 1..count belong to the distance.
    std::array<std::int32_t, kMaxElements + 2> pathFrom{};
    std::array<std::int32_t, kMaxElements + 2> pathTo{};
    std::int32_t pathFromCount = 0;
    std::int32_t pathToCount = 0;
    ShortString<60> structureError;
};

// The warnings of one calculation: at most 11, compared on their first 36 characters.
class MessageList {
public:
    void add(std::string_view text);
    void clear() { m_count = 0; }
    int count() const { return m_count; }
    bool empty() const { return m_count == 0; }
    std::string_view at(int index) const { return m_entries.at(static_cast<std::size_t>(index)).view(); }

private:
    std::array<ShortString<kMessageLength>, kMaxMessages> m_entries{};
    int m_count = 0;
};

} // namespace zam1
