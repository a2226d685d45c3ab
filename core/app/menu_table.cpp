#include "core/app/menu_table.h"

#include "core/app/command_guard.h"
#include "core/app/menu_rows.h"
#include "core/app/show_result.h"
#include "core/app/view_commands.h"
#include "core/app/workbench.h"
#include "core/files/working_copy.h"

namespace zam1 {

const std::vector<MenuSection>& menuTable() {
    static const std::vector<MenuSection> table = {
        fileMenu(), editMenu(), viewMenu(), cadMenu(), documentationMenu(), spreadsheetMenu(), helpMenu(),
    };
    return table;
}

const MenuItem* findMenuItem(std::string_view objectName) {
    for (const MenuSection& section : menuTable()) {
        for (const MenuItem& item : section.items) {
            if (item.row != MenuRow::Separator && item.objectName == objectName) return &item;
        }
    }
    return nullptr;
}

bool menuItemEnabled(const MenuContext& context, const MenuItem& item) {
    return item.enabled == nullptr || item.enabled(context);
}

bool menuItemVisible(const MenuContext& context, const MenuItem& item) {
    return item.visible == nullptr || item.visible(context);
}

void runMenuItem(MenuContext& context, const MenuItem& item) {
    if (item.run == nullptr) return;
    ProgramState& state = context.state;
    if (item.effect == MenuEffect::ChangesProject) context.undo.begin(state);
    bool changed = false;
    runGuarded(state, [&] { changed = item.run(context); });
    switch (item.effect) {
    case MenuEffect::ChangesProject:
        if (changed) {
            context.undo.commit();
            state.file.modified = true;
        } else {
            context.undo.discard();
        }
        // Also after a cancelled editor: the copy it wrote while the user typed
        // goes back to the project as it is.
        keepWorkingCopy(state);
        break;
    case MenuEffect::ReplacesProject:
        if (changed) {
            context.undo.clear();
            keepWorkingCopy(state); // a new project has its copy from the start
        }
        break;
    case MenuEffect::UndoStep:
        if (changed) keepWorkingCopy(state);
        break;
    case MenuEffect::None:
        break;
    }
}

void showResult(MenuContext& context) {
    switch (resultGraphic(context.state)) {
    case ResultGraphic::None:
        break;
    case ResultGraphic::OverallGraphic:
        viewOverallGraphic(context);
        break;
    case ResultGraphic::ProjectDrawing:
        viewProjectDrawing(context.state, context.bench.graphics());
        break;
    }
}

} // namespace zam1
