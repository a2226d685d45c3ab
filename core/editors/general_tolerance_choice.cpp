#include "core/editors/general_tolerance_choice.h"

#include <algorithm>
#include <array>

#include "core/analysis/input_check.h"
#include "core/lang/language.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

int indexOf(int value, int entries) { return std::clamp(value - 1, 0, entries - 1); }

std::uint16_t valueOf(int index) { return static_cast<std::uint16_t>(std::max(index, 0) + 1); }

constexpr const char* kConstantControls[] = {"Edit_max", "Edit_min", "Button_min"};
constexpr const char* kIso2768Controls[] = {"ComboBox_2768"};
constexpr const char* kDin16901Controls[] = {"ComboBox_16901", "ComboBox_16901a"};
constexpr const char* kDin6930Controls[] = {"ComboBox_6930", "ComboBox_6930a"};
constexpr const char* kEn12420Controls[] = {"ComboBox_12420", "ComboBox_12420a", "ComboBox_12420b"};
constexpr const char* kAll[] = {"Edit_max",        "Edit_min",      "Button_min",     "ComboBox_2768",
                                "ComboBox_16901",  "ComboBox_16901a", "ComboBox_6930", "ComboBox_6930a",
                                "ComboBox_12420",  "ComboBox_12420a", "ComboBox_12420b"};

} // namespace

GeneralToleranceChoice choiceFromSetting(const GeneralToleranceSetting& s) {
    GeneralToleranceChoice c;
    switch (s.standardCode) {
    case kGeneralNone: c.item = kItemNone; break;
    case kIso2768Fine:
    case kIso2768Medium:
    case kIso2768Coarse:
    case kIso2768VeryCoarse:
        c.item = kItemIso2768;
        c.iso2768 = s.standardCode - kIso2768Fine;
        break;
    case kDin16901: c.item = kItemDin16901; break;
    case kGeneralConstant: c.item = kItemConstant; break;
    case kDin6930: c.item = kItemDin6930; break;
    case kEn12420: c.item = kItemEn12420; break;
    default: c.item = kItemNone; break;
    }
    c.constantUpper = autoNumber(s.constantUpper, {}, 6);
    c.constantLower = autoNumber(s.constantLower, {}, 6);
    c.din16901Group = indexOf(s.group, 7);
    c.en12420Group = indexOf(s.group, 3);
    c.din16901Bound = indexOf(s.option, 2);
    c.din6930Class = indexOf(s.option, 4);
    c.en12420Bound = indexOf(s.option, 2);
    c.din6930Range = indexOf(s.rangeIndex, 5);
    c.en12420Area = indexOf(s.rangeIndex, 6);
    return c;
}

std::optional<GeneralToleranceSetting> settingFromChoice(const GeneralToleranceChoice& c,
                                                         const GeneralToleranceSetting& previous) {
    GeneralToleranceSetting s = previous;
    if (readLength(c.constantUpper, s.constantUpper) != LengthReading::Read ||
        readLength(c.constantLower, s.constantLower) != LengthReading::Read) {
        return std::nullopt;
    }
    switch (c.item) {
    case kItemNone: s.standardCode = kGeneralNone; break;
    case kItemConstant: s.standardCode = kGeneralConstant; break;
    case kItemIso2768: s.standardCode = static_cast<std::uint16_t>(kIso2768Fine + std::clamp(c.iso2768, 0, 3)); break;
    case kItemDin16901:
        s.standardCode = kDin16901;
        s.option = valueOf(c.din16901Bound);
        s.group = valueOf(c.din16901Group);
        break;
    case kItemDin6930:
        s.standardCode = kDin6930;
        s.option = valueOf(c.din6930Class);
        s.rangeIndex = valueOf(c.din6930Range);
        break;
    case kItemEn12420:
        s.standardCode = kEn12420;
        s.option = valueOf(c.en12420Bound);
        s.group = valueOf(c.en12420Group);
        s.rangeIndex = valueOf(c.en12420Area);
        break;
    default: break;
    }
    return s;
}

std::optional<ConstantFault> constantFault(const GeneralToleranceChoice& c, const LanguageTexts& texts) {
    for (const bool upper : {true, false}) {
        const std::string& typed = upper ? c.constantUpper : c.constantLower;
        long double value = 0;
        const LengthReading reading = readLength(typed, value);
        if (reading == LengthReading::Read) continue;
        const std::string& field = upper ? texts.main.upperTolerance : texts.main.lowerTolerance;
        return ConstantFault{upper, lengthRefusalText(reading, field, typed, texts)};
    }
    return std::nullopt;
}

std::string constantWarning(const GeneralToleranceSetting& s, const LanguageTexts& texts) {
    if (s.standardCode != kGeneralConstant || !(s.constantLower > s.constantUpper)) return {};
    return texts.tolerance.generalTolerance + ": " + texts.main.lowerTolerance + " " + autoNumber(s.constantLower, {}, 6) +
           " > " + texts.main.upperTolerance + " " + autoNumber(s.constantUpper, {}, 6) + " !";
}

std::span<const char* const> controlsOfItem(int item) {
    switch (item) {
    case kItemConstant: return kConstantControls;
    case kItemIso2768: return kIso2768Controls;
    case kItemDin16901: return kDin16901Controls;
    case kItemDin6930: return kDin6930Controls;
    case kItemEn12420: return kEn12420Controls;
    default: return {};
    }
}

std::span<const char* const> itemControls() { return kAll; }

GeneralToleranceLists generalToleranceLists(const GeneralToleranceTexts& t) {
    GeneralToleranceLists l;
    l.items = {t.none,
               t.constant,
               "DIN ISO 2768-1",
               "DIN 16901 (" + t.plasticParts + ")",
               "DIN 6930 (" + t.punchedParts + ")",
               "EN 12420 (" + t.extrudedParts + ")"};
    l.iso2768 = {"f (" + t.fine + ")", "m (" + t.medium + ")", "c (" + t.coarse + ")", "v (" + t.veryCoarse + ")"};
    for (const char* g : {" 160", " 150", " 140", " 130", " 120", " 110"}) l.din16901.push_back(t.toleranceGroup + g);
    l.din16901.push_back(t.toleranceGroup + " " + t.precisionEngineering);
    l.din16901a = {t.dimensions + " " + t.notWord + " " + t.mouldBound, t.dimensions + " " + t.mouldBound};
    l.din6930 = {t.fine, t.medium, t.coarse, t.veryCoarse};
    l.din6930a = {t.fromWord + " 0.1 " + t.toWord + " 1 mm", t.aboveWord + " 1 " + t.toWord + " 3 mm",
                  t.aboveWord + " 3 " + t.toWord + " 6 mm", t.aboveWord + " 6 " + t.toWord + " 10 mm",
                  t.aboveWord + " 10 mm"};
    l.en12420 = {"I", "II", "III"};
    l.en12420a = {t.dimensions + " " + t.toolBound, t.dimensions + " " + t.notToolBound};
    // cm² in the stored code page: superscript two is byte 0xFD there.
    const std::string cm2 = " cm\xFD";
    l.en12420b = {t.toWord + " 25" + cm2, "> 25 .. 50" + cm2,   "> 50 .. 100" + cm2,
                  "> 100 .. 200" + cm2,    "> 200 .. 400" + cm2, "> 400 .. 800" + cm2};
    return l;
}

} // namespace zam1
