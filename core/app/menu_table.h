#pragma once
// The main window's menus as one table: for every item its object name
// ("mi_fileOpen"), its caption from the language tables, its shortcut, its
// command, and when it is enabled and shown. The window builds its actions from
// it; the headless tests run every row with the scripted prompter. Each menu's
// rows and commands live in a file of their own (file_menu.cpp, edit_menu.cpp, ...).

#include <string>
#include <string_view>
#include <vector>

#include "core/app/undo_history.h"

namespace zam1 {

struct ProgramState;
class Workbench;

// What a command works on: the program's state, the window, the undo history
// and the closing dimension chosen last.
struct MenuContext {
    MenuContext(ProgramState& s, Workbench& b) : state(s), bench(b) {}
    ProgramState& state;
    Workbench& bench;
    UndoHistory undo;
    int closing = 1;  // 1-based; the choice dialogs start on it
    std::string namedProject;  // the project openNamedProject opens
};

// What a command does to the project, so that the runner can keep the undo
// history, the modified flag and the working copy.
enum class MenuEffect : unsigned char {
    None,            // reads the project or works on files and settings
    ChangesProject,  // returns true when it changed the project
    ReplacesProject, // returns true when another project became the current one
    UndoStep,        // Undo and Redo themselves
};

enum class MenuRow : unsigned char { Command, Separator, SubmenuStart, SubmenuEnd };

using MenuCaption = std::string (*)(const MenuContext&);  // UTF-8, with its "&" accelerator
using MenuCommand = bool (*)(MenuContext&);
using MenuTest = bool (*)(const MenuContext&);

struct MenuItem {
    MenuRow row = MenuRow::Command;
    std::string_view objectName;
    MenuCaption caption = nullptr;
    std::string_view shortcut;  // portable key text ("Ctrl+N"); empty: none
    MenuCommand run = nullptr;
    MenuEffect effect = MenuEffect::None;
    MenuTest enabled = nullptr;  // none: always
    MenuTest visible = nullptr;  // none: always
};

struct MenuSection {
    std::string_view objectName;
    MenuCaption caption;
    std::vector<MenuItem> items;
};

// File, Edit, View, CAD, Documentation, Spreadsheet, Help.
const std::vector<MenuSection>& menuTable();

// The item with that object name, or null.
const MenuItem* findMenuItem(std::string_view objectName);

bool menuItemEnabled(const MenuContext& context, const MenuItem& item);
bool menuItemVisible(const MenuContext& context, const MenuItem& item);

// Runs one item through the exception boundary. A command that changed the
// project leaves an undo step, the modified flag and a fresh working copy; one
// that put another project in its place starts a new undo history. The window
// re-reads captions and enabled states afterwards.
void runMenuItem(MenuContext& context, const MenuItem& item);

// Opens a project by its name (a file dropped on a window) as a recent file is
// opened: the close query, the read, the result, a fresh undo history.
void openNamedProject(MenuContext& context, const std::string& path);

// What New, Quick, a recent file and an overview row show afterwards: the
// result graphic the settings ask for (none after an error or at help level 0).
// When nothing is drawn, the picture of the project before is cleared.
void showResult(MenuContext& context);

} // namespace zam1
