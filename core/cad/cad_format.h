#pragma once
// Number and text forms shared by the CAD writers. None of them looks at the
// process locale.

#include <string>
#include <string_view>

#include "core/graphics/cad_text_mode.h"
#include "core/text/number_format.h"

namespace zam1 {

// Appends `value` in fixed-point notation with `decimals` decimals (no padding) and
// `separator` as decimal separator. Magnitudes below 1e-8 and values that round to
// zero are written without a sign. Fast for drawing coordinates, exact for all.
void appendFixed(std::string& out, long double value, int decimals, char separator = '.');
std::string fixedPlain(long double value, int decimals, char separator = '.');

// The text of a CAD entity in `mode`. Control characters become blanks in every
// mode: a line break inside a text would break the file's records.
std::string cadText(std::string_view oem, CadTextMode mode);

// `text` with every control character (below 32, and 127) as a blank: names from
// zam1.cfg or a file name go into records that a line break would cut.
std::string cadPlain(std::string_view text);
void cleanControlCharacters(std::string& text, std::size_t from = 0);

// The DXF name ($DWGCODEPAGE) of the code page cadText writes in by `mode`: the
// OEM and two-letter modes keep bytes of the stored OEM code page; the escapes of
// the Unicode mode are plain ASCII, and readers that do not know them at least
// show the rest under the Windows code page.
std::string_view cadTextCodePage(CadTextMode mode);

// The mode for IGES and the TXT CAD code, which know no "\U+" escapes: the
// Unicode mode writes the Windows code page there.
CadTextMode withoutDxfEscapes(CadTextMode mode);

// "ü" -> "ue", "Ä" -> "Ae", "ß" -> "ss" and so on, in the stored code page.
std::string germanTwoLetter(std::string_view oem);

} // namespace zam1
