// The menus without a window: every item of the main window is in the table,
// captions follow the language, every row runs headless, and the runner keeps
// the undo history, the modified flag and the working copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "core/app/command_guard.h"
#include "core/app/menu_table.h"
#include "core/files/project_file.h"
#include "core/files/working_copy.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/scripted_prompter.h"
#include "core/text/codepage.h"
#include "tests/app/scripted_workbench.h"
#include "tests/report/report_harness.h"
#include "tests/support/scripted.h"

namespace zam1::test {
namespace {

const std::string kExample = std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1";

struct Menus : ::testing::Test {
    TempFolder folder;
    TestPrompter prompter;
    HeadlessDesktop desktop;
    FixedClock clock{{2024, 3, 9, 14, 5, 30}};
    ProgramState state;
    ScriptedWorkbench bench{state};
    MenuContext context{state, bench};

    void SetUp() override {
        state.prompter = &prompter;
        state.desktop = &desktop;
        state.clock = &clock;
        state.config.tempDirectory = folder.path();
        state.config.dataDirectory = folder.path();
        state.config.pltDirectory = folder.path();
        state.file.dataDirectory = folder.path();
    }
    void readExample() {
        ASSERT_TRUE(readProjectFile(state, kExample));
        state.file.currentFile = "getriebewelle";
        state.file.modified = false;
    }
    void run(std::string_view name) {
        const MenuItem* item = findMenuItem(name);
        ASSERT_NE(item, nullptr) << name;
        runMenuItem(context, *item);
    }
    std::string caption(std::string_view name) { return findMenuItem(name)->caption(context); }
};

TEST_F(Menus, TheTableHoldsEveryItemOfTheMainWindowOnce) {
    const char* required[] = {
        "mi_fileNew", "mi_fileOpen", "mi_fileopentable", "mi_FileSave", "mi_FileSaveAs", "mi_fileImportZAM",
        "mi_fileExportZam", "mi_fileprint", "mi_fileConfig", "mi_file1", "mi_file2", "mi_file3", "mi_file4",
        "mi_fileexit", "mi_EditQuick", "mi_EditText", "mi_editelementetabelle", "mi_editschliessmasse",
        "mi_editsigma", "mi_editeinstellungen", "mi_ViewStandard", "mi_ViewExcerpt", "mi_viewnullabstaende",
        "mi_viewgesamtgrafik", "mi_viewschliessmassundstat", "mi_viewmasskette", "mi_viewschema",
        "mi_viewmasstaeblich", "mi_viewnormalverteilung", "mi_viewquerverweis", "mi_viewquerverweise",
        "mi_viewzeichnung", "mi_viewerrormessages", "mi_cadgesamtgrafik", "mi_cadschema", "mi_cadmassstaeblich",
        "mi_cadnormalverteilung", "mi_cadzeichnung", "mi_docdrawinginfo", "mi_docuShowChanges1",
        "mi_docuPrintChanges", "mi_docuNewChange", "mi_docuModifyChanges", "mi_docudeleteChange", "mi_Document1",
        "mi_Document2", "mi_Document3", "mi_Document4", "mi_Document5", "mi_DocumentSetup", "mi_HelpHilfebild",
        "mi_helpErrorMessages", "mi_helplanguagedeutsch", "mi_helplanguageenglisch", "mi_helplanguagefrench",
        "mi_helplanguageKoreaKorea", "mi_helphistory", "mi_HelpAbout", "mi_editUndo", "mi_editRedo",
        "mi_oleStartExcel", "mi_oleExportExcel", "mi_oleImportExcel", "mi_olePrintoutExcel", "mi_oleexportelement",
    };
    for (const char* name : required) {
        SCOPED_TRACE(name);
        const MenuItem* item = findMenuItem(name);
        ASSERT_NE(item, nullptr);
        EXPECT_NE(item->run, nullptr);
    }
    std::set<std::string_view> names;
    for (const MenuSection& section : menuTable()) {
        EXPECT_FALSE(section.caption(context).empty()) << section.objectName;
        int depth = 0;
        for (const MenuItem& item : section.items) {
            if (item.row == MenuRow::SubmenuStart) ++depth;
            if (item.row == MenuRow::SubmenuEnd) --depth;
            if (item.row != MenuRow::Command && item.row != MenuRow::SubmenuStart) continue;
            SCOPED_TRACE(std::string(item.objectName));
            EXPECT_TRUE(item.objectName.starts_with("mi_"));
            EXPECT_TRUE(names.insert(item.objectName).second) << "twice";
            EXPECT_TRUE(item.row == MenuRow::SubmenuStart || item.run != nullptr);
        }
        EXPECT_EQ(depth, 0) << section.objectName;
    }
}

TEST_F(Menus, CaptionsFollowTheLanguageSwitchOfTheHelpMenu) {
    state.file.recentFiles[0] = "/projekte/welle.zm1";
    struct Case { const char* switchItem; int index; const char* item; const char* caption; };
    const Case cases[] = {
        {nullptr, 0, "mi_fileOpen", "\u00d6&ffnen..."},
        {nullptr, 0, "mi_fileopentable", "\u00d6ffnen... (T&abelle)"},
        {nullptr, 0, "mi_fileImportZAM", "&Import ZAM"},
        {nullptr, 0, "mi_fileExportZam", "Ex&port ZAM"},
        {nullptr, 0, "mi_Document3", "Dokument &3"},
        {nullptr, 0, "mi_viewmasskette", "Ma\u00df&kette (&Ausdruck)"},
        {nullptr, 0, "mi_file1", "&1 /projekte/welle.zm1"},
        {nullptr, 0, "mi_helplanguageKoreaKorea", "&Korea"},
        {"mi_helplanguageenglisch", 2, "mi_fileOpen", "&Open..."},
        {"mi_helplanguageenglisch", 2, "mi_fileConfig", "&Config"},
        {"mi_helplanguageenglisch", 2, "mi_editUndo", "&Undo"},
        {"mi_helplanguagefrench", 3, "mi_fileNew", "&Nouveau"},
        {"mi_helplanguageKoreaKorea", 8, "mi_fileNew", "\uc0c8\ub85c \ub9cc\ub4e4\uae30(&N)"},
        {"mi_helplanguagedeutsch", 1, "mi_fileNew", "&Neu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " " + std::to_string(c.index));
        if (c.switchItem) {
            run(c.switchItem);
            EXPECT_EQ(state.config.language, c.index);
        }
        EXPECT_EQ(caption(c.item), c.caption);
    }
}

// The letter after the first "&" of a caption (lower case), or 0 for none.
char32_t mnemonicOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const auto c = static_cast<unsigned char>(caption[i + 1]);
        if (c < 0x80) return static_cast<char32_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        // Two-byte UTF-8 letters the menus use: Ö, ö, Ä, ä, Ü, ü, É, é, ß
        const std::string two = caption.substr(i + 1, 2);
        const std::string lowerOf[][2] = {{"\u00d6", "\u00f6"}, {"\u00c4", "\u00e4"}, {"\u00dc", "\u00fc"},
                                          {"\u00c9", "\u00e9"}};
        for (const auto& pair : lowerOf) {
            if (two == pair[0]) return 0x10000 + static_cast<unsigned char>(pair[1][1]);
        }
        return 0x10000 + static_cast<unsigned char>(two.size() > 1 ? two[1] : 0);
    }
    return 0;
}

// Pairs whose two captions are the program's own, letters included: the letter
// moves between them (Qt's way for a shared letter); every other pair is a fault.
bool bothFixed(const std::string& a, const std::string& b) {
    const std::pair<const char*, const char*> fixed[] = {
        {"E&instellungen", "&Import ZAM"},  // "&Import" + " ZAM"
        {"&Print", "Ex&port ZAM"},          // "Ex&port" + " ZAM"
        {"&History", "&Hilfebild"},
    };
    return std::any_of(std::begin(fixed), std::end(fixed), [&](const auto& f) {
        return (a == f.first && b == f.second) || (a == f.second && b == f.first);
    });
}

// One Alt letter opens one entry: within each menu (and submenu) and among the
// menu bar's captions, no two entries share a letter, and every command has one,
// in each language the Help menu offers.
TEST_F(Menus, NoTwoEntriesOfOneMenuShareAnAltLetter) {
    state.file.recentFiles[0] = "/projekte/welle.zm1";
    state.file.recentFiles[1] = "/projekte/lager.zm1";
    std::vector<std::string> problems;
    for (const char* language : {"mi_helplanguagedeutsch", "mi_helplanguageenglisch", "mi_helplanguagefrench"}) {
        run(language);
        std::map<char32_t, std::string> bar;
        for (const MenuSection& section : menuTable()) {
            const std::string top = section.caption(context);
            const char32_t topLetter = mnemonicOf(top);
            if (topLetter == 0) problems.push_back(std::string(language) + ": no letter: " + top);
            const auto [at, fresh] = bar.emplace(topLetter, top);
            if (!fresh) problems.push_back(std::string(language) + ": \"" + top + "\" = \"" + at->second + "\"");
            // One letter table per menu level; a submenu opens a new one.
            std::vector<std::map<char32_t, std::string>> levels(1);
            for (const MenuItem& item : section.items) {
                if (item.row == MenuRow::SubmenuEnd) {
                    levels.pop_back();
                    continue;
                }
                if (item.row == MenuRow::Separator || !item.caption || !menuItemVisible(context, item)) {
                    if (item.row == MenuRow::SubmenuStart) levels.emplace_back();
                    continue;
                }
                const std::string text = item.caption(context);
                const char32_t letter = mnemonicOf(text);
                const std::string where = std::string(language) + " / " + top + ": ";
                if (letter == 0) {
                    problems.push_back(where + "no letter: " + text);
                } else {
                    const auto [other, unused] = levels.back().emplace(letter, text);
                    if (!unused && !bothFixed(text, other->second))
                        problems.push_back(where + "\"" + text + "\" = \"" + other->second + "\"");
                }
                if (item.row == MenuRow::SubmenuStart) levels.emplace_back();
            }
        }
    }
    std::string list;
    for (const std::string& p : problems) list += p + "\n";
    EXPECT_TRUE(problems.empty()) << list;
}

// The Help menu's text screens are titled in words, in every language: a
// caption's Alt letter ("&Hilfebild") is no part of a window's title.
TEST_F(Menus, TheHelpMenusTextScreensHaveTitlesWithoutAltLetters) {
    const struct {
        const char* language;
        const char* entry;
        const char* title;
    } cases[] = {
        {"mi_helplanguagedeutsch", "mi_HelpHilfebild", "screen Hilfebild (2)"},
        {"mi_helplanguageenglisch", "mi_HelpHilfebild", "screen Hilfebild (2)"},
        {"mi_helplanguagefrench", "mi_HelpHilfebild", "screen Image d'aide (2)"},
        {"mi_helplanguageenglisch", "mi_helphistory", "screen ZAM1 - Toleranzrechnung - History (12)"},
        {"mi_helplanguagedeutsch", "mi_HelpAbout", "screen ZAM1 - Toleranzrechnung (11)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.entry);
        run(c.language);
        bench.log.clear();
        run(c.entry);
        ASSERT_EQ(bench.log.size(), 1u);
        EXPECT_EQ(bench.log.front(), c.title);
    }
}

// "... (n)", off at 0, and read afresh after every command that calculates.
TEST_F(Menus, TheErrorMessageEntryCountsTheCalculationsMessages) {
    const MenuItem& entry = *findMenuItem("mi_viewerrormessages");
    EXPECT_EQ(entry.caption(context), "&Fehlermeldungen (0)");
    EXPECT_FALSE(menuItemEnabled(context, entry));
    state.chain.messages.add("Sigma = 0 : keine Wahrscheinlichkeit");
    state.chain.messages.add("Element 3 : Toleranz 0");
    EXPECT_EQ(entry.caption(context), "&Fehlermeldungen (2)");
    EXPECT_TRUE(menuItemEnabled(context, entry));
    prompter.choose(1);  // "Weiter/zurück..." ends the loop
    runMenuItem(context, entry);
    EXPECT_EQ(prompter.log().front().rfind("choice:", 0), 0u) << prompter.log().front();
}

// Every row runs without a window and without a clock of its own, with every question cancelled: no exception
// reaches the boundary, and a row that does not change the project leaves it unmodified.
TEST_F(Menus, EveryRowRunsHeadlessWithEveryQuestionCancelled) {
    for (const MenuSection& section : menuTable()) {
        for (const MenuItem& item : section.items) {
            if (item.row != MenuRow::Command) continue;
            SCOPED_TRACE(std::string(item.objectName));
            ProgramState s;
            ScriptedPrompter quiet([](const std::string&) {});  // every prompt is answered with Cancel
            HeadlessDesktop d;
            s.prompter = &quiet;
            s.desktop = &d;  // and no clock: the commands take the system's
            s.config.tempDirectory = s.config.dataDirectory = s.config.pltDirectory = folder.path();
            ASSERT_TRUE(readProjectFile(s, kExample));
            s.file.currentFile = "getriebewelle";
            s.file.dataDirectory = folder.path();
            s.file.recentFiles = {folder.path() + "/fehlt.zm1", "", "", ""};
            ScriptedWorkbench b(s);
            MenuContext c(s, b);
            runMenuItem(c, item);
            for (const std::string& error : quiet.errors()) {
                EXPECT_EQ(error.find(unexpectedFaultText("")), std::string::npos) << error;
            }
            if (item.effect == MenuEffect::None) {
                EXPECT_FALSE(s.file.modified);
            }
        }
    }
}

// A report saved to a file is proposed in the configured temporary folder, which
// the user keeps, never in the program's private folder that goes at its end.
TEST_F(Menus, ReportFilesAreProposedWhereTheyStay) {
    readExample();
    const std::string privateFolder = folder.path() + "/private";
    std::filesystem::create_directories(privateFolder);
    state.privateFolder = privateFolder;
    state.config.askTextDevice = true;
    const std::string target = folder.path() + "/bericht.txt";
    prompter.device(3).saveFile(target);  // "Datei"
    run("mi_ViewStandard");
    EXPECT_EQ(prompter.offeredFolders(), std::vector<std::string>{folder.path()});
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_FALSE(state.error.isSet());
}

// A sigma the calculation cannot use is refused and asked again as it was typed,
// never replaced by the old value behind the user's back.
TEST_F(Menus, SigmaOutOfItsRangeIsAskedAgainAsTyped) {
    readExample();
    prompter.type("0.005").type("0.5");
    run("mi_editsigma");
    EXPECT_EQ(state.chain.productionSigma, 0.5L);
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Gültiger Wertebereich: 0, 0.01 .. 10 !"});
    const auto& log = prompter.log();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& l) { return l.ends_with("[0.005]"); }));
}

TEST_F(Menus, AChangeLeavesAnUndoStepTheModifiedFlagAndTheWorkingCopy) {
    readExample();
    const long double sigma = state.chain.productionSigma;
    EXPECT_FALSE(menuItemEnabled(context, *findMenuItem("mi_editUndo")));
    prompter.type("4");
    run("mi_editsigma");
    EXPECT_EQ(state.chain.productionSigma, 4);
    EXPECT_TRUE(state.file.modified);
    EXPECT_TRUE(std::filesystem::exists(workingCopyPath(state)));
    EXPECT_TRUE(menuItemEnabled(context, *findMenuItem("mi_editUndo")));

    // A cancelled editor leaves no step.
    prompter.cancel(ScriptedPrompter::Kind::Text);
    run("mi_editsigma");
    run("mi_editUndo");
    EXPECT_EQ(state.chain.productionSigma, sigma);
    EXPECT_FALSE(menuItemEnabled(context, *findMenuItem("mi_editUndo")));
    EXPECT_TRUE(menuItemEnabled(context, *findMenuItem("mi_editRedo")));
    EXPECT_TRUE(state.file.modified);  // undoing is a change too
    run("mi_editRedo");
    EXPECT_EQ(state.chain.productionSigma, 4);

    // A whole editor session is one step.
    bench.elementTable = [](ProgramState& s) {
        s.chain.element(1).distance = 99;
        s.chain.element(2).distance = 98;
        return true;
    };
    const long double first = state.chain.element(1).distance;
    run("mi_editelementetabelle");
    EXPECT_EQ(state.chain.element(2).distance, 98);
    run("mi_editUndo");
    EXPECT_EQ(state.chain.element(1).distance, first);
    EXPECT_EQ(state.chain.productionSigma, 4);

    // Another project in its place starts a new history.
    state.file.modified = false;
    state.file.recentFiles[0] = kExample;
    run("mi_file1");
    EXPECT_FALSE(state.error.isSet());
    EXPECT_FALSE(menuItemEnabled(context, *findMenuItem("mi_editUndo")));
    EXPECT_FALSE(menuItemEnabled(context, *findMenuItem("mi_editRedo")));
}

// An allocation taken over is one undoable step; a cancelled dialog leaves none.
TEST_F(Menus, AnAllocationTakenOverIsOneUndoStep) {
    readExample();
    const long double upper = state.chain.element(1).upperDev;
    const long double lower = state.chain.element(2).lowerDev;
    run("mi_viewtoleranzverteilung");  // no dialog script: cancelled
    EXPECT_FALSE(menuItemEnabled(context, *findMenuItem("mi_editUndo")));
    bench.allocation = [](ProgramState& s) {
        s.chain.element(1).upperDev = 0.25L;
        s.chain.element(2).lowerDev = -0.3L;
        return true;
    };
    run("mi_viewtoleranzverteilung");
    EXPECT_EQ(state.chain.element(1).upperDev, 0.25L);
    EXPECT_TRUE(state.file.modified);
    run("mi_editUndo");
    EXPECT_EQ(state.chain.element(1).upperDev, upper);
    EXPECT_EQ(state.chain.element(2).lowerDev, lower);
    EXPECT_FALSE(menuItemEnabled(context, *findMenuItem("mi_editUndo")));
    const std::vector<std::string> asked = {"allocation 1", "allocation 1"};
    std::vector<std::string> allocations;
    for (const std::string& entry : bench.log) {
        if (entry.starts_with("allocation")) allocations.push_back(entry);
    }
    EXPECT_EQ(allocations, asked);
    struct Case { const char* switchItem; const char* caption; };
    for (const Case& c : {Case{nullptr, "T&oleranzverteilung ..."}, Case{"mi_helplanguageenglisch", "Tolerance allocat&ion ..."},
                          Case{"mi_helplanguagefrench", "R\u00e9&partition des tol\u00e9rances ..."}}) {
        if (c.switchItem) run(c.switchItem);
        EXPECT_EQ(caption("mi_viewtoleranzverteilung"), c.caption);
    }
}

// Quick: text, elements, the overall graphic, closing dimensions, sigma; an error stops it.
TEST_F(Menus, TheGuidedInputRunsTheEditorsInOrderAndStopsOnAnError) {
    readExample();
    struct Case { bool textOk; bool elementsOk; std::vector<std::string> log; bool sigmaAsked; };
    const Case cases[] = {
        {true, true, {"text", "elements", "closing"}, true},
        {false, true, {"text"}, false},
        {true, false, {"text", "elements"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log.size());
        bench.log.clear();
        bench.projectText = c.textOk ? ScriptedWorkbench::Editor([](ProgramState&) { return true; }) : nullptr;
        bench.elementTable = c.elementsOk ? ScriptedWorkbench::Editor([](ProgramState&) { return true; }) : nullptr;
        bench.closingDimensions = [](ProgramState&) { return true; };
        if (c.sigmaAsked) prompter.type("3");
        run("mi_EditQuick");
        EXPECT_EQ(bench.log, c.log);
        prompter.finish();
    }
}

// A recent file (like New, Quick and the overview) shows the result graphic
// only with a help level above 0.
TEST_F(Menus, TheResultGraphicFollowsTheHelpLevel) {
    for (const int level : {0, 1}) {
        SCOPED_TRACE(level);
        state.config.helpLevel = level;
        state.file.recentFiles[0] = kExample;
        bench.graphics().Clear();
        run("mi_file1");
        EXPECT_EQ(state.file.currentFile, "getriebewelle");
        EXPECT_EQ(bench.graphics().displayList().empty(), level == 0);
    }
}

// Undo, Redo and a confirmed import change the project the picture shows: the
// result is drawn afresh (at help level 1), never left with the numbers of before.
TEST_F(Menus, UndoRedoAndImportDrawTheResultAfresh) {
    readExample();
    state.config.helpLevel = 1;
    prompter.type("4");
    run("mi_editsigma");
    ASSERT_EQ(state.chain.productionSigma, 4);
    const std::string csv = folder.path() + "/elemente.csv";
    prompter.saveFile(csv);
    run("mi_oleexportelement");
    struct Step {
        const char* item;
        long double sigma;
    };
    for (const Step& step : {Step{"mi_editUndo", 3}, Step{"mi_editRedo", 4}}) {
        SCOPED_TRACE(step.item);
        bench.graphics().Clear();
        run(step.item);
        EXPECT_EQ(state.chain.productionSigma, step.sigma);
        EXPECT_FALSE(bench.graphics().displayList().empty());
    }
    state.chain.element(2).lowerDev = -0.5L;  // the import takes it back to the exported value
    bench.acceptImport = true;
    prompter.openFile(csv);
    bench.graphics().Clear();
    run("mi_oleImportExcel");
    EXPECT_EQ(state.chain.element(2).lowerDev, -0.16L);
    EXPECT_FALSE(bench.graphics().displayList().empty());
}

// A command that puts another project in place of the one drawn never leaves
// that drawing's numbers on the screen: either the new result is drawn or the
// picture is blank. A command refused before it changed anything keeps it.
TEST_F(Menus, NoPictureOfTheProjectBeforeStaysAfterItWasReplaced) {
    struct Case {
        const char* name;
        std::function<void(Menus&)> prepare;
        const char* item;
        bool blank;
    };
    const Case cases[] = {
        {"New, its input cancelled", [](Menus&) {}, "mi_fileNew", true},
        {"New, refused at the close query",
         [](Menus& m) {
             m.state.file.modified = true;
             m.prompter.answer(Answer::Cancel);
         },
         "mi_fileNew", false},
        {"a recent file at help level 0",
         [](Menus& m) {
             m.state.config.helpLevel = 0;
             m.state.file.recentFiles[0] = kExample;
         },
         "mi_file1", true},
        {"Undo at help level 0",
         [](Menus& m) {
             m.prompter.type("4");
             m.run("mi_editsigma");
             m.state.config.helpLevel = 0;
         },
         "mi_editUndo", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        readExample();
        context.undo.clear();
        state.config.helpLevel = 1;
        bench.projectText = nullptr;  // the guided input of New is cancelled
        showResult(context);
        ASSERT_FALSE(bench.graphics().displayList().empty());
        const DisplayList drawn = bench.graphics().displayList();
        c.prepare(*this);
        run(c.item);
        if (c.blank) {
            EXPECT_TRUE(bench.graphics().displayList().empty());
        } else {
            EXPECT_EQ(bench.graphics().displayList(), drawn);
        }
        prompter.finish();
        state.error.clear();
    }
}

} // namespace
} // namespace zam1::test
