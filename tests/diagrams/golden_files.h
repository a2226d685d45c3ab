#pragma once
// The golden files of the diagrams (tests/golden/diagrams): compared byte for
// byte; ZAM1_UPDATE_GOLDEN=1 rewrites them, a mismatch leaves <file>.actual.

#include <string>

namespace zam1::test {

// Every drawing of the example project that has a golden file: its file name
// without extension, and what it is (kind 0: the project drawing).
struct GoldenDrawing {
    const char* name;
    int kind;
    int closing;
};
inline constexpr GoldenDrawing kGoldenDrawings[] = {
    {"drawing", 0, 0}, {"scheme", 3, 0}, {"to_scale_1", 1, 1}, {"normal_1", 2, 1}, {"overall_1", 4, 1},
};

std::string goldenPath(const std::string& fileName);
void compareWithGolden(const std::string& actual, const std::string& fileName);

} // namespace zam1::test
