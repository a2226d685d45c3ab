#pragma once
// Number and text forms shared by the CAD writers. None of them looks at the
// process locale.

#include <string>
#include <string_view>

#include "core/text/number_format.h"

namespace zam1 {

// Appends `value` in fixed-point notation with `decimals` decimals (no padding) and
// `separator` as decimal separator. Magnitudes below 1e-8 and values that round to
// zero are written without a sign. Fast for drawing coordinates, exact for all.
void appendFixed(std::string& out, long double value, int decimals, char separator = '.');
std::string fixedPlain(long double value, int decimals, char separator = '.');

// The text of a CAD entity by "CAD Text Mode": 2 converts the stored (OEM) bytes to
// the Windows code page, 3 spells the German special characters with two letters
// ("ü" -> "ue", "ß" -> "ss"), anything else keeps them. Control characters become
// blanks in every mode: a line break inside a text would break the file's records.
std::string cadText(std::string_view oem, int mode);

// The DXF name ($DWGCODEPAGE) of the code page cadText writes in by `mode`: every
// mode but 2 keeps bytes of the stored OEM code page.
std::string_view cadTextCodePage(int mode);

// "ü" -> "ue", "Ä" -> "Ae", "ß" -> "ss" and so on, in the stored code page.
std::string germanTwoLetter(std::string_view oem);

} // namespace zam1
