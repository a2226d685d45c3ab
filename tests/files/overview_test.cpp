// The overview of a folder of projects: which files, what each row says, that a
// broken file or a broken first closing dimension costs only its own row, the
// sorting by value and by text, and stopping the scan.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/files/overview.h"
#include "core/files/project_file.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "tests/files/sample_project.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

namespace fs = std::filesystem;

void writeProject(const std::string& path, const SampleProject& p) {
    ASSERT_EQ(writeFileSafely(path, projectFileText(*p.chain, p.texts, p.docs, {})), kIoOk);
}

// Counts the progress calls and stops after `stopAfter` files when asked to.
class ProgressDesktop final : public Desktop {
public:
    explicit ProgressDesktop(long stopAfter = -1) : m_stopAfter(stopAfter) {}
    bool showTextFile(const std::string&, std::string_view) override { return true; }
    bool printTextFile(const std::string&) override { return true; }
    bool startProgram(const std::string&, const std::vector<std::string>&) override { return true; }
    bool openInBrowser(const std::string&) override { return true; }
    bool copyToClipboard(std::string_view) override { return true; }
    void showGraphicsWindow() override {}
    bool showProgress(std::string_view, long done, long total) override {
        calls.emplace_back(done, total);
        return m_stopAfter < 0 || done < m_stopAfter;
    }
    std::vector<std::pair<long, long>> calls;

private:
    long m_stopAfter;
};

class Overview : public ::testing::Test {
protected:
    void SetUp() override {
        SampleProject nine = sampleProject(9, 2, 0, 0);
        nine.chain->closing(1) = {0, 3, "Spalt", ""};
        writeProject(folder.file("a_nine.zm1"), nine);
        writeProject(folder.file("b_ten.ZM1"), sampleProject(10, 1, 0, 0));
        writeProject(folder.file("c_none.zm1"), sampleProject(4, 0, 0, 0));
        SampleProject ring = sampleProject(5, 1, 0, 0);
        ring.chain->element(2).predecessor = 2;
        ring.chain->closing(1) = {0, 4, "Ring", ""};
        writeProject(folder.file("d_ring.zm1"), ring);
        ASSERT_EQ(writeFileSafely(folder.file("e_broken.zm1"), "kein Projekt\r\n"), kIoOk);
        writeProject(folder.file("f_two.zm1"), sampleProject(2, 1, 0, 0));
        ASSERT_EQ(writeFileSafely(folder.file("notes.txt"), "x"), kIoOk);
        fs::create_directory(folder.file("g_folder.zm1"));
        fs::last_write_time(folder.file("a_nine.zm1"), fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    }
    TempFolder folder;
};

TEST_F(Overview, EveryProjectGetsItsRowAndABrokenOneOnlyItsOwn) {
    ProgressDesktop desktop;
    const OverviewScan scan = scanOverview(folder.path(), {3, false}, desktop);
    ASSERT_FALSE(scan.cancelled);
    std::vector<std::string> names;
    for (const OverviewRow& r : scan.rows) names.push_back(r.cells[0]);
    EXPECT_EQ(names, (std::vector<std::string>{"a_nine.zm1", "b_ten.ZM1", "c_none.zm1", "d_ring.zm1", "e_broken.zm1",
                                               "f_two.zm1"}));
    struct Expected {
        bool readable;
        std::array<const char*, 10> cells; // columns 2..11; nullptr: not checked
    };
    const Expected expected[] = {
        {true, {nullptr, nullptr, "9", "2", "0", "3", nullptr, nullptr, nullptr, nullptr}},
        {true, {nullptr, nullptr, "10", "1", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}},
        {true, {nullptr, nullptr, "4", "0", "", "", "", "", "", ""}},
        {true, {nullptr, nullptr, "5", "1", "0", "4", "", "", "", ""}},   // ends, but no numbers of another distance
        {false, {"", "", "", "", "", "", "", "", "", ""}},
        {true, {nullptr, nullptr, "2", "1", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}},
    };
    for (std::size_t i = 0; i < scan.rows.size(); ++i) {
        SCOPED_TRACE(scan.rows[i].cells[0]);
        EXPECT_EQ(scan.rows[i].readable, expected[i].readable);
        for (std::size_t c = 0; c < 10; ++c) {
            if (expected[i].cells[c] != nullptr) {
                EXPECT_EQ(scan.rows[i].cells[c + 2], expected[i].cells[c]) << "column " << c + 2;
            }
        }
    }
    // The drawing name and number of a project, its first closing dimension's values.
    EXPECT_EQ(scan.rows[0].cells[2], sampleProject(9, 2, 0, 0).texts.drawingName.str());
    EXPECT_EQ(scan.rows[0].cells[8].find('.'), scan.rows[0].cells[8].size() - 4) << "three decimals";
    EXPECT_EQ(scan.rows[0].cells[1].size(), 10u);
    EXPECT_EQ(scan.rows[0].cells[1][4], '/');
    EXPECT_LT(scan.rows[0].cells[1], scan.rows[1].cells[1]) << "the older file has the older date";
    // Progress after every file and at the end.
    EXPECT_EQ(desktop.calls.size(), scan.rows.size() + 1);
    EXPECT_EQ(desktop.calls.back(), std::make_pair(6L, 6L));
}

TEST_F(Overview, NumbersSortByValueTextsByText) {
    ProgressDesktop desktop;
    OverviewScan scan = scanOverview(folder.path(), {2, true}, desktop);
    const auto column = [&](int c) {
        std::vector<std::string> cells;
        for (const OverviewRow& r : scan.rows) cells.push_back(r.cells[static_cast<std::size_t>(c)]);
        return cells;
    };
    sortOverview(scan.rows, 4);  // "n elem": 9 before 10, the unreadable file last
    EXPECT_EQ(column(4), (std::vector<std::string>{"2", "4", "5", "9", "10", ""}));
    sortOverview(scan.rows, 0);
    EXPECT_EQ(column(0).front(), "a_nine.zm1");
    sortOverview(scan.rows, 8);  // with the decimal comma
    EXPECT_NE(column(8).front().find(','), std::string::npos);
    for (std::size_t i = 1; i < scan.rows.size(); ++i) {
        long double a = 0;
        long double b = 0;
        if (parseNumber(scan.rows[i - 1].cells[8], a) && parseNumber(scan.rows[i].cells[8], b)) {
            EXPECT_LE(a, b);
        }
    }
}

TEST_F(Overview, TheUserMayStopTheScan) {
    ProgressDesktop desktop(2);
    const OverviewScan scan = scanOverview(folder.path(), {}, desktop);
    EXPECT_TRUE(scan.cancelled);
    EXPECT_EQ(scan.rows.size(), 2u);
    ProgressDesktop none;
    EXPECT_TRUE(scanOverview(folder.file("missing"), {}, none).rows.empty());
    EXPECT_EQ(overviewCaption("/daten"), "ZAM1  /daten");
}

} // namespace
} // namespace zam1::test
