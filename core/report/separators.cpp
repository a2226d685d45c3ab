#include "core/report/separators.h"

namespace zam1 {
namespace {

// Box-drawing characters of the DOS code page.
constexpr char kBoxThin = '\xC4';         // ─
constexpr char kBoxDouble = '\xCD';       // ═
constexpr char kBoxTopLeft = '\xC9';      // ╔
constexpr char kBoxTopRight = '\xBB';     // ╗
constexpr char kBoxBottomLeft = '\xC8';   // ╚
constexpr char kBoxBottomRight = '\xBC';  // ╝
constexpr char kBoxMiddleLeft = '\xCC';   // ╠
constexpr char kBoxMiddleRight = '\xB9';  // ╣
constexpr char kBoxSide = '\xBA';         // ║

std::string run(char c) { return std::string(kSeparatorWidth, c); }

std::string framed(char left, char right) {
    return left + std::string(kSeparatorWidth - 2, kBoxDouble) + right;
}

} // namespace

std::string separatorLine(int style, Separator kind) {
    switch (style) {
    case 2:
        switch (kind) {
        case Separator::Thin: return run(kBoxThin);
        case Separator::Double: return run(kBoxDouble);
        case Separator::FrameTop: return framed(kBoxTopLeft, kBoxTopRight);
        case Separator::FrameBottom: return framed(kBoxBottomLeft, kBoxBottomRight);
        case Separator::FrameMiddle: return framed(kBoxMiddleLeft, kBoxMiddleRight);
        }
        break;
    case 3: return run(' ');
    case 4: return std::string(kSuppressedLine);
    default: break;
    }
    switch (kind) {
    case Separator::Thin: return run('-');
    case Separator::Double: return run('=');
    default: return run('*');
    }
}

char frameSide(int style) {
    switch (style) {
    case 2: return kBoxSide;
    case 3:
    case 4: return ' ';
    default: return '*';
    }
}

} // namespace zam1
