// The element table keeps the working copy while it is open: what is typed
// reaches it a few seconds later, Berechnen at once, before any OK.
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/editors/element_table.h"
#include "core/files/working_copy.h"
#include "core/platform/file_io.h"
#include "core/session/program_state.h"
#include "gui/editors/element_table_dialog.h"
#include "gui/platform/qt_prompter.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

std::string copyText(const ProgramState& state) {
    std::string bytes;
    if (!workingCopyPath(state).empty()) readWholeFile(workingCopyPath(state), bytes);
    return bytes;
}

TEST(WorkingCopyEditor, TypedCellsAndBerechnenReachTheCopyBeforeOk) {
    const fs::path folder = fs::temp_directory_path() / ("zam1-editor-copy-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto state = std::make_unique<ProgramState>();
    QtPrompter prompter;
    state->prompter = &prompter;
    state->config.dataDirectory = folder.string();
    state->chain.clear();
    {
        TForm_zam1elemente dialog(*state, nullptr);
        dialog.FormShow();
        dialog.show();
        QAbstractItemModel& model = *dialog.grid().model();
        auto* timer = dialog.findChild<QTimer*>(QStringLiteral("WorkingCopyTimer"));
        ASSERT_NE(timer, nullptr);
        EXPECT_GE(timer->interval(), 1000) << "not after every key";
        EXPECT_LE(timer->interval(), 5000) << "within a few seconds";
        timer->setInterval(50);
        ASSERT_TRUE(model.setData(model.index(0, kColNominal), QStringLiteral("33.5")));
        EXPECT_TRUE(QTest::qWaitFor([&] { return copyText(*state).find("33.5") != std::string::npos; }, 3000))
            << "the typed nominal is in the copy while the table is open";
        EXPECT_NE(state->chain.element(1).distance, 33.5L) << "nothing taken over yet";

        timer->setInterval(60000);
        ASSERT_TRUE(model.setData(model.index(0, kColNominal), QStringLiteral("71.25")));
        dialog.findChild<QPushButton*>(QStringLiteral("Button_berechnen"))->click();
        EXPECT_NE(copyText(*state).find("71.25"), std::string::npos) << "Berechnen writes the copy at once";
        dialog.reject();
    }
    dropWorkingCopy(*state);
    fs::remove_all(folder);
}

} // namespace
} // namespace zam1
