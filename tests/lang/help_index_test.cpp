#include "core/lang/help_index.h"

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

namespace zam1 {
namespace {

std::string manualPath(const std::string& relative) { return std::string(ZAM1_SOURCE_DIR) + "/doc/manual/" + relative; }

std::set<std::string> idsOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string html = text.str();
    static const std::regex id(R"re(\bid="([^"]+)")re");
    std::set<std::string> ids;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), id); it != std::sregex_iterator(); ++it) {
        ids.insert((*it)[1]);
    }
    return ids;
}

TEST(HelpIndex, PagesAndAnchorsFollowNumberAndLanguage) {
    const struct {
        const char* name;
        int number;
        int language;
        const char* expected;
    } rows[] = {
        {"element table, German", 9010, 1, "de/edit.html#h9010"},
        {"language 0 counts as German", 9010, 0, "de/edit.html#h9010"},
        {"explanation dialog, English", 1970, 2, "en/help.html#h1970"},
        {"French", 5200, 3, "fr/edit.html#h5200"},
        {"Korean falls back to English", 6600, 8, "en/view.html#h6600"},
        {"unknown number: the index", 1234, 1, "de/index.html"},
        {"number 0: the index", 0, 2, "en/index.html"},
        {"between two numbers", 5401, 1, "de/index.html"},
        {"beyond the last number", 99999, 2, "en/index.html"},
        {"negative number", -1, 1, "de/index.html"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(helpPage(row.number, row.language), row.expected);
    }
}

// A help button must never land on a page without its section.
TEST(HelpIndex, EveryNumberHasItsAnchorInEveryLanguage) {
    ASSERT_FALSE(helpTopics().empty());
    for (const int language : {1, 2, 3}) {
        for (const HelpTopic& topic : helpTopics()) {
            const std::string page = helpPage(topic.number, language);
            SCOPED_TRACE(page);
            const std::size_t hash = page.find('#');
            ASSERT_NE(hash, std::string::npos);
            const std::set<std::string> ids = idsOf(manualPath(page.substr(0, hash)));
            EXPECT_TRUE(ids.contains(page.substr(hash + 1)));
        }
    }
}

// The other way round: a section for a number the program never asks for is dead.
TEST(HelpIndex, EveryHelpAnchorInTheManualIsInTheTable) {
    std::set<std::string> table;
    for (const HelpTopic& topic : helpTopics()) table.insert(topic.page + std::string("#h") + std::to_string(topic.number));
    static const std::regex helpId(R"(h[0-9]+)");
    for (const char* folder : {"de/", "en/", "fr/"}) {
        for (const char* page : {"index.html", "file.html", "edit.html", "view.html", "cad.html", "documentation.html",
                                 "excel.html", "help.html", "methods.html", "formats.html", "commandline.html"}) {
            SCOPED_TRACE(std::string(folder) + page);
            for (const std::string& id : idsOf(manualPath(std::string(folder) + page))) {
                if (std::regex_match(id, helpId)) {
                    EXPECT_TRUE(table.contains(page + ("#" + id))) << id;
                }
            }
        }
    }
}

TEST(HelpIndex, ManualFolderHoldsTheIndex) {
    const std::set<std::string> ids = idsOf(manualFolder() + "/de/index.html");
    EXPECT_FALSE(ids.empty());
}

} // namespace
} // namespace zam1
