#include "core/app/menu_table.h"

#include "core/app/command_guard.h"
#include "core/app/menu_rows.h"
#include "core/app/show_result.h"
#include "core/app/view_commands.h"
#include "core/app/workbench.h"
#include "core/files/working_copy.h"
#include "core/graphics/graphics_window.h"

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
    const unsigned long drawings = context.bench.graphics().drawingCount();
    runGuarded(state, [&] { changed = item.run(context); });
    // Another project in place of the one drawn (New, even when its input was
    // cancelled; Open; Undo and Redo), and nothing drawn of it: the old picture goes.
    const bool replaced = item.effect == MenuEffect::ReplacesProject || item.effect == MenuEffect::UndoStep;
    if (changed && replaced && context.bench.graphics().drawingCount() == drawings) {
        context.bench.graphics().clearPicture();
    }
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

namespace {

void showResultGraphic(MenuContext& context) {
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

} // namespace

void showResult(MenuContext& context) {
    GraphicsWindow& graphics = context.bench.graphics();
    const unsigned long drawings = graphics.drawingCount();
    showResultGraphic(context);
    // The project changed: a picture of the one before must not stay on the screen.
    if (graphics.drawingCount() == drawings) graphics.clearPicture();
}

} // namespace zam1
