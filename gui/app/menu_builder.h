#pragma once
// The menu bar of the main window, built once from the core's menu table. Every
// action carries the item's object name and is connected explicitly to the one
// runner the window hands in; refresh() re-reads captions (a language switch, the
// recent files, the error-message count), enabled and visible states from the
// table after every command.

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace zam1 {

struct MenuContext;
struct MenuItem;
struct MenuSection;

class MenuBuilder {
public:
    using Runner = std::function<void(const MenuItem& item)>;

    MenuBuilder(QMenuBar& bar, const MenuContext& context, Runner run);

    void refresh();
    // The menu's shortcuts also work while `window` is the active window, save
    // those it has a meaning of its own for.
    void shareShortcuts(QWidget& window) const;

private:
    struct Entry {
        const MenuItem* item;
        QAction* action;  // a menu's own action for submenus
    };
    struct Section {
        const MenuSection* section;
        QMenu* menu;
    };

    QMenuBar& m_bar;
    const MenuContext& m_context;
    Runner m_run;
    std::vector<Section> m_sections;
    std::vector<Entry> m_entries;
};

} // namespace zam1
