#pragma once
// The golden files under tests/golden/<folder>: compared byte for byte;
// ZAM1_UPDATE_GOLDEN=1 rewrites them on purpose, a mismatch leaves <file>.actual
// beside the golden file for the diff. And a German locale for the length of a
// test, under which no writer may change a byte.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/platform/file_io.h"

namespace zam1::test {

inline std::string goldenPath(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(ZAM1_SOURCE_DIR) / "tests" / "golden" / folder / name).string();
}

inline void expectGoldenFile(const std::string& folder, const std::string& name, const std::string& actual) {
    const std::string path = goldenPath(folder, name);
    const std::string actualPath = path + ".actual";
    const char* update = std::getenv("ZAM1_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        ASSERT_EQ(writeFileSafely(path, actual), kIoOk) << path;
        std::filesystem::remove(actualPath);
        return;
    }
    std::string expected;
    if (readWholeFile(path, expected) != kIoOk) {
        writeFileSafely(actualPath, actual);
        ADD_FAILURE() << "no golden file " << path << " (ZAM1_UPDATE_GOLDEN=1 writes it)";
        return;
    }
    if (expected == actual) {
        std::filesystem::remove(actualPath);
        return;
    }
    writeFileSafely(actualPath, actual);
    ADD_FAILURE() << name << " differs from its golden file " << path << "; see " << actualPath;
}

class GermanLocale {
public:
    GermanLocale() : m_old(std::setlocale(LC_ALL, nullptr)) { std::setlocale(LC_ALL, "de_DE.UTF-8"); }
    ~GermanLocale() { std::setlocale(LC_ALL, m_old.c_str()); }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

private:
    std::string m_old;
};

} // namespace zam1::test
