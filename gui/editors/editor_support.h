#pragma once
// What the editor dialogs share: the conversion between the records' stored
// (OEM) code page and the Unicode they show, the configured look of a dialog
// opened over the main window, and their plain push buttons.

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

inline QString displayText(std::string_view oem) { return QString::fromStdString(oemToUtf8(oem)); }
inline std::string storedText(const QString& text) { return utf8ToOem(text.toStdString()); }

// The configured input window scale, centred over the window `parent` belongs to.
inline DialogLook editorLook(const ProgramState& state, QWidget* parent) {
    DialogLook look;
    look.sizePercent = state.config.inputWindowScale;
    look.fontPercent = state.config.inputWindowScale;
    look.centreOver = parent ? parent->window() : nullptr;
    return look;
}


} // namespace zam1
