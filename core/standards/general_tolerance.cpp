#include "core/standards/general_tolerance.h"

#include <algorithm>
#include <cmath>

#include "core/model/records.h"
#include "core/standards/general_tolerance_tables.h"

namespace zam1 {
namespace {

using namespace general_tables;

GeneralTolerance symmetric(long double t) { return {t, -t}; }

GeneralTolerance iso2768(int classIndex, long double d) {
    // From the column above 4000 mm down: the last limit d still fits under wins.
    int column = kIso2768Columns;
    for (int i = static_cast<int>(kIso2768Limits.size()); i >= 1; --i) {
        if (d <= kIso2768Limits[static_cast<std::size_t>(i - 1)]) column = i;
    }
    return symmetric(general_tables::iso2768(classIndex, column));
}

std::optional<GeneralTolerance> din16901(const GeneralToleranceSetting& setting, long double d) {
    const bool mouldBound = setting.option == 2;
    const int range = classifiedRange(d, kDin16901Limits);
    if (setting.group == 7) {
        const int precisionRange = std::min(range, kDin16901PrecisionRanges);
        return symmetric(din16901PrecisionWidth(mouldBound ? 2 : 1, precisionRange) / 2);
    }
    if (setting.group < 1 || setting.group > 6) return std::nullopt;
    long double upper = din16901Width(setting.group, range) / 2;
    if (mouldBound) upper -= din16901Reduction(setting.group) / 2;
    return symmetric(upper);
}

std::optional<GeneralTolerance> din6930(const GeneralToleranceSetting& setting, long double d) {
    if (setting.option < 1 || setting.option > 4 || setting.rangeIndex < 1 || setting.rangeIndex > 5) {
        return std::nullopt;
    }
    const int range = classifiedRange(d, kDin6930Limits);
    return symmetric(din6930Um(setting.option, setting.rangeIndex, range) / 1000.0L);
}

std::optional<GeneralTolerance> en12420(const GeneralToleranceSetting& setting, long double d) {
    if (setting.group < 1 || setting.group > 3) return std::nullopt;
    const int range = classifiedRange(d, kEn12420Limits);
    if (setting.option == 1) return symmetric(en12420ToolBound(setting.group, range));
    if (setting.option != 2 || setting.rangeIndex < 1 || setting.rangeIndex > 6) return std::nullopt;
    const auto [upper, lower] = en12420NotToolBound(setting.group, setting.rangeIndex, range);
    return GeneralTolerance{upper, lower};
}

} // namespace

std::optional<GeneralTolerance> generalToleranceFor(long double nominalMm, const GeneralToleranceSetting& setting) {
    if (setting.standardCode == kGeneralConstant) {
        return GeneralTolerance{setting.constantUpper, setting.constantLower};
    }
    // A size that is not a number has no place in any table.
    if (!std::isfinite(nominalMm)) return std::nullopt;
    const long double d = std::fabs(nominalMm);
    switch (setting.standardCode) {
    case kIso2768Fine:
    case kIso2768Medium:
    case kIso2768Coarse:
    case kIso2768VeryCoarse: return iso2768(setting.standardCode - kIso2768Fine, d);
    case kDin16901: return din16901(setting, d);
    case kDin6930: return din6930(setting, d);
    case kEn12420: return en12420(setting, d);
    default: return std::nullopt;  // none, and the unused code 8
    }
}

bool ApplyGeneralTolerance(Element& element, const GeneralToleranceSetting& setting) {
    const auto tolerance = generalToleranceFor(element.distance, setting);
    if (!tolerance) return false;
    element.upperDev = tolerance->upperMm;
    element.lowerDev = tolerance->lowerMm;
    return true;
}

} // namespace zam1
