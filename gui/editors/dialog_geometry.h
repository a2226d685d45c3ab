#pragma once
// How every dialog of the program is scaled and placed: the configured input
// window scale (percent) enlarges its font and its size, and it is centred over
// the main window.

#include <QPointer>
#include <QWidget>

namespace zam1 {

struct DialogLook {
    int sizePercent = 100;
    int fontPercent = 100;
    QPointer<QWidget> centreOver;  // the main window; none: the dialog stays where it is
};

// Applies the look to a dialog whose layout is complete: font first, since the
// size follows the content, then the size, then the place.
void applyDialogLook(QWidget& dialog, const DialogLook& look, bool centre = true);

} // namespace zam1
