// What follows a calculation in the window: the error-messages entry and the
// result graphic by error flag, help level and the configured choice.
#include <gtest/gtest.h>

#include <memory>

#include "core/app/show_result.h"
#include "core/lang/language.h"
#include "core/session/program_state.h"

namespace zam1 {
namespace {

TEST(ShowResult, TheErrorMessagesEntryCountsAndIsOffAtZero) {
    LanguageTexts texts;
    for (const int language : {kGerman, kEnglish}) {
        loadLanguage(texts, language);
        const ErrorMessagesEntry none = errorMessagesEntry(texts, 0);
        const ErrorMessagesEntry three = errorMessagesEntry(texts, 3);
        EXPECT_FALSE(none.enabled);
        EXPECT_TRUE(three.enabled);
        EXPECT_TRUE(none.caption.ends_with(" (0)")) << none.caption;
        EXPECT_TRUE(three.caption.ends_with(" (3)")) << three.caption;
        EXPECT_GT(three.caption.size(), 4u);
    }
}

TEST(ShowResult, TheResultGraphicFollowsTheSettings) {
    struct Row {
        int helpLevel;
        int choice;
        bool error;
        ResultGraphic shown;
    };
    const Row rows[] = {
        {1, 0, false, ResultGraphic::OverallGraphic}, {1, 3, false, ResultGraphic::ProjectDrawing},
        {2, 5, false, ResultGraphic::ProjectDrawing}, {1, 4, false, ResultGraphic::OverallGraphic},
        {0, 3, false, ResultGraphic::None},           {1, 0, true, ResultGraphic::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "help " << row.helpLevel << " choice " << row.choice << " error " << row.error);
        auto state = std::make_unique<ProgramState>();
        state->config.helpLevel = row.helpLevel;
        state->config.resultGraphic = row.choice;
        if (row.error) state->error.set();
        EXPECT_EQ(resultGraphic(*state), row.shown);
    }
}

} // namespace
} // namespace zam1
