#include "gui/editors/dialog_geometry.h"

#include <QScreen>

#include <algorithm>

namespace zam1 {

void applyDialogLook(QWidget& dialog, const DialogLook& look, bool centre) {
    // Percentages outside a sensible range (a damaged configuration) are clamped.
    const int fontPercent = std::clamp(look.fontPercent, 50, 300);
    const int sizePercent = std::clamp(look.sizePercent, 50, 300);
    QFont font = dialog.font();
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * fontPercent / 100.0);
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(1, font.pixelSize() * fontPercent / 100));
    }
    dialog.setFont(font);
    dialog.adjustSize();
    const QSize size = dialog.size() * (sizePercent / 100.0);
    dialog.resize(size.expandedTo(dialog.minimumSizeHint()));
    if (centre && look.centreOver) {
        const QRect over = look.centreOver->frameGeometry();
        QPoint place = over.center() - QPoint(dialog.width() / 2, dialog.height() / 2);
        // The main window may sit at the screen's edge: the whole dialog, its
        // buttons too, stays on the screen.
        if (const QScreen* screen = look.centreOver->screen()) {
            const QRect room = screen->availableGeometry();
            place.setX(std::clamp(place.x(), room.left(), std::max(room.left(), room.right() - dialog.width())));
            place.setY(std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - dialog.height() - 40)));
        }
        dialog.move(place);
    }
}

} // namespace zam1
