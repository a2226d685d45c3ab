#pragma once
// The general-tolerance dialog without its window: which radio item and list
// entries show a selection, what OK makes of them, which controls each item
// enables, and the texts of its lists.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/standards/general_tolerance.h"

namespace zam1 {

struct GeneralToleranceTexts;
struct LanguageTexts;

enum GeneralToleranceItem : int {
    kItemNone = 0,
    kItemConstant = 1,
    kItemIso2768 = 2,
    kItemDin16901 = 3,
    kItemDin6930 = 4,
    kItemEn12420 = 5,
};

// The dialog's controls as indexes (0-based list entries) and texts.
struct GeneralToleranceChoice {
    int item = kItemIso2768;
    int iso2768 = 1;        // ComboBox_2768: f, m, c, v
    int din16901Group = 2;  // ComboBox_16901: 160 .. 110, precision engineering
    int din16901Bound = 0;  // ComboBox_16901a: not mould-bound, mould-bound
    int din6930Class = 0;   // ComboBox_6930
    int din6930Range = 0;   // ComboBox_6930a: thickness
    int en12420Group = 2;   // ComboBox_12420: I, II, III
    int en12420Bound = 0;   // ComboBox_12420a: tool-bound, not tool-bound
    int en12420Area = 0;    // ComboBox_12420b
    std::string constantUpper = "0.1";  // Edit_max, as shown
    std::string constantLower = "-0.1"; // Edit_min
};

GeneralToleranceChoice choiceFromSetting(const GeneralToleranceSetting& setting);

// The setting OK stores. Nothing when a constant field does not hold a number
// within the length limit; the caller then says so and keeps the dialog open.
std::optional<GeneralToleranceSetting> settingFromChoice(const GeneralToleranceChoice& choice,
                                                         const GeneralToleranceSetting& previous);

// Why settingFromChoice refused: the first constant field at fault, named with
// what it holds (stored code page).
struct ConstantFault {
    bool upper = true;  // Edit_max, else Edit_min
    std::string message;
};
std::optional<ConstantFault> constantFault(const GeneralToleranceChoice& choice, const LanguageTexts& texts);

// A constant general tolerance whose lower deviation lies above the upper one is
// stored as typed, but said: "Freimasstoleranz: unt.Tol. 0.1 > ob.Tol. -0.1 !".
// Empty for every other setting.
std::string constantWarning(const GeneralToleranceSetting& setting, const LanguageTexts& texts);

// Object names of the input controls that radio item `item` enables.
std::span<const char* const> controlsOfItem(int item);
// Every input control the items enable or disable.
std::span<const char* const> itemControls();

// List texts (CP850) from the language texts; the standards' names are fixed.
struct GeneralToleranceLists {
    std::vector<std::string> items, iso2768, din16901, din16901a, din6930, din6930a, en12420, en12420a, en12420b;
};
GeneralToleranceLists generalToleranceLists(const GeneralToleranceTexts& texts);

} // namespace zam1
