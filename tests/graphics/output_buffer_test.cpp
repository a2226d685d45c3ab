#include <gtest/gtest.h>

#include <string>

#include "core/graphics/output_buffer.h"

namespace zam1 {
namespace {

TEST(OutputBuffer, KeepsEverythingWrittenAcrossItsGrowth) {
    OutputStream out;
    std::string expected;
    for (int i = 0; i < 400000; ++i) {
        const std::string piece = std::to_string(i) + (i % 7 == 0 ? "\r\n" : ",");
        out << piece;
        if (i % 1000 == 0) out.put('#');
        expected += piece;
        if (i % 1000 == 0) expected += '#';
    }
    const std::string big(5u << 20, 'x');  // one write larger than the buffer
    out.write(big.data(), static_cast<std::streamsize>(big.size()));
    expected += big;
    EXPECT_TRUE(out.complete());
    ASSERT_EQ(out.view().size(), expected.size());
    EXPECT_TRUE(out.view() == expected);
}

} // namespace
} // namespace zam1
