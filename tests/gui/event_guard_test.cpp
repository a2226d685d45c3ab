// A Qt event handler whose call into the core throws: the user reads the
// program's error message, the window or dialog stays usable, and no exception
// reaches Qt's event loop (where it would end the program).
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/config/config_file.h"
#include "core/graphics/graphics_window.h"
#include "core/lang/language.h"
#include "core/platform/scripted_prompter.h"
#include "core/session/program_state.h"
#include "gui/editors/element_table_dialog.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/settings_dialog.h"
#include "gui/graphics/graphics_widget.h"
#include "tests/gui/graphics_widget_support.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

constexpr const char* kFault = "Eingabe gestört";
constexpr const char* kShown = "Interner Fehler, der Befehl wurde abgebrochen: Eingabe gestört";

// Every question fails as a broken input window would; messages are logged.
class FailingQuestions final : public ScriptedPrompter {
public:
    bool askText(std::string_view, std::size_t, std::string&) override { throw std::runtime_error(kFault); }
    Answer askYesNoCancel(std::string_view) override { throw std::runtime_error(kFault); }
};

// A graphics window whose host fails when the zoom sets the wait cursor.
class FailingHost final : public WindowHost {
public:
    void setWaitCursor(bool) override { throw std::runtime_error(kFault); }
};

// What the user did, and whether the window or dialog still answered afterwards.
struct Outcome {
    std::vector<std::string> errors;
    bool stillUsable = false;
};

Outcome zoomWithAFailingHost() {
    ErrorFlag error;
    GraphicsWindow window(screen(), error);
    TFkorvgra widget(window);
    FailingQuestions prompter;
    widget.setPrompter(&prompter);
    window.Header(0, 0, 160, 120);
    window.Rectangle(10, 10, 150, 110);
    FailingHost host;
    window.setHost(&host);
    sendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, {100, 100});
    sendMouse(widget, QEvent::MouseMove, Qt::LeftButton, {300, 250});
    sendMouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, {300, 250});
    window.setHost(&widget);
    Outcome out{prompter.errors(), false};
    const PixelRect before = window.scaleRect();
    QTest::keyClick(&widget, Qt::Key_Plus);
    out.stillUsable = !(window.scaleRect() == before) && waitForReplay(widget);
    return out;
}

Outcome elementTableOk() {
    ProgramState state;
    FailingQuestions prompter;
    state.prompter = &prompter;
    state.chain.clear();
    state.chain.element(1).distance = 25;
    state.chain.setElementCount(1);
    Outcome out;
    ModalScript script({[&](QWidget& d) {
        child<QPushButton>(d, "Button_ok").click();  // asks for the element count
        out.stillUsable = d.isVisible();
        child<QPushButton>(d, "Button_cancel").click();
    }});
    editElementTable(state, nullptr);
    EXPECT_EQ(script.unused(), 0u);
    out.errors = prompter.errors();
    return out;
}

Outcome settingsSave() {
    ProgramState state;
    FailingQuestions prompter;
    loadLanguage(state.texts, kGerman);
    state.prompter = &prompter;
    // A folder that cannot be made (its parent is a file): the write fails and asks again.
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "zam1-event-guard-file";
    { std::ofstream(file) << "x"; }
    state.configDirectory = (file / "korvant").string();
    Outcome out;
    ModalScript script({[&](QWidget& d) {
        child<QPushButton>(d, "Button_save").click();
        out.stillUsable = d.isVisible();
        child<QPushButton>(d, "Button_cancel").click();
    }});
    editSettings(state.config, settingsFileOf(state), dialogEnvironment(state, nullptr));
    std::filesystem::remove(file);
    EXPECT_EQ(script.unused(), 0u);
    out.errors = prompter.errors();
    return out;
}

TEST(EventGuard, AHandlerWhoseCoreCallThrowsShowsTheProgramsMessage) {
    const struct {
        const char* name;
        std::function<Outcome()> run;
    } rows[] = {
        {"graphics window: a drag zoom", zoomWithAFailingHost},
        {"element table: OK", elementTableOk},
        {"settings: Speichern", settingsSave},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome out = row.run();
        EXPECT_EQ(out.errors, std::vector<std::string>{kShown});
        EXPECT_TRUE(out.stillUsable);
    }
}

} // namespace
} // namespace zam1
