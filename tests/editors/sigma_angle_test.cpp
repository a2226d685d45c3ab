// The sigma and angle dialogs' arithmetic and the general-tolerance dialog's mapping.

#include <gtest/gtest.h>

#include "core/editors/general_tolerance_choice.h"
#include "core/editors/sigma_angle.h"
#include "core/lang/language.h"
#include "core/model/records.h"

namespace zam1 {
namespace {

TEST(SigmaRescale, KeepsTheMiddleAndScalesTheWidth) {
    struct Row {
        const char* name;
        long double upper, lower, s, wantUpper, wantLower;
    };
    const Row rows[] = {
        {"finer process", 0.1L, -0.1L, 6, 0.05L, -0.05L},
        {"coarser process", 0.1L, -0.1L, 1.5L, 0.2L, -0.2L},
        {"same sigma keeps an asymmetric zone", 0.3L, 0.1L, 3, 0.3L, 0.1L},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const auto rescale = rescaleForSigma(r.upper, r.lower, 3, r.s);
        ASSERT_TRUE(rescale);
        EXPECT_NEAR(static_cast<double>(rescale->newUpper()), static_cast<double>(r.wantUpper), 1e-15);
        EXPECT_NEAR(static_cast<double>(rescale->newLower()), static_cast<double>(r.wantLower), 1e-15);
    }
}

TEST(SigmaRescale, RefusesASigmaThatIsNotPositive) {
    for (long double s : {0.0L, -3.0L, -6.0L}) {
        SCOPED_TRACE(static_cast<double>(s));
        EXPECT_FALSE(rescaleForSigma(0.1L, -0.1L, 3, s)) << "a negative sigma would swap the tolerances";
    }
    EXPECT_FALSE(rescaleForSigma(0.1L, -0.1L, 0, 6)) << "no chain sigma, nothing to scale to";
}

TEST(SigmaRescale, TextsOfTheDialog) {
    Element e;
    e.distance = 25;
    e.upperDev = 0.1L;
    e.lowerDev = -0.1L;
    const auto rescale = rescaleForSigma(e.upperDev, e.lowerDev, 3, 6);
    ASSERT_TRUE(rescale);
    const SigmaTexts t = sigmaTexts(e, *rescale, 6, 3, "+/-");
    EXPECT_EQ(t.before, "25 +/-0.1 (Sigma=6)");
    EXPECT_EQ(t.after, "= 25 +/-0.05 (Sigma=3)");
    EXPECT_EQ(t.question, "25 +/-0.05 ?");
}

TEST(InclinedDistance, TheDialogsExampleAndItsCopies) {
    const auto result = inclinedDistance(AngleInput{});
    ASSERT_TRUE(result);
    const auto labels = inclinedLabels(*result);
    EXPECT_EQ(labels[0], "10");
    EXPECT_EQ(labels[1], "+0.278");
    EXPECT_EQ(labels[2], "-0.271");
}

TEST(InclinedDistance, NoResultWhereTheRangeTouchesAMultipleOf90) {
    struct Row {
        const char* name;
        long double phi, upper, lower;
        bool result;
    };
    const Row rows[] = {
        {"90 degrees", 90, 0, 0, false},
        {"0 degrees", 0, 0.5L, -0.5L, false},
        {"180 degrees", 180, 0, 0, false},
        {"-90 degrees", -90, 0, 0, false},
        {"89.7 whose tolerance crosses 90", 89.7L, 0.5L, -0.5L, false},
        {"89.5 whose tolerance ends on 90", 89.5L, 0.5L, -0.5L, false},
        {"0.3 whose tolerance crosses 0", 0.3L, 0.5L, -0.5L, false},
        {"a real 90.4 is not 90", 90.4L, 0.1L, -0.1L, true},
        {"45 plus/minus 0.5", 45, 0.5L, -0.5L, true},
        {"135 degrees", 135, 0.5L, -0.5L, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AngleInput in;
        in.phi = r.phi;
        in.phiUpper = r.upper;
        in.phiLower = r.lower;
        EXPECT_EQ(inclinedDistance(in).has_value(), r.result);
    }
}

TEST(InclinedDistance, WithoutTolerancesBothDeviationsAreExactlyZeroAndEmpty) {
    AngleInput in;
    in.phi = 30;
    in.phiUpper = in.phiLower = in.yUpper = in.yLower = 0;
    in.y = 123.456L;
    const auto result = inclinedDistance(in);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->upper, 0);
    EXPECT_EQ(result->lower, 0);
    const auto labels = inclinedLabels(*result);
    EXPECT_EQ(labels[1], "");
    EXPECT_EQ(labels[2], "");
}

TEST(InclinedDistance, FieldsMustAllBeNumbers) {
    EXPECT_TRUE(readAngleInput({"45", "+0,5", "-0.5", "10", "+0.1", "-0.1"}));
    EXPECT_FALSE(readAngleInput({"45", "+0.5", "-0.5", "1O", "+0.1", "-0.1"}));
    EXPECT_FALSE(readAngleInput({"", "+0.5", "-0.5", "10", "+0.1", "-0.1"}));
}

TEST(GeneralToleranceChoice, RadioItemsAndStandardCodesRoundTrip) {
    struct Row {
        std::uint16_t code;
        int item;
        int iso2768;
    };
    const Row rows[] = {{kGeneralNone, kItemNone, -1},         {kIso2768Fine, kItemIso2768, 0},
                        {kIso2768Medium, kItemIso2768, 1},    {kIso2768Coarse, kItemIso2768, 2},
                        {kIso2768VeryCoarse, kItemIso2768, 3}, {kDin16901, kItemDin16901, -1},
                        {kGeneralConstant, kItemConstant, -1}, {kDin6930, kItemDin6930, -1},
                        {kEn12420, kItemEn12420, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        GeneralToleranceSetting s;
        s.standardCode = r.code;
        const GeneralToleranceChoice c = choiceFromSetting(s);
        EXPECT_EQ(c.item, r.item);
        if (r.iso2768 >= 0) {
            EXPECT_EQ(c.iso2768, r.iso2768);
        }
        const auto back = settingFromChoice(c, s);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->standardCode, r.code);
    }
}

TEST(GeneralToleranceChoice, OkStoresOnlyTheChosenStandardsLists) {
    GeneralToleranceSetting s;  // group 3, option 1, range 1
    GeneralToleranceChoice c = choiceFromSetting(s);
    c.item = kItemEn12420;
    c.en12420Group = 1;
    c.en12420Bound = 1;
    c.en12420Area = 2;
    c.din16901Group = 6;  // another item's list: not stored
    c.constantUpper = "0,2";
    c.constantLower = "-0.05";
    const auto stored = settingFromChoice(c, s);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->standardCode, kEn12420);
    EXPECT_EQ(stored->group, 2);
    EXPECT_EQ(stored->option, 2);
    EXPECT_EQ(stored->rangeIndex, 3);
    EXPECT_EQ(stored->constantUpper, 0.2L);
    EXPECT_EQ(stored->constantLower, -0.05L);

    c.constantLower = "-0.05mm";
    EXPECT_FALSE(settingFromChoice(c, s)) << "a typo in a constant is not read as 0";
}

TEST(GeneralToleranceChoice, ListTextsAndEnabledControls) {
    const LanguageTexts texts;
    const GeneralToleranceLists l = generalToleranceLists(texts.tolerance);
    ASSERT_EQ(l.items.size(), 6u);
    EXPECT_EQ(l.din16901.back(), "Toleranzgruppe Feinwerktechnik");
    EXPECT_EQ(l.din16901a.at(0), "Ma\xE1" "e nicht formgebunden");
    EXPECT_EQ(l.en12420a.at(1), "Ma\xE1" "e nicht werkzeuggebunden");
    EXPECT_EQ(l.en12420b.at(1), "> 25 .. 50 cm\xFD");
    EXPECT_EQ(controlsOfItem(kItemNone).size(), 0u);
    EXPECT_EQ(controlsOfItem(kItemEn12420).size(), 3u);
    EXPECT_EQ(itemControls().size(), 11u);
}

} // namespace
} // namespace zam1
