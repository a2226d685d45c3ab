#include "gui/app/menu_builder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace zam1 {

void buildMenuBar(QMenuBar& bar, const std::vector<MenuSection>& sections, const CommandGuard& guard) {
    // clear() leaves the old menus alive as children of the bar. They go later,
    // since the command that rebuilds the bar may be running from one of them,
    // and leave the bar now, so that a search by object name finds only the new.
    for (QMenu* old : bar.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        old->setParent(nullptr);
        old->deleteLater();
    }
    bar.clear();
    for (const MenuSection& section : sections) {
        QMenu* menu = bar.addMenu(section.caption);
        menu->setObjectName(section.objectName);
        for (const MenuCommand& command : section.commands) {
            if (command.objectName.isEmpty()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(command.caption);
            action->setObjectName(command.objectName);
            action->setShortcut(command.shortcut);
            action->setEnabled(command.enabled);
            QObject::connect(action, &QAction::triggered, &bar, [guard, run = command.run] { guard(run); });
        }
    }
}

} // namespace zam1
