#pragma once
// Number and text helpers of the reports. Nothing here looks at the process
// locale: "." stays "." under a German LC_NUMERIC; the comma comes only from the
// decimal-comma setting.

#include <string>
#include <string_view>

namespace zam1 {

// The two settings every number passes through: the configured decimals
// (default 3) and the decimal separator choice ("x,xx" against "x.xx").
struct NumberFormat {
    int decimals = 3;
    bool decimalComma = false;
};

std::string intText(long long value);
std::string intRight(long long value, int width);
std::string intZero(long long value, int width);
std::string textLeft(std::string_view text, int width);
std::string textRight(std::string_view text, int width);

// Fixed-point text with exactly `decimals` decimals, left-padded to `width`;
// never cut. Magnitudes below 1e-8 print as 0. No decimals-setting adjustment.
std::string fixedText(long double value, int width, int decimals, bool decimalComma);

// The report number rule: n integer places and d decimals, d shifted by the
// configured decimals minus 3 (limited to 0..10), padded to n + d + 1 (n when d is 0).
std::string fixedNumber(long double value, int integerPlaces, int decimals, const NumberFormat& format);

// A length of report width w: n = w - decimals + 3 (at least 1), d = decimals,
// so the field is w + 4 characters wide whatever the decimals setting.
std::string lengthField(long double value, int width, const NumberFormat& format);

// As many decimals as `significant` digits need, trailing zeros removed; "0" for
// magnitudes below 1e-5.
std::string autoNumber(long double value, const NumberFormat& format = {}, int significant = 3);
std::string signedAutoNumber(long double value, const NumberFormat& format = {}, int significant = 3);

// "+/-", or blank + OEM 241 (±) + blank.
std::string plusMinusSign(bool useSignCharacter);

// Deviations as the reports show them: "" when both are 0, ± + upper when symmetric,
// the nonzero one signed when only one is set, else "+upper/-lower".
std::string tolerancePair(long double lower, long double upper, std::string_view plusMinus,
                          const NumberFormat& format = {});

std::string_view unitLabel(bool inches);

// Reads a number as the program's inputs do: blanks around it ignored, "," taken
// for ".". Returns false (and leaves `out` alone) when the text is not a finite
// number ("inf" and "nan" are none).
bool parseNumber(std::string_view text, long double& out);
// The same, telling a text that is no number from a number that no extended
// float holds (or of more than 400 characters): a reader refuses the second
// where it may read the first as 0.
enum class NumberReading { Read, NotANumber, OutOfRange };
NumberReading readNumber(std::string_view text, long double& out);
// Same, but an unreadable text gives 0, as the file readers want it.
long double numberOrZero(std::string_view text);
bool parseInteger(std::string_view text, long long& out);

} // namespace zam1
