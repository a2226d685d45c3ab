#include "gui/editors/dialog_geometry.h"

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
        dialog.move(over.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
}

} // namespace zam1
