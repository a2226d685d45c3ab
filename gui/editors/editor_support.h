#pragma once
// What the editor dialogs share besides the dialog kit (dialog_support.h): the
// configured look of a dialog opened over the main window.

#include <QBoxLayout>
#include <QPushButton>
#include <QString>

#include <string>
#include <string_view>

#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "gui/editors/dialog_geometry.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {

// The configured input window scale, centred over the window `parent` belongs to.
inline DialogLook editorLook(const ProgramState& state, QWidget* parent) {
    DialogLook look;
    look.sizePercent = state.config.inputWindowScale;
    look.fontPercent = state.config.inputWindowScale;
    look.centreOver = parent ? parent->window() : nullptr;
    return look;
}

} // namespace zam1
