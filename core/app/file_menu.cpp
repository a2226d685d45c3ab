// The File menu: the session's file commands, the export and import of the ZAM
// exchange file, the overview table, printing, the settings and the recent files.
#include "core/app/file_commands.h"
#include "core/app/menu_rows.h"
#include "core/app/report_setup.h"
#include "core/app/table_commands.h"
#include "core/app/workbench.h"
#include "core/files/save_project.h"
#include "core/files/zam_import.h"
#include "core/platform/path_parts.h"
#include "core/platform/prompter.h"
#include "core/report/main_report.h"
#include "core/session/file_names.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

bool openProject(MenuContext& c) {
    if (!fileOpen(c.state)) return false;
    c.closing = 1;
    viewOverallGraphic(c);
    return true;
}

template <int K>
bool openRecent(MenuContext& c) {
    if (!fileOpenRecent(c.state, K)) return false;
    c.closing = 1;
    showResult(c);
    return true;
}

bool openNamed(MenuContext& c) {
    if (!fileOpenNamed(c.state, c.namedProject)) return false;
    c.closing = 1;
    showResult(c);
    return true;
}

template <int K>
std::string recentCaption(const MenuContext& c) {
    return recentFileCaption(c.state.file.recentFiles, K);
}

template <int K>
bool recentShown(const MenuContext& c) {
    return !c.state.file.recentFiles[K - 1].empty();
}

bool anyRecent(const MenuContext& c) { return recentShown<1>(c); }

bool importZam(MenuContext& c) {
    ProgramState& state = c.state;
    state.error.clear();
    FileChoice choice;
    choice.filter = "*.zam|*.zam";
    choice.folder = state.file.dataDirectory;
    choice.defaultExtension = "zam";
    choice.callerAsksOverwrite = true;  // checkFileCreation below
    std::string path;
    if (!state.prompter->chooseOpenFile(choice, path) || path.empty()) {
        state.error.set();
        return false;
    }
    if (!importZamFile(state, path)) return false;
    c.closing = 1;
    viewOverallGraphic(c);
    return true;
}

// The export report under a name the user chooses, ".zam" whatever was typed. A
// report is not the project: the modified flag stays until the project is saved.
bool exportZam(MenuContext& c) {
    ProgramState& state = c.state;
    state.error.clear();
    FileChoice choice;
    choice.filter = "*.zam|*.zam";
    choice.folder = state.file.dataDirectory;
    choice.defaultExtension = "zam";
    std::string path = state.file.currentFile.empty() ? std::string() : state.file.currentFile + ".zam";
    if (!state.prompter->chooseSaveFile(choice, path) || path.empty()) {
        state.error.set();
        return false;
    }
    path = withoutExtension(path) + ".zam";
    if (!checkFileCreation(state, path, true)) return false;
    CommandChannel channel(state);
    if (!writeExportReport(state.chain, channel.out, path) || state.error.isSet()) {
        state.error.set();
        return false;
    }
    return false;
}

bool showOverview(MenuContext& c) {
    c.state.error.clear();
    if (!openTable(c.state, c.bench.overviewWindow())) return false;
    c.closing = 1;
    return true;
}

} // namespace

MenuSection fileMenu() {
    using T = CommonMenuTexts;
    return {"mi_file", commonCaption<&T::fileMenu>, {
        {.objectName = "mi_fileNew", .caption = commonCaption<&T::fileNew>, .shortcut = "Ctrl+N",
         .run = newProject, .effect = MenuEffect::ReplacesProject},
        {.objectName = "mi_fileOpen", .caption = commonCaption<&T::fileOpen>, .shortcut = "Ctrl+O",
         .run = openProject, .effect = MenuEffect::ReplacesProject},
        {.objectName = "mi_fileopentable",
         .caption = [](const MenuContext& c) {
             // The table's letter, not Open's: one letter opens one entry.
             return withoutAltLetter(commonCaption<&T::fileOpen>(c)) + " (" + viewCaption<&ViewMenuTexts::table>(c) + ")";
         },
         .run = showOverview, .effect = MenuEffect::ReplacesProject},
        {.objectName = "mi_FileSave", .caption = commonCaption<&T::save>, .shortcut = "Ctrl+S",
         .run = [](MenuContext& c) { return fileSave(c.state); }},
        {.objectName = "mi_FileSaveAs", .caption = commonCaption<&T::saveAs>,
         .run = [](MenuContext& c) { return fileSaveAs(c.state); }},
        separator(),
        {.objectName = "mi_fileImportZAM",
         .caption = [](const MenuContext& c) { return commonCaption<&T::importWord>(c) + " ZAM"; },
         .run = importZam, .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_fileExportZam",
         .caption = [](const MenuContext& c) { return commonCaption<&T::exportWord>(c) + " ZAM"; },
         .run = exportZam},
        separator(),
        {.objectName = "mi_fileprint", .caption = commonCaption<&T::print>, .shortcut = "Ctrl+P",
         .run = [](MenuContext& c) {
             c.state.error.clear();
             c.bench.printLastOutput();
             return false;
         }},
        {.objectName = "mi_fileConfig", .caption = commonCaption<&T::settings>,
         .run = [](MenuContext& c) {
             c.state.error.clear();
             return c.bench.editSettings();
         }},
        // The recent files stand above Exit, with the separator above them.
        separator(anyRecent),
        {.objectName = "mi_file1", .caption = recentCaption<1>, .run = openRecent<1>,
         .effect = MenuEffect::ReplacesProject, .visible = recentShown<1>},
        {.objectName = "mi_file2", .caption = recentCaption<2>, .run = openRecent<2>,
         .effect = MenuEffect::ReplacesProject, .visible = recentShown<2>},
        {.objectName = "mi_file3", .caption = recentCaption<3>, .run = openRecent<3>,
         .effect = MenuEffect::ReplacesProject, .visible = recentShown<3>},
        {.objectName = "mi_file4", .caption = recentCaption<4>, .run = openRecent<4>,
         .effect = MenuEffect::ReplacesProject, .visible = recentShown<4>},
        separator(),
        {.objectName = "mi_fileexit", .caption = commonCaption<&T::exit>,
         .run = [](MenuContext& c) {
             c.bench.closeWindow();
             return false;
         }},
    }};
}

void openNamedProject(MenuContext& context, const std::string& path) {
    context.namedProject = path;
    static constexpr MenuItem kOpenNamed{.objectName = "openNamed", .run = openNamed,
                                         .effect = MenuEffect::ReplacesProject};
    runMenuItem(context, kOpenNamed);
    context.namedProject.clear();
}

} // namespace zam1
