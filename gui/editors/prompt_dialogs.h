#pragma once
// The prompt dialogs behind the Qt prompter: a choice (radio group up to seven
// lines, a list from eight), a text, a yes/no answer. Each is modal, takes and
// gives display text (Unicode), and returns nothing when the user cancelled.
// Enter is OK, Escape cancels; the two help buttons carry the caller's help number.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "gui/editors/dialog_geometry.h"
#include "gui/editors/dialog_support.h"

class QWidget;

namespace zam1 {

struct PromptContext {
    DialogLook look;
    int helpContext = 0;
    // The help buttons: the help text (false) or the help picture (true) of a help number.
    std::function<void(int helpContext, bool picture)> help;
    ButtonWords words;
};

inline constexpr int kMaxRadioChoices = 7;

// `current` is 1-based; outside 1..n it becomes 1. The answer is 1-based.
std::optional<int> askChoiceDialog(QWidget* parent, const PromptContext& context, const QString& prompt,
                                   const QStringList& lines, int current);
std::optional<QString> askTextDialog(QWidget* parent, const PromptContext& context, const QString& prompt,
                                     int maxLength, const QString& text);
std::optional<bool> askYesNoDialog(QWidget* parent, const PromptContext& context, const QString& prompt, bool value);

} // namespace zam1
