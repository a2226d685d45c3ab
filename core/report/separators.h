#pragma once
// The separator lines of text reports, 70 characters each, in the four styles of
// the configuration. Style 4 replaces every separator by the marker "$!$", which
// the channel never writes.

#include <string>
#include <string_view>

namespace zam1 {

inline constexpr std::string_view kSuppressedLine = "$!$";
inline constexpr int kSeparatorWidth = 70;

enum class Separator { Thin, Double, FrameTop, FrameBottom, FrameMiddle };

// A style outside 1..4 is taken as style 1.
std::string separatorLine(int style, Separator kind);
// The one character at each side of a framed row.
char frameSide(int style);

} // namespace zam1
