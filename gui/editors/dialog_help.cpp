#include "gui/editors/dialog_help.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "core/session/program_state.h"
#include "gui/editors/help_window.h"

namespace zam1 {

void installHelp(QWidget& window, int helpNumber, HelpFunction help, QAbstractButton* button) {
    window.setProperty("helpNumber", helpNumber);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    f1->setObjectName(QStringLiteral("Shortcut_help"));
    // Only while this window has the focus: a dialog's F1 never opens the main window's contents.
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    const auto run = [help, helpNumber] {
        if (help) help(helpNumber);
    };
    QObject::connect(f1, &QShortcut::activated, &window, run);
    if (!button) button = window.findChild<QAbstractButton*>(QStringLiteral("Button_help"));
    if (!button) return;
    button->setProperty("helpContext", helpNumber);
    button->setEnabled(static_cast<bool>(help));
    QObject::connect(button, &QAbstractButton::clicked, &window, run);
}

HelpFunction manualHelp(const ProgramState& state) {
    return [&state](int number) { showHelp(nullptr, number, state.config.language); };
}

} // namespace zam1
