#pragma once
// The menus' rows, one function per menu (file_menu.cpp, edit_menu.cpp, ...), and
// the caption helpers they share. Only menu_table.cpp puts them together.

#include <string>

#include "core/app/menu_table.h"
#include "core/lang/language.h"
#include "core/session/program_state.h"

// The rows name only the fields they set (designated initializers); the rest
// keep their defaults on purpose, which g++ 12 would otherwise warn about.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zam1 {

MenuSection fileMenu();
MenuSection editMenu();
MenuSection viewMenu();
MenuSection cadMenu();
MenuSection documentationMenu();
MenuSection spreadsheetMenu();
MenuSection helpMenu();

// A caption from the common menu table or the view menu table, for display.
template <std::string CommonMenuTexts::*Text>
std::string commonCaption(const MenuContext& c) {
    return commonMenuToUtf8(c.state.texts, c.state.texts.menu.*Text);
}
template <std::string ViewMenuTexts::*Text>
std::string viewCaption(const MenuContext& c) {
    return viewMenuToUtf8(c.state.texts, c.state.texts.viewMenu.*Text);
}

// A caption without its "&" accelerator ("&&", a shown ampersand, stays).
inline std::string withoutAltLetter(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') {
            out += "&&";
            ++i;
        } else if (caption[i] != '&') {
            out += caption[i];
        }
    }
    return out;
}

inline MenuItem separator(MenuTest visible = nullptr) {
    MenuItem item;
    item.row = MenuRow::Separator;
    item.visible = visible;
    return item;
}

// Commands that several menus share.
bool showErrorMessages(MenuContext& c);
bool viewOverallGraphic(MenuContext& c);
// New, then the guided input (Quick) on the new project.
bool newProject(MenuContext& c);

} // namespace zam1
