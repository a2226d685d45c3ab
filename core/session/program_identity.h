#pragma once
// Who the program is: the names and version that reports, file headers, the
// command line and the window caption show.

#include <string_view>

namespace zam1 {

inline constexpr std::string_view kProgramTitle = "ZAM1 - Toleranzrechnung";
inline constexpr std::string_view kProgramVersion = "11.1";
inline constexpr std::string_view kShortName = "zam1";        // lower case, as in "wzam1" and "zam1.err"
inline constexpr std::string_view kProjectExtension = "zm1";  // without the dot

} // namespace zam1
