#pragma once
// Builds the menu bar from a table: menus of commands, each with its object name,
// caption, shortcut, command and enabled state. Every action is connected
// explicitly, through the one exception boundary the window hands in. The table
// is plain data, so the core's menu model can fill it later.

#include <QKeySequence>
#include <QString>

#include <functional>
#include <vector>

class QMenuBar;

namespace zam1 {

struct MenuCommand {
    QString objectName;      // empty: a separator
    QString caption;
    QKeySequence shortcut;
    std::function<void()> run;
    bool enabled = true;
};

struct MenuSection {
    QString objectName;
    QString caption;
    std::vector<MenuCommand> commands;
};

// Runs one menu command inside the exception boundary.
using CommandGuard = std::function<void(const std::function<void()>& command)>;

// Replaces what the bar holds by the table's menus; a later call (a language
// switch) builds them again with new captions.
void buildMenuBar(QMenuBar& bar, const std::vector<MenuSection>& sections, const CommandGuard& guard);

} // namespace zam1
