#include "gui/app/menu_builder.h"

#include <algorithm>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "core/app/menu_table.h"

namespace zam1 {
namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MenuBuilder::MenuBuilder(QMenuBar& bar, const MenuContext& context, Runner run)
    : m_bar(bar), m_context(context), m_run(std::move(run)) {
    for (const MenuSection& section : menuTable()) {
        QMenu* menu = m_bar.addMenu(QString());
        menu->setObjectName(latin1(section.objectName));
        m_sections.push_back({&section, menu});
        QMenu* target = menu;
        for (const MenuItem& item : section.items) {
            switch (item.row) {
            case MenuRow::Separator:
                m_entries.push_back({&item, target->addSeparator()});
                break;
            case MenuRow::SubmenuStart: {
                QMenu* sub = target->addMenu(QString());
                sub->setObjectName(latin1(item.objectName));
                m_entries.push_back({&item, sub->menuAction()});
                target = sub;
                break;
            }
            case MenuRow::SubmenuEnd:
                target = menu;
                break;
            case MenuRow::Command: {
                QAction* action = target->addAction(QString());
                action->setObjectName(latin1(item.objectName));
                if (!item.shortcut.empty()) action->setShortcut(QKeySequence(latin1(item.shortcut)));
                const MenuItem* row = &item;
                QObject::connect(action, &QAction::triggered, &m_bar, [this, row] { m_run(*row); });
                m_entries.push_back({&item, action});
                break;
            }
            }
        }
    }
    refresh();
}

void MenuBuilder::shareShortcuts(QWidget& window) const {
    std::vector<QKeySequence> own;
    for (const QAction* action : window.actions()) own.push_back(action->shortcut());
    for (const QShortcut* shortcut : window.findChildren<QShortcut*>()) own.push_back(shortcut->key());
    for (const Entry& entry : m_entries) {
        const QKeySequence key = entry.action->shortcut();
        if (key.isEmpty() || std::find(own.begin(), own.end(), key) != own.end()) continue;
        window.addAction(entry.action);
    }
}

void MenuBuilder::refresh() {
    for (const Section& s : m_sections) s.menu->setTitle(QString::fromStdString(s.section->caption(m_context)));
    for (const Entry& e : m_entries) {
        const MenuItem& item = *e.item;
        e.action->setVisible(menuItemVisible(m_context, item));
        if (item.row == MenuRow::Separator) continue;
        e.action->setText(QString::fromStdString(item.caption(m_context)));
        e.action->setEnabled(menuItemEnabled(m_context, item));
    }
}

} // namespace zam1
